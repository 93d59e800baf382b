#include "windowing/win32/Dialog.h"

#include "base/Exceptions.h"
#include "windowing/win32/DpiFunctions.h"
#include "windowing/win32/ScreenPlacement.h"

#include <exception>

namespace q7n::win32 {

TDialog::~TDialog() {
    Destroy();
}

bool TDialog::Create(LPCWSTR Resource, HWND Parent, HINSTANCE Instance) {
    if (!Instance)
        Instance = GetModuleHandleW(nullptr);
    return CreateDialogParamW(Instance, Resource, Parent, DialogProc, LPARAM(this)) != nullptr;
}

bool TDialog::CreateIndirect(const DLGTEMPLATE* Template, HWND Parent) {
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), Template, Parent, DialogProc,
                                      LPARAM(this)) != nullptr;
}

void TDialog::Destroy() {
    if (FWindow)
        DestroyWindow(FWindow); // WM_NCDESTROY forgets the handle
}

bool TDialog::RunHandler(HWND Window, const std::function<void()>& Handler) {
    try {
        Handler();
        return true;
    } catch (const EAbort&) {
        // the silent abort: the operation simply ends
    } catch (const std::exception& Error) {
        ReportError(Error.what(), Window);
    }
    return false;
}

bool TDialog::OnCommand(int /*Code*/, int Id, HWND /*Control*/) {
    if (Id == IDOK) {
        OnOK();
        return true;
    }
    if (Id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool TDialog::OnNotify(int /*Id*/, NMHDR* /*Header*/) {
    return false;
}

bool TDialog::OnMessage(UINT /*Message*/, WPARAM /*W*/, LPARAM /*L*/, INT_PTR& /*Result*/) {
    return false;
}

void TDialog::SetMessageResult(LRESULT Result) const {
    SetWindowLongPtrW(FWindow, DWLP_MSGRESULT, Result);
}

INT_PTR CALLBACK TDialog::DialogProc(HWND Window, UINT Message, WPARAM W, LPARAM L) {
    auto* Dialog = reinterpret_cast<TDialog*>(GetWindowLongPtrW(Window, DWLP_USER));
    if (Message == WM_INITDIALOG) {
        Dialog = reinterpret_cast<TDialog*>(L);
        Dialog->FWindow = Window;
        SetWindowLongPtrW(Window, DWLP_USER, L);
    }
    if (!Dialog)
        return FALSE; // messages before WM_INITDIALOG (WM_SETFONT and the like)
    INT_PTR Result = Dialog->Dispatch(Message, W, L);
    if (Message == WM_NCDESTROY) {
        SetWindowLongPtrW(Window, DWLP_USER, 0);
        Dialog->FWindow = nullptr;
    }
    return Result;
}

INT_PTR TDialog::Dispatch(UINT Message, WPARAM W, LPARAM L) {
    INT_PTR Result = FALSE;
    RunHandler(FWindow, [&] {
        switch (Message) {
        case WM_INITDIALOG:
            Result = OnInit();
            break;
        case WM_COMMAND:
            Result = OnCommand(HIWORD(W), LOWORD(W), HWND(L));
            break;
        case WM_NOTIFY:
            Result =
                OnNotify(int(reinterpret_cast<NMHDR*>(L)->idFrom), reinterpret_cast<NMHDR*>(L));
            break;
        case WM_CLOSE:
            OnClose();
            Result = TRUE;
            break;
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_DPICHANGED:
            OnDpiChanged(FollowDpiChange(FWindow, W, L, SizedBySystemOnDpiChange()));
            Result = TRUE;
            break;
        default:
            if (!OnMessage(Message, W, L, Result))
                Result = FALSE;
        }
    });
    return Result;
}

namespace {

// A dialog has no icon of its own, so a sizable one would show the system's default in its title
// bar and on the task bar: it shows the program's, the first its owners have.
void TakeOwnersIcon(HWND Dialog) {
    for (HWND Owner = GetWindow(Dialog, GW_OWNER); Owner; Owner = GetWindow(Owner, GW_OWNER)) {
        for (WPARAM Size : {ICON_BIG, ICON_SMALL}) {
            auto Icon = HICON(SendMessageW(Owner, WM_GETICON, Size, 0));
            if (!Icon)
                Icon = HICON(GetClassLongPtrW(Owner, Size == ICON_BIG ? GCLP_HICON : GCLP_HICONSM));
            if (Icon)
                SendMessageW(Dialog, WM_SETICON, Size, LPARAM(Icon));
        }
        if (SendMessageW(Dialog, WM_GETICON, ICON_BIG, 0))
            return;
    }
}

} // namespace

INT_PTR TModalDialog::Execute(LPCWSTR Resource, HWND Parent, HINSTANCE Instance) {
    FEnded = false;
    FResult = IDCANCEL;
    return Create(Resource, Parent, Instance) ? RunModal(Parent) : -1;
}

INT_PTR TModalDialog::ExecuteIndirect(const DLGTEMPLATE* Template, HWND Parent) {
    FEnded = false;
    FResult = IDCANCEL;
    return CreateIndirect(Template, Parent) ? RunModal(Parent) : -1;
}

void TModalDialog::End(INT_PTR Result) {
    FResult = Result;
    FEnded = true;
    // wakes the loop when the end comes from outside a message of this thread's queue
    PostMessageW(FWindow, WM_NULL, 0, 0);
}

bool TModalDialog::OnInit() {
    CentreOnScreen(FWindow);
    TakeOwnersIcon(FWindow);
    return true;
}

INT_PTR TModalDialog::RunModal(HWND Parent) {
    const HWND Owner = Parent ? GetAncestor(Parent, GA_ROOT) : nullptr;
    const bool OwnerWasEnabled = Owner && IsWindowEnabled(Owner);
    if (Owner)
        EnableWindow(Owner, FALSE);
    ShowWindow(FWindow, SW_SHOW);
    bool Quit = false;
    WPARAM QuitCode = 0;
    MSG Msg;
    while (!FEnded && FWindow) {
        const BOOL Got = GetMessageW(&Msg, nullptr, 0, 0);
        if (Got == 0) { // WM_QUIT: end this loop and pass it on to the outer one
            Quit = true;
            QuitCode = Msg.wParam;
            break;
        }
        if (Got == -1)
            break;
        if (Msg.message == WM_KEYDOWN && Msg.wParam == VK_ESCAPE && !EscapeCloses() &&
            (Msg.hwnd == FWindow || IsChild(FWindow, Msg.hwnd)) &&
            !(SendMessageW(Msg.hwnd, WM_GETDLGCODE, Msg.wParam, LPARAM(&Msg)) & DLGC_WANTALLKEYS))
            continue; // a dropped-down list still closes on Escape; the dialog does not
        if (!IsDialogMessageW(FWindow, &Msg)) {
            TranslateMessage(&Msg);
            DispatchMessageW(&Msg);
        }
    }
    // The owner is enabled before the dialog goes, so that the system activates it again.
    if (OwnerWasEnabled)
        EnableWindow(Owner, TRUE);
    Destroy();
    if (Quit)
        PostQuitMessage(int(QuitCode));
    return FResult;
}

} // namespace q7n::win32
