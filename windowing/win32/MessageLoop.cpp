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
    // A quit is not ours to take: it is posted again for the thread's own loop once the time is
    // over.
    bool Quit = false;
    WPARAM QuitCode = 0;
    for (ULONGLONG Now = GetTickCount64(); Now < End; Now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(End - Now), QS_ALLINPUT);
        while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
            if (Msg.message == WM_QUIT) {
                Quit = true;
                QuitCode = Msg.wParam;
                continue;
            }
            TranslateMessage(&Msg);
            DispatchMessageW(&Msg);
        }
    }
    if (Quit)
        PostQuitMessage(int(QuitCode));
}

} // namespace q7n::win32
