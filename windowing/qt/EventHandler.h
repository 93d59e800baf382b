#pragma once

#include <functional>

class QWidget;

namespace q7n::qt {

// Runs an event handler of Window. An error that the handler raises ends it where it arose and is
// shown in the error box over Window, which stays open; EAbort ends it without a message.
// Errors must not leave a handler on their own: Qt cannot carry them through its event loop.
void RunEventHandler(QWidget* Window, const std::function<void()>& Handler);

} // namespace q7n::qt
