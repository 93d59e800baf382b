#pragma once

#include "windowing/ModalWait.h"

class QWidget;

namespace q7n::qt {

// Runs Waiting modally over Over (none: over no window), as windowing/ModalWait.h says.
bool WaitModally(QWidget* Over, const TModalWaiting& Waiting);

} // namespace q7n::qt
