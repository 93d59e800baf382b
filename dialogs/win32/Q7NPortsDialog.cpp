#include "dialogs/win32/Q7NPortsDialog.h"

#include "dialogs/PortDialogLook.h"
#include "dialogs/win32/DialogFont.h"
#include "dialogs/win32/PortDialogIds.h"
#include "dialogs/win32/PortImages.h"
#include "dialogs/win32/Q7NPortDialog.h"
#include "platform/win32/Win32Text.h"
#include "windowing/win32/ConfirmationBox.h"

#include <algorithm>
#include <optional>

namespace q7n::win32 {

namespace {

constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int Margin = 6;
constexpr int TipWidth = 600; // only a tooltip with a maximum width keeps the tip's line breaks

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
    Item(IDC_BTNOK).SetText(OKCaption);
    Item(IDC_BTNCANCEL).SetText(CancelCaption);
    CreateToolbar();
    CreateColumns();
    for (int Id : {IDC_TOOLBAR, IDC_LVPORTS, IDC_BTNCANCEL, IDC_BTNOK})
        SetWindowSubclass(Item(Id), AccessKeyProc, 0, DWORD_PTR(FWindow));
    SetWindowPos(FWindow, nullptr, 0, 0, PortListWidth, PortListHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Arrange();
    RefreshList();
    TModalDialog::OnInit();
    SetFocus(Item(IDC_LVPORTS));
    return false; // the focus is set
}

void TdlgQ7NPorts::CreateToolbar() {
    TWindow Toolbar = Item(IDC_TOOLBAR);
    FToolbarImages = CreateToolbarImages();
    Toolbar.Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    Toolbar.Send(TB_SETIMAGELIST, 0, LPARAM(FToolbarImages.Get()));
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
    FTableFont = CreateDialogFont(PortListTableFontPoints);
    Table.SetFont(FTableFont.Get());
    ListView_SetExtendedListViewStyle(Table,
                                      LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    if (HWND Tips = ListView_GetToolTips(Table))
        SendMessageW(Tips, TTM_SETMAXTIPWIDTH, 0, TipWidth);
    // Without LVS_SHAREIMAGELISTS the list view frees the picture with itself.
    ListView_SetImageList(Table, CreateRowImages().Release(), LVSIL_SMALL);
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

void TdlgQ7NPorts::Arrange() {
    const RECT Client = ClientRect();
    const int Width = Client.right, Height = Client.bottom;
    const DWORD ButtonSize = DWORD(Item(IDC_TOOLBAR).Send(TB_GETBUTTONSIZE));
    const int ToolbarHeight = HIWORD(ButtonSize) + 4;
    const int ButtonTop = Height - Margin - ButtonHeight;
    const int SeparatorTop = ButtonTop - Margin;
    MoveWindow(Item(IDC_TOOLBAR), 0, 0, Width, ToolbarHeight, TRUE);
    MoveWindow(Item(IDC_LVPORTS), 0, ToolbarHeight + 4, Width,
               SeparatorTop - 4 - (ToolbarHeight + 4), TRUE);
    MoveWindow(Item(IDC_SEPARATOR), 0, SeparatorTop, Width, 2, TRUE);
    MoveWindow(Item(IDC_BTNOK), Width - Margin - ButtonWidth, ButtonTop, ButtonWidth, ButtonHeight,
               TRUE);
    MoveWindow(Item(IDC_BTNCANCEL), Width - 2 * (Margin + ButtonWidth), ButtonTop, ButtonWidth,
               ButtonHeight, TRUE);
}

void TdlgQ7NPorts::RefreshList() {
    TWindow Table = Item(IDC_LVPORTS);
    // Dropping all rows clears the selection at once; deselecting row by row costs a
    // notification and a search in the list view's selection for each.
    ListView_DeleteAllItems(Table);
    FSelected.assign(std::size_t(FEditor.Count()), false);
    ListView_SetItemCountEx(Table, FEditor.Count(), 0);
}

void TdlgQ7NPorts::MarksChanged() {
    InvalidateRect(Item(IDC_LVPORTS), nullptr, FALSE);
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
    if (Message == WM_SIZE && Item(IDC_LVPORTS))
        Arrange();
    return false;
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
        return;
    }
    if (!((OldState ^ NewState) & LVIS_SELECTED))
        return;
    To = std::min(To, int(FSelected.size()) - 1);
    for (int Row = From; Row <= To; ++Row)
        FSelected[std::size_t(Row)] = Selected;
}

std::vector<int> TdlgQ7NPorts::SelectedRows() const {
    std::vector<int> Rows;
    for (std::size_t Row = 0; Row < FSelected.size(); ++Row)
        if (FSelected[Row])
            Rows.push_back(int(Row));
    return Rows;
}

} // namespace q7n::win32
