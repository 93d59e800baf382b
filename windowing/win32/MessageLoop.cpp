#include "windowing/win32/MessageLoop.h"

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

void PumpMessagesFor(int Milliseconds) {
    const ULONGLONG End = GetTickCount64() + ULONGLONG(Milliseconds);
    MSG Msg;
    for (ULONGLONG Now = GetTickCount64(); Now < End; Now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(End - Now), QS_ALLINPUT);
        while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&Msg);
            DispatchMessageW(&Msg);
        }
    }
}

} // namespace q7n::win32
