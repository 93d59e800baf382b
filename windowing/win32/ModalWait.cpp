#include "windowing/win32/ModalWait.h"

#include "windowing/win32/MessageLoop.h"

namespace q7n::win32 {

bool WaitModally(HWND Over, const TModalWaiting& Waiting) {
    struct TDisabled {
        HWND Window;
        ~TDisabled() {
            if (Window)
                EnableWindow(Window, TRUE);
        }
    } Disabled{Over && IsWindowEnabled(Over) ? Over : nullptr};
    if (Disabled.Window)
        EnableWindow(Disabled.Window, FALSE);
    return Waiting([](std::chrono::milliseconds Pause) { PumpMessagesFor(int(Pause.count())); });
}

} // namespace q7n::win32
