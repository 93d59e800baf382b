#pragma once

#include "windowing/win32/Window.h"

#include <commctrl.h>
#include <functional>
#include <string_view>

namespace q7n::win32 {

// A dialog over the dialog manager: made from a dialog resource or a template in memory, its
// messages go to the virtual handlers below. An error that a handler raises ends that handler and
// is told through ReportError, the dialog staying open (EAbort ends it silently): C++ errors must
// not cross the system's callbacks.
class TDialog : public TWindow {
public:
    TDialog() = default;
    TDialog(const TDialog&) = delete;
    TDialog& operator=(const TDialog&) = delete;
    virtual ~TDialog();

    // Makes the dialog, hidden unless its template says otherwise; false when the system refuses.
    // Resource names a dialog resource of Instance (nullptr: the program).
    bool Create(LPCWSTR Resource, HWND Parent, HINSTANCE Instance = nullptr);
    bool CreateIndirect(const DLGTEMPLATE* Template, HWND Parent);
    void Destroy();

    // How an error that a handler of Window raised is told: in the error box over Window, which
    // ErrorBox.cpp makes the default, so that this class needs no box of its own.
    static void (*ReportError)(std::string_view Message, HWND Window);
    // Runs a handler of Window as the dialogs run theirs; true when it ran to its end.
    static bool RunHandler(HWND Window, const std::function<void()>& Handler);

protected:
    // WM_INITDIALOG; true lets the dialog manager focus the first control.
    virtual bool OnInit() { return true; }
    // WM_COMMAND; the default sends IDOK to OnOK and IDCANCEL to OnCancel.
    virtual bool OnCommand(int Code, int Id, HWND Control);
    // WM_NOTIFY; a handler that answers sets its answer with SetMessageResult.
    virtual bool OnNotify(int Id, NMHDR* Header);
    virtual void OnOK() {}
    virtual void OnCancel() {}
    // The close button of the title bar.
    virtual void OnClose() { OnCancel(); }
    virtual void OnDestroy() {}
    // WM_DPICHANGED, after the dialog was moved to the place the system suggests (with the size
    // it suggests when SizedBySystemOnDpiChange): lays the dialog out anew at Dpi.
    virtual void OnDpiChanged(int /*Dpi*/) {}
    virtual bool SizedBySystemOnDpiChange() const { return false; }
    // Every other message; Result is what the dialog procedure answers.
    virtual bool OnMessage(UINT Message, WPARAM W, LPARAM L, INT_PTR& Result);

    void SetMessageResult(LRESULT Result) const;

private:
    static INT_PTR CALLBACK DialogProc(HWND Window, UINT Message, WPARAM W, LPARAM L);
    INT_PTR Dispatch(UINT Message, WPARAM W, LPARAM L);
};

// A dialog shown modally: its owner is disabled while it runs its own message loop, in which the
// thread's timers go on ticking. It opens centred on the screen. Escape does nothing unless the
// dialog says otherwise (EscapeCloses); closing from the title bar is Cancel.
class TModalDialog : public TDialog {
public:
    // Runs the dialog until End; answers End's result, or -1 when the dialog could not be made.
    INT_PTR Execute(LPCWSTR Resource, HWND Parent, HINSTANCE Instance = nullptr);
    INT_PTR ExecuteIndirect(const DLGTEMPLATE* Template, HWND Parent);
    // Ends the modal loop with Result once the current handler returns.
    void End(INT_PTR Result);

protected:
    bool OnInit() override;
    void OnOK() override { End(IDOK); }
    void OnCancel() override { End(IDCANCEL); }
    virtual bool EscapeCloses() const { return false; }

private:
    INT_PTR RunModal(HWND Parent);
    bool FEnded = false;
    INT_PTR FResult = IDCANCEL;
};

} // namespace q7n::win32
