// Times the native port list editor with many mappings, as a user would meet it: opening it (the
// copy of the list and the dialog up to its first full paint), deleting every other row (from the
// key that asks to the repainted table, the Yes included) and closing it with OK (up to the return
// of Execute, which copies the list back). Prints the median of a few runs.

#include "dialogs/bench/PortListEditorRuns.h"
#include "dialogs/win32/PortDialogIds.h"
#include "dialogs/win32/Q7NPortsDialog.h"
#include "platform/win32/Win32Text.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>

using namespace q7n;
using namespace q7n::win32;

namespace {

constexpr int Runs = 3;
using TClock = std::chrono::steady_clock;

double MsSince(TClock::time_point Start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

// Runs its steps one by one from posted messages, so that each runs from the message loop that
// is current when its turn comes (the editor's or the question's).
class TSteps {
public:
    TSteps() {
        WNDCLASSW Class{};
        Class.lpfnWndProc = WindowProc;
        Class.hInstance = GetModuleHandleW(nullptr);
        Class.lpszClassName = L"Q7NBenchSteps";
        RegisterClassW(&Class);
        FWindow = CreateWindowW(L"Q7NBenchSteps", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                Class.hInstance, nullptr);
        SetWindowLongPtrW(FWindow, GWLP_USERDATA, LONG_PTR(this));
    }
    ~TSteps() { DestroyWindow(FWindow); }

    void Add(std::function<void()> Step) { FSteps.push_back(std::move(Step)); }
    void Next() { PostMessageW(FWindow, WM_APP, 0, 0); }

private:
    static LRESULT CALLBACK WindowProc(HWND Window, UINT Message, WPARAM W, LPARAM L) {
        auto* Self = reinterpret_cast<TSteps*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
        if (Message == WM_APP && Self && !Self->FSteps.empty()) {
            auto Step = std::move(Self->FSteps.front());
            Self->FSteps.pop_front();
            Step();
            return 0;
        }
        return DefWindowProcW(Window, Message, W, L);
    }
    HWND FWindow;
    std::deque<std::function<void()>> FSteps;
};

struct TSearch {
    std::string Title;
    HWND Found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND Window, LPARAM Data) {
    auto& Search = *reinterpret_cast<TSearch*>(Data);
    if (IsWindowVisible(Window) && TWindow(Window).Text() == Search.Title) {
        Search.Found = Window;
        return FALSE;
    }
    return TRUE;
}

HWND ThreadWindow(const char* Title) {
    TSearch Search{Title};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, LPARAM(&Search));
    return Search.Found;
}

void PaintNow(HWND Window) {
    RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bench::TEditorTimes RunOnce(int Count) {
    auto Ports = bench::MakePorts(Count);
    bench::TEditorTimes Times;
    TSteps Steps;
    HWND Editor = nullptr;
    TClock::time_point Start;
    Steps.Add([&] {
        Editor = ThreadWindow("Q7N ports");
        PaintNow(Editor);
        Times.OpenMs = MsSince(Start);
        HWND Table = GetDlgItem(Editor, IDC_LVPORTS);
        for (int Row = 0; Row < Count; Row += 2)
            ListView_SetItemState(Table, Row, LVIS_SELECTED, LVIS_SELECTED);
        Start = TClock::now();
        PostMessageW(Table, WM_SYSCHAR, L'd', LPARAM(1 | 1 << 29));
        Steps.Next(); // comes in the question's loop
    });
    Steps.Add([&] {
        HWND Box = ThreadWindow("Confirm");
        if (!Box) {
            std::fprintf(stderr, "no question\n");
            return;
        }
        HWND Focus = GetFocus() ? GetFocus() : Box;
        PostMessageW(Focus, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(Focus, WM_KEYUP, VK_RETURN, LPARAM(0xC0000001));
        Steps.Next(); // comes in the editor's loop once the question is gone
    });
    Steps.Add([&] {
        PaintNow(Editor);
        Times.DeleteMs = MsSince(Start);
        int Rows = ListView_GetItemCount(GetDlgItem(Editor, IDC_LVPORTS));
        if (Rows != Count / 2)
            std::fprintf(stderr, "deletion left %d rows\n", Rows);
        Start = TClock::now();
        PostMessageW(GetDlgItem(Editor, IDC_BTNOK), BM_CLICK, 0, 0);
    });
    Steps.Next();
    TdlgQ7NPorts Dialog;
    Start = TClock::now();
    bool Confirmed = Dialog.Execute(Ports.get(), nullptr);
    Times.CloseMs = MsSince(Start);
    if (!Editor) { // no window: a figure would mean nothing
        std::fprintf(stderr, "the editor did not open\n");
        std::exit(1);
    }
    if (!Confirmed || Ports->Count() != Count / 2)
        std::fprintf(stderr, "the editor did not hand back %d mappings\n", Count / 2);
    return Times;
}

} // namespace

int main() {
    bench::PrintEditorTimes("Native port list editor", Runs, RunOnce);
    return 0;
}
