#pragma once

#include "windowing/win32/Dialog.h"

#include <windows.h>

#include <functional>

namespace q7n::win32 {

// Runs an event handler of Window. An error that the handler raises ends it where it arose and is
// shown in the error box over Window (TDialog::ReportError), which stays open; EAbort ends it
// without a message. Errors must not leave a handler on their own: they cannot cross the system's
// callbacks. True when the handler ran to its end.
inline bool RunEventHandler(HWND Window, const std::function<void()>& Handler) {
    return TDialog::RunHandler(Window, Handler);
}

} // namespace q7n::win32
