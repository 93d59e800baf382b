#include "dialogs/win32/Q7NPortsDialog.h"

#include "dialogs/PortDialogLook.h"
#include "dialogs/win32/DialogFont.h"
#include "dialogs/win32/PortDialogIds.h"
#include "dialogs/win32/PortImages.h"
#include "dialogs/win32/Q7NPortDialog.h"
#include "platform/win32/Win32Text.h"
#include "windowing/DpiScale.h"
#include "windowing/win32/ConfirmationBox.h"
#include "windowing/win32/DpiFunctions.h"

#include <algorithm>
#include <optional>

namespace q7n::win32 {

namespace {

// Sizes in pixels at 96 dpi.
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int Margin = 6;
constexpr int Gap = 4;            // around the toolbar and the line under the table
constexpr int HeaderPadding = 12; // what a column header leaves of its width around its text
constexpr int TipWidth = 600;     // only a tooltip with a maximum width keeps the tip's line breaks

// The command of each toolbar button, in the order of TPortListCommand.
constexpr int CommandIds[plcCount] = {IDC_ACTADD, IDC_ACTEDIT, IDC_ACTDELETE};

// The toolbar's buttons take no keyboard focus, so the access keys of its actions (Alt and the
// marked letter) are caught in the controls that do and sent to the dialog as the actions.
LRESULT CALLBACK AccessKeyProc(HWND Control, UINT Message, WPARAM W, LPARAM L, UINT_PTR,
                               DWORD_PTR Dialog) {
    if (Message == WM_SYSCHAR && (L & (1 << 29)) && W < 0x80) {
        if (std::optional<TPortListCommand> Command = PortListCommandOfKey(char(W))) {
            SendMessageW(HWND(Dialog), WM_COMMAND, MAKEWPARAM(CommandIds[*Command], 0), 0);
            return 0;
        }
    }
    return DefSubclassProc(Control, Message, W, L);
}

} // namespace

TdlgQ7NPorts::TdlgQ7NPorts() = default;

TdlgQ7NPorts::~TdlgQ7NPorts() {
    Destroy(); // the controls go before the pictures and the font they use
}

bool TdlgQ7NPorts::Execute(TQ7NPorts* Ports, HWND Parent) {
    INITCOMMONCONTROLSEX Classes{sizeof Classes, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&Classes);
    return FEditor.Execute(Ports, [this, Parent] {
        return TModalDialog::Execute(MAKEINTRESOURCEW(IDD_Q7NPORTS), Parent) == IDOK;
    });
}

bool TdlgQ7NPorts::OnInit() {
    SetText(PortListCaption);
    KeepDialogLayoutOnDpiChange(FWindow);
    Item(IDC_BTNOK).SetText(OKCaption);
    Item(IDC_BTNCANCEL).SetText(CancelCaption);
    FDpi = WindowDpi(FWindow);
    CreateToolbar();
    CreateColumns();
    for (int Id : {IDC_TOOLBAR, IDC_LVPORTS, IDC_BTNCANCEL, IDC_BTNOK})
        SetWindowSubclass(Item(Id), AccessKeyProc, 0, DWORD_PTR(FWindow));
    SetWindowPos(FWindow, nullptr, 0, 0, ScaledByDpi(PortListWidth, FDpi),
                 ScaledByDpi(PortListHeight, FDpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ScaleForDpi();
    RefreshList();
    TModalDialog::OnInit();
    SetFocus(Item(IDC_LVPORTS));
    return false; // the focus is set
}

void TdlgQ7NPorts::CreateToolbar() {
    TWindow Toolbar = Item(IDC_TOOLBAR);
    Toolbar.Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    std::vector<std::wstring> Captions;
    std::vector<TBBUTTON> Buttons;
    for (int Command = 0; Command < plcCount; ++Command) {
        const TPortListCommandLook& Look = PortListCommandLook(TPortListCommand(Command));
        if (Look.SeparatorBefore)
            Buttons.push_back({0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, 0, 0});
        Captions.push_back(platform::Utf8ToWide(Look.Caption));
        Buttons.push_back({Command, CommandIds[Command], TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0});
    }
    for (std::size_t I = 0, Caption = 0; I < Buttons.size(); ++I) // the texts no longer move
        if (Buttons[I].idCommand)
            Buttons[I].iString = INT_PTR(Captions[Caption++].c_str());
    Toolbar.Send(TB_ADDBUTTONSW, Buttons.size(), LPARAM(Buttons.data()));
}

void TdlgQ7NPorts::CreateColumns() {
    TWindow Table = Item(IDC_LVPORTS);
    ListView_SetExtendedListViewStyle(Table,
                                      LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    for (int Column = 0; Column < pcCount; ++Column) {
        const TPortColumnLook& Look = PortColumnLook(TPortColumn(Column));
        std::wstring Caption = platform::Utf8ToWide(Look.Caption);
        LVCOLUMNW Info{};
        Info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        Info.fmt = Look.Centred ? LVCFMT_CENTER : LVCFMT_LEFT;
        Info.cx = Look.Width;
        Info.pszText = Caption.data();
        Info.iSubItem = Column;
        ListView_InsertColumn(Table, Column, &Info);
    }
}

void TdlgQ7NPorts::ScaleForDpi() {
    // The old fonts and pictures are in use until the controls have the new ones.
    TFontHandle OldFont = std::move(FFont), OldTableFont = std::move(FTableFont);
    TImageListHandle OldToolbarImages = std::move(FToolbarImages);
    FFont = CreateDialogFont(PortListFontPoints, FDpi);
    SetFont(FFont.Get());
    SetControlsFont(FWindow, FFont.Get());

    TWindow Toolbar = Item(IDC_TOOLBAR);
    FToolbarImages = CreateToolbarImages(FDpi);
    const int ImageSize = ScaledByDpi(ToolbarIconSize, FDpi);
    Toolbar.Send(TB_SETBITMAPSIZE, 0, MAKELPARAM(ImageSize, ImageSize));
    Toolbar.Send(TB_SETIMAGELIST, 0, LPARAM(FToolbarImages.Get()));
    Toolbar.Send(TB_AUTOSIZE);

    TWindow Table = Item(IDC_LVPORTS);
    FTableFont = CreateDialogFont(PortListTableFontPoints, FDpi);
    Table.SetFont(FTableFont.Get());
    TWindow(ListView_GetHeader(Table))
        .SetFont(FTableFont.Get()); // not every list view passes it on
    if (HWND Tips = ListView_GetToolTips(Table))
        SendMessageW(Tips, TTM_SETMAXTIPWIDTH, 0, ScaledByDpi(TipWidth, FDpi));
    // Without LVS_SHAREIMAGELISTS the list view frees the picture it had and, at the end, this one.
    if (HIMAGELIST Old = ListView_SetImageList(Table, CreateRowImages(FDpi).Release(), LVSIL_SMALL))
        ImageList_Destroy(Old);
    // Each column as wide as its share at this DPI, and never narrower than its header's text.
    const TWindowDC Context(GetDC(Table), {Table});
    HGDIOBJ Before = SelectObject(Context.Get(), FTableFont.Get());
    for (int Column = 0; Column < pcCount; ++Column) {
        const std::wstring Caption =
            platform::Utf8ToWide(PortColumnLook(TPortColumn(Column)).Caption);
        SIZE Text{};
        GetTextExtentPoint32W(Context.Get(), Caption.c_str(), int(Caption.size()), &Text);
        ListView_SetColumnWidth(
            Table, Column,
            std::max(ScaledByDpi(PortColumnLook(TPortColumn(Column)).Width, FDpi),
                     int(Text.cx) + ScaledByDpi(HeaderPadding, FDpi)));
    }
    SelectObject(Context.Get(), Before);
    Arrange();
}

void TdlgQ7NPorts::Arrange() {
    const RECT Client = ClientRect();
    const int Width = Client.right, Height = Client.bottom;
    auto Scaled = [this](int Pixels) {
        return ScaledByDpi(Pixels, FDpi);
    };
    const DWORD ButtonSize = DWORD(Item(IDC_TOOLBAR).Send(TB_GETBUTTONSIZE));
    const int ToolbarHeight = HIWORD(ButtonSize) + Scaled(Gap);
    const int ButtonTop = Height - Scaled(Margin) - Scaled(ButtonHeight);
    const int SeparatorTop = ButtonTop - Scaled(Margin);
    // The line under the table: one line of its font.
    TEXTMETRICW Metrics{};
    {
        const TWindowDC Context(GetDC(FWindow), {FWindow});
        HGDIOBJ Before = SelectObject(Context.Get(), FFont.Get());
        GetTextMetricsW(Context.Get(), &Metrics);
        SelectObject(Context.Get(), Before);
    }
    const int FindingsHeight = int(Metrics.tmHeight);
    const int FindingsTop = SeparatorTop - Scaled(Gap) - FindingsHeight;
    const int TableTop = ToolbarHeight + Scaled(Gap);
    // Moved without drawing, then drawn at once: moved one by one with their own redraw, the
    // buttons of a maximised window were left blank.
    MoveWindow(Item(IDC_TOOLBAR), 0, 0, Width, ToolbarHeight, FALSE);
    MoveWindow(Item(IDC_LVPORTS), 0, TableTop, Width, FindingsTop - Scaled(Gap) - TableTop, FALSE);
    MoveWindow(Item(IDC_FINDINGS), Scaled(Margin), FindingsTop, Width - 2 * Scaled(Margin),
               FindingsHeight, FALSE);
    MoveWindow(Item(IDC_SEPARATOR), 0, SeparatorTop, Width, Scaled(2), FALSE);
    MoveWindow(Item(IDC_BTNOK), Width - Scaled(Margin) - Scaled(ButtonWidth), ButtonTop,
               Scaled(ButtonWidth), Scaled(ButtonHeight), FALSE);
    MoveWindow(Item(IDC_BTNCANCEL), Width - 2 * (Scaled(Margin) + Scaled(ButtonWidth)), ButtonTop,
               Scaled(ButtonWidth), Scaled(ButtonHeight), FALSE);
    RedrawWindow(FWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TdlgQ7NPorts::ShowFindings() {
    Item(IDC_FINDINGS).SetText(FEditor.FindingsLine(SelectedRows()));
}

void TdlgQ7NPorts::RefreshList() {
    TWindow Table = Item(IDC_LVPORTS);
    // Dropping all rows clears the selection at once; deselecting row by row costs a
    // notification and a search in the list view's selection for each.
    ListView_DeleteAllItems(Table);
    FSelected.assign(std::size_t(FEditor.Count()), false);
    ListView_SetItemCountEx(Table, FEditor.Count(), 0);
    ShowFindings();
}

void TdlgQ7NPorts::MarksChanged() {
    InvalidateRect(Item(IDC_LVPORTS), nullptr, FALSE);
    ShowFindings();
}

int TdlgQ7NPorts::UpdateItem(int Index, const TQ7NPort& Port) {
    const bool Appended = Index < 0;
    Index = FEditor.UpdateItem(Index, Port);
    if (Appended) {
        TWindow Table = Item(IDC_LVPORTS);
        FSelected.push_back(false);
        ListView_SetItemCountEx(Table, FEditor.Count(), LVSICF_NOSCROLL);
        if (AddedRowScrolledIntoView)
            ListView_EnsureVisible(Table, Index, FALSE);
    }
    MarksChanged();
    return Index;
}

bool TdlgQ7NPorts::OnCommand(int Code, int Id, HWND Control) {
    switch (Id) {
    case IDC_ACTADD:
        actAddExecute();
        return true;
    case IDC_ACTEDIT:
        actEditExecute();
        return true;
    case IDC_ACTDELETE:
        actDeleteExecute();
        return true;
    case IDC_BTNOK:
        End(IDOK);
        return true;
    case IDC_BTNCANCEL:
        End(IDCANCEL);
        return true;
    default:
        return TModalDialog::OnCommand(Code, Id, Control);
    }
}

bool TdlgQ7NPorts::OnNotify(int Id, NMHDR* Header) {
    if (Id != IDC_LVPORTS)
        return false;
    switch (Header->code) {
    case LVN_GETDISPINFOW:
        lvPortsGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(Header));
        return true;
    case NM_DBLCLK:
        lvPortsDblClick();
        return true;
    case LVN_GETINFOTIPW:
        lvPortsGetInfoTip(*reinterpret_cast<NMLVGETINFOTIPW*>(Header));
        return true;
    case LVN_ITEMCHANGED: {
        const auto& Change = *reinterpret_cast<NMLISTVIEW*>(Header);
        if (Change.uChanged & LVIF_STATE)
            SelectionChanged(Change.iItem, Change.iItem, Change.uOldState, Change.uNewState);
        return false;
    }
    case LVN_ODSTATECHANGED: {
        const auto& Change = *reinterpret_cast<NMLVODSTATECHANGE*>(Header);
        SelectionChanged(Change.iFrom, Change.iTo, Change.uOldState, Change.uNewState);
        return false;
    }
    case LVN_DELETEALLITEMS:
        SetMessageResult(TRUE); // no notification per row
        return true;
    default:
        return false;
    }
}

bool TdlgQ7NPorts::OnMessage(UINT Message, WPARAM, LPARAM, INT_PTR&) {
    if (Message == WM_SIZE && Item(IDC_LVPORTS) && FFont)
        Arrange();
    return false;
}

void TdlgQ7NPorts::OnDpiChanged(int Dpi) {
    FDpi = Dpi;
    ScaleForDpi();
}

void TdlgQ7NPorts::lvPortsGetDispInfo(NMLVDISPINFOW& Info) {
    LVITEMW& Row = Info.item;
    if (Row.iItem < 0 || Row.iItem >= FEditor.Count())
        return;
    if (Row.mask & LVIF_TEXT && Row.pszText && Row.cchTextMax > 0) {
        FCellText =
            platform::Utf8ToWideReplacing(FEditor.CellText(Row.iItem, TPortColumn(Row.iSubItem)));
        lstrcpynW(Row.pszText, FCellText.c_str(), Row.cchTextMax);
    }
    if (Row.mask & LVIF_IMAGE)
        Row.iImage = FEditor.Marked(Row.iItem) ? 1 : 0;
}

void TdlgQ7NPorts::lvPortsGetInfoTip(NMLVGETINFOTIPW& Tip) {
    // A row without a mark keeps what the list view offers: the text of a cut-off cell.
    if (!FEditor.Marked(Tip.iItem) || !Tip.pszText || Tip.cchTextMax <= 0)
        return;
    std::wstring Text = platform::Utf8ToWideReplacing(FEditor.Tip(Tip.iItem));
    lstrcpynW(Tip.pszText, Text.c_str(), Tip.cchTextMax);
}

void TdlgQ7NPorts::actAddExecute() {
    TdlgQ7NPort Dialog;
    if (Dialog.Execute(nullptr, FWindow))
        UpdateItem(-1, Dialog.Port());
}

void TdlgQ7NPorts::actEditExecute() {
    std::optional<int> Row = FEditor.Edit(
        SelectedRows(), [this](TQ7NPort& Port) { return TdlgQ7NPort().Execute(&Port, FWindow); });
    if (Row)
        MarksChanged(); // the row and the marks it changed
}

void TdlgQ7NPorts::lvPortsDblClick() {
    actEditExecute();
}

void TdlgQ7NPorts::actDeleteExecute() {
    const std::vector<int> Rows =
        FEditor.ConfirmDelete(SelectedRows(), [this](const std::string& Question) {
            return ShowConfirmationBox(Question, FWindow) == TConfirmAnswer::caYes;
        });
    if (Rows.empty())
        return;
    FEditor.DeleteRows(Rows);
    RefreshList();
}

void TdlgQ7NPorts::SelectionChanged(int From, int To, UINT OldState, UINT NewState) {
    const bool Selected = NewState & LVIS_SELECTED;
    if (From < 0) { // every row; the old state does not tell which rows were selected
        std::fill(FSelected.begin(), FSelected.end(), Selected);
        ShowFindings();
        return;
    }
    if (!((OldState ^ NewState) & LVIS_SELECTED))
        return;
    To = std::min(To, int(FSelected.size()) - 1);
    for (int Row = From; Row <= To; ++Row)
        FSelected[std::size_t(Row)] = Selected;
    ShowFindings();
}

std::vector<int> TdlgQ7NPorts::SelectedRows() const {
    std::vector<int> Rows;
    for (std::size_t Row = 0; Row < FSelected.size(); ++Row)
        if (FSelected[Row])
            Rows.push_back(int(Row));
    return Rows;
}

} // namespace q7n::win32
