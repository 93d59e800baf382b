#include "MessageLoop.h"

namespace q7n::win32 {

int RunMessageLoop(HWND Window) {
    MSG Msg;
    while (IsWindow(Window)) {
        const BOOL Got = GetMessageW(&Msg, nullptr, 0, 0);
        if (Got == 0)
            return int(Msg.wParam);
        if (Got == -1)
            break;
        if (!IsWindow(Window) || !IsDialogMessageW(Window, &Msg)) {
            TranslateMessage(&Msg);
            DispatchMessageW(&Msg);
        }
    }
    return 0;
}

} // namespace q7n::win32
