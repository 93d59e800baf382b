#include "base/testsupport/TemporaryFolder.h"
#include "dialogs/win32/PortDialogIds.h"
#include "dialogs/win32/PortsEditWindows.h"
#include "dialogs/win32/Q7NPortDialog.h"
#include "dialogs/win32/Q7NPortsDialog.h"
#include "platform/testsupport/TestRegistry.h"
#include "platform/win32/Win32Text.h"
#include "ports/Q7NDocument.h"
#include "ports/testsupport/PortsFileByHand.h"
#include "service/PortsEditFlow.h"
#include "settings/ServiceOptions.h"
#include "windowing/ApplicationIdentity.h"
#include "windowing/win32/testsupport/WindowScript.h"

#include <gtest/gtest.h>
#include <vector>

namespace q7n::win32 {
namespace {

using test::PressKey;
using test::TWindowScript;

const std::string Title(ApplicationTitle);

std::string ItemText(HWND Dialog, int Id) {
    return TWindow(Dialog).Item(Id).Text();
}

void SetItemText(HWND Dialog, int Id, const std::string& Text) {
    TWindow(Dialog).Item(Id).SetText(Text);
}

void Click(HWND Dialog, int Id) {
    PostMessageW(GetDlgItem(Dialog, Id), BM_CLICK, 0, 0);
}

// The text of a message box: its first child with text.
std::string BoxText(HWND Box) {
    for (HWND Child = GetWindow(Box, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT))
        if (!TWindow(Child).Text().empty())
            return TWindow(Child).Text();
    return "";
}

HWND Table(HWND Editor) {
    return GetDlgItem(Editor, IDC_LVPORTS);
}

// Alt and Letter, as the keyboard sends it to the control with the focus.
void AccessKey(HWND Editor, wchar_t Letter) {
    PostMessageW(Table(Editor), WM_SYSCHAR, Letter, LPARAM(1 | 1 << 29));
}

void Select(HWND Editor, std::initializer_list<int> Rows) {
    ListView_SetItemState(Table(Editor), -1, 0, LVIS_SELECTED);
    for (int Row : Rows)
        ListView_SetItemState(Table(Editor), Row, LVIS_SELECTED, LVIS_SELECTED);
}

std::vector<std::string> Column(HWND Editor, TPortColumn Which) {
    std::vector<std::string> Texts;
    wchar_t Buffer[64];
    for (int Row = 0; Row < ListView_GetItemCount(Table(Editor)); ++Row) {
        ListView_GetItemText(Table(Editor), Row, Which, Buffer, 64);
        Texts.push_back(platform::WideToUtf8(Buffer));
    }
    return Texts;
}

// The picture the list view draws for Row: an index into its small image list.
int RowImage(HWND Editor, int Row) {
    LVITEMW Item{};
    Item.mask = LVIF_IMAGE;
    Item.iItem = Row;
    ListView_GetItem(Table(Editor), &Item);
    return Item.iImage;
}

// The tip of Row, asked of the dialog as the list view asks when the mouse rests on the row.
std::string RowTip(HWND Editor, int Row) {
    wchar_t Text[INFOTIPSIZE] = L"";
    NMLVGETINFOTIPW Tip{};
    Tip.hdr = {Table(Editor), UINT_PTR(IDC_LVPORTS), UINT(LVN_GETINFOTIPW)};
    Tip.pszText = Text;
    Tip.cchTextMax = INFOTIPSIZE;
    Tip.iItem = Row;
    SendMessageW(Editor, WM_NOTIFY, IDC_LVPORTS, LPARAM(&Tip));
    return platform::WideToUtf8(Text);
}

// Width x height of Window's client area, or of the whole window.
std::string SizeOf(HWND Window, bool Client) {
    RECT Box{};
    Client ? GetClientRect(Window, &Box) : GetWindowRect(Window, &Box);
    return std::to_string(Box.right - Box.left) + "x" + std::to_string(Box.bottom - Box.top);
}

TEST(PortEditorWin32, OpensOnTheDefaultsAndNeitherEnterNorEscapeCloseIt) {
    TWindowScript Script;
    Script
        .Then(
            "Q7N port",
            [](HWND Dialog) {
                std::vector<std::string> Shown{SizeOf(Dialog, true)};
                for (int Id : {IDC_EDTIP, IDC_EDTRPORT, IDC_EDTLPORT, IDC_CBBCOMPORT, IDC_CBBRATE})
                    Shown.push_back(ItemText(Dialog, Id));
                EXPECT_EQ(Shown, (std::vector<std::string>{"456x145", "192.168.1.6", "8080", "8080",
                                                           "COM1", "br9600"}));
                PressKey(Dialog, VK_RETURN); // in the IP field, which has the focus
            })
        .Then("Q7N port", [](HWND Dialog) { PressKey(Dialog, VK_ESCAPE); })
        .Then("Q7N port", [](HWND Dialog) { Click(Dialog, IDC_BTNCANCEL); })
        .Start();
    EXPECT_FALSE(TdlgQ7NPort().Execute(nullptr, nullptr));
    EXPECT_TRUE(Script.Finished());
}

TEST(PortEditorWin32, ShowsBothErrorsInTheErrorBoxAndCancelPassesNothingOn) {
    auto Port = TXMLClass::Create<TQ7NPort>(nullptr);
    Port->SetRemoutePort(1);
    Port->SetCOMPort(256);
    Port->SetCpRate(250000); // not offered: no rate selected
    std::vector<std::string> Errors;
    auto ReadError = [&](HWND Box) {
        Errors.push_back(BoxText(Box));
        PressKey(Box, VK_RETURN);
    };
    TWindowScript Script;
    Script
        .Then("Q7N port",
              [&](HWND Dialog) {
                  EXPECT_EQ(ItemText(Dialog, IDC_EDTRPORT), "1");
                  EXPECT_EQ(ItemText(Dialog, IDC_CBBCOMPORT), "COM256");
                  EXPECT_EQ(SendDlgItemMessageW(Dialog, IDC_CBBCOMPORT, CB_GETCOUNT, 0, 0), 256);
                  EXPECT_EQ(SendDlgItemMessageW(Dialog, IDC_CBBRATE, CB_GETCOUNT, 0, 0), 13);
                  EXPECT_EQ(SendDlgItemMessageW(Dialog, IDC_CBBRATE, CB_GETCURSEL, 0, 0), -1);
                  std::vector<int> TabOrder{GetDlgCtrlID(GetFocus())};
                  for (int I = 0; I < 6; ++I)
                      TabOrder.push_back(GetDlgCtrlID(
                          GetNextDlgTabItem(Dialog, GetDlgItem(Dialog, TabOrder.back()), FALSE)));
                  EXPECT_EQ(TabOrder,
                            (std::vector<int>{IDC_EDTIP, IDC_EDTRPORT, IDC_EDTLPORT, IDC_BTNOK,
                                              IDC_BTNCANCEL, IDC_CBBCOMPORT, IDC_CBBRATE}));
                  SetItemText(Dialog, IDC_EDTIP, "");
                  SetItemText(Dialog, IDC_EDTRPORT, "abc");
                  Click(Dialog, IDC_BTNOK);
              })
        .Then(Title, ReadError)
        .Then("Q7N port",
              [&](HWND Dialog) {
                  SetItemText(Dialog, IDC_EDTRPORT, " $1F90");
                  Click(Dialog, IDC_BTNOK);
              })
        .Then(Title, ReadError)
        .Then("Q7N port", [&](HWND Dialog) { Click(Dialog, IDC_BTNCANCEL); })
        .Start();
    TdlgQ7NPort Dialog;
    EXPECT_FALSE(Dialog.Execute(Port.get(), nullptr));
    EXPECT_TRUE(Script.Finished());
    EXPECT_EQ(Errors, (std::vector<std::string>{"'abc' is not a valid integer value.",
                                                "List index out of bounds (-1)"}));
    EXPECT_EQ(Port->IP(), "192.168.1.6");
    EXPECT_EQ(Port->RemoutePort(), 1);

    // Choosing a rate lets the same values through.
    Script
        .Then("Q7N port",
              [&](HWND Dialog) {
                  SetItemText(Dialog, IDC_EDTRPORT, " $1F90");
                  SendDlgItemMessageW(Dialog, IDC_CBBRATE, CB_SETCURSEL, 12, 0);
                  Click(Dialog, IDC_BTNOK);
              })
        .Start();
    EXPECT_TRUE(Dialog.Execute(Port.get(), nullptr));
    EXPECT_EQ(Port->RemoutePort(), 8080);
    EXPECT_EQ(Port->CpRate(), 115200);
    EXPECT_EQ(Port->COMPort(), 256);
}

TEST(PortListEditorWin32, AddsEditsAndDeletesOnACopy) {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    for (int LocalPort : {10, 11, 12, 13, 14})
        Ports->Add()->SetLocalPort(LocalPort);
    TWindowScript Script;

    // Changes and then Cancel leave the caller's list as it was; the edit flow's windows open the
    // same editor.
    Script
        .Then("Q7N ports",
              [&](HWND Editor) {
                  Select(Editor, {0, 1});
                  AccessKey(Editor, L'd');
              })
        .Then("Confirm", [](HWND Box) { PressKey(Box, VK_RETURN); })
        .Then("Q7N ports",
              [&](HWND Editor) {
                  EXPECT_EQ(Column(Editor, pcLocalPort),
                            (std::vector<std::string>{"12", "13", "14"}));
                  Click(Editor, IDC_BTNCANCEL);
              })
        .Start();
    EXPECT_FALSE(TPortsEditWindows().ExecutePortList(*Ports, nullptr));
    EXPECT_TRUE(Script.Finished());
    ASSERT_EQ(Ports->Count(), 5);
    EXPECT_EQ(Ports->Items(0)->LocalPort(), 10);

    Script.Then("Q7N ports", [](HWND Editor) { AccessKey(Editor, L'A'); })
        .Then("Q7N port",
              [](HWND Dialog) {
                  SetItemText(Dialog, IDC_EDTIP, "10.0.0.9");
                  SetItemText(Dialog, IDC_EDTLPORT, "15");
                  Click(Dialog, IDC_BTNOK);
              })
        .Then("Q7N ports",
              [&](HWND Editor) {
                  EXPECT_EQ(Column(Editor, pcIP).back(), "10.0.0.9");
                  EXPECT_EQ(Column(Editor, pcCOMPort).back(), "COM1");
                  Select(Editor, {1});
                  RECT Row{LVIR_BOUNDS, 0, 0, 0};
                  SendMessageW(Table(Editor), LVM_GETITEMRECT, 1, LPARAM(&Row));
                  PostMessageW(Table(Editor), WM_LBUTTONDBLCLK, MK_LBUTTON,
                               MAKELPARAM(Row.left + 20, (Row.top + Row.bottom) / 2));
              })
        .Then("Q7N port",
              [](HWND Dialog) {
                  EXPECT_EQ(ItemText(Dialog, IDC_EDTLPORT), "11");
                  SetItemText(Dialog, IDC_EDTLPORT, "111");
                  Click(Dialog, IDC_BTNOK);
              })
        .Then("Q7N ports",
              [&](HWND Editor) {
                  Select(Editor, {0, 2, 4});
                  AccessKey(Editor, L'd');
              })
        .Then("Confirm", [](HWND Box) { PressKey(Box, VK_ESCAPE); })
        .Then("Q7N ports",
              [&](HWND Editor) {
                  EXPECT_EQ(Column(Editor, pcLocalPort).size(), 6u);
                  AccessKey(Editor, L'd');
              })
        .Then("Confirm", [](HWND Box) { PressKey(Box, VK_RETURN); })
        .Then("Q7N ports",
              [&](HWND Editor) {
                  EXPECT_EQ(Column(Editor, pcLocalPort),
                            (std::vector<std::string>{"111", "13", "15"}));
                  AccessKey(Editor, L'd'); // the deleted rows' selection went with them
              })
        .Then("Confirm", [](HWND Box) { PressKey(Box, VK_RETURN); })
        .Then("Q7N ports",
              [&](HWND Editor) {
                  EXPECT_EQ(Column(Editor, pcLocalPort).size(), 3u);
                  Click(Editor, IDC_BTNOK);
              })
        .Start();
    EXPECT_TRUE(TdlgQ7NPorts().Execute(Ports.get(), nullptr));
    EXPECT_TRUE(Script.Finished());
    ASSERT_EQ(Ports->Count(), 3);
    EXPECT_EQ(Ports->Items(0)->LocalPort(), 111);
    EXPECT_EQ(Ports->Items(2)->IP(), "10.0.0.9");
}

TEST(PortListEditorWin32, ShowsItsLayoutAndIgnoresEscapeAndEditOnTwoRows) {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr);
    Ports->Add();
    Ports->Add();
    TWindowScript Script;
    Script
        .Then("Q7N ports",
              [](HWND Editor) {
                  std::vector<std::string> Look{SizeOf(Editor, false)}; // then columns, toolbar
                  for (int Column = 0; Column < pcCount; ++Column) {
                      wchar_t Text[32] = L"";
                      LVCOLUMNW Info{};
                      Info.mask = LVCF_TEXT | LVCF_WIDTH, Info.pszText = Text, Info.cchTextMax = 32;
                      ListView_GetColumn(Table(Editor), Column, &Info);
                      Look.push_back(platform::WideToUtf8(Text) + " " + std::to_string(Info.cx));
                  }
                  HWND Toolbar = GetDlgItem(Editor, IDC_TOOLBAR);
                  for (int I = 0; I < int(SendMessageW(Toolbar, TB_BUTTONCOUNT, 0, 0)); ++I) {
                      TBBUTTON Button{};
                      wchar_t Text[32] = L"|";
                      SendMessageW(Toolbar, TB_GETBUTTON, I, LPARAM(&Button));
                      SendMessageW(Toolbar, TB_GETBUTTONTEXTW, Button.idCommand, LPARAM(Text));
                      Look.push_back(platform::WideToUtf8(Text) + std::to_string(Button.iBitmap));
                  }
                  EXPECT_EQ(Look, (std::vector<std::string>{"758x462", "IP 140", "Remoute port 100",
                                                            "Local port 100", "COM port 80",
                                                            "COM rate 80", "&Add0", "&Edit1", "|0",
                                                            "&Delete2"}));
                  PressKey(Editor, VK_ESCAPE);
              })
        .Then("Q7N ports",
              [](HWND Editor) {
                  Select(Editor, {0, 1});
                  AccessKey(Editor, L'e');
              })
        .Then("Q7N ports",
              [](HWND) {
                  HWND Opened = test::FindThreadWindow("Q7N port");
                  EXPECT_EQ(Opened, nullptr);
                  if (Opened) // so that the editor's modal loop ends
                      PostMessageW(Opened, WM_CLOSE, 0, 0);
              })
        .Then("Q7N ports", [](HWND Editor) { Click(Editor, IDC_BTNCANCEL); })
        .Start();
    EXPECT_FALSE(TdlgQ7NPorts().Execute(Ports.get(), nullptr));
    EXPECT_TRUE(Script.Finished());
}

TEST(PortListEditorWin32, MarksTheRowsThatTheCheckFlags) {
    auto Ports = TXMLClass::Create<TQ7NPorts>(nullptr); // one mapping, on local port 8080
    Ports->Add();
    TWindowScript Script;
    Script
        .Then("Q7N ports",
              [](HWND Editor) {
                  EXPECT_TRUE(ListView_GetExtendedListViewStyle(Table(Editor)) & LVS_EX_INFOTIP);
                  EXPECT_EQ(
                      ImageList_GetImageCount(ListView_GetImageList(Table(Editor), LVSIL_SMALL)),
                      2);
                  EXPECT_EQ(RowImage(Editor, 0), 0);
                  EXPECT_EQ(RowTip(Editor, 0), "");
                  AccessKey(Editor, L'a');
              })
        .Then("Q7N port", [](HWND Dialog) { Click(Dialog, IDC_BTNOK); }) // the same defaults
        .Then("Q7N ports",
              [](HWND Editor) {
                  EXPECT_EQ(RowImage(Editor, 0), 1); // the row that was there is marked too
                  EXPECT_EQ(RowImage(Editor, 1), 1);
                  EXPECT_EQ(RowTip(Editor, 1), "Row 2:\n"
                                               "local port 8080 is also used by row 1\n"
                                               "COM1 is also used by row 1");
                  Click(Editor, IDC_BTNOK);
              })
        .Start();
    EXPECT_TRUE(TdlgQ7NPorts().Execute(Ports.get(), nullptr));
    EXPECT_TRUE(Script.Finished());
    EXPECT_EQ(Ports->Count(), 2); // stored all the same
}

} // namespace
} // namespace q7n::win32

namespace q7n::win32 {
namespace {

TEST(PortsEditWin32, AWarningEndsLinesInAPathOnlyAfterASeparator) {
    // Quoted text without a separator, and a quote left open, are no paths.
    const std::string Text = "The ports \"file-name\" \"C:\\Program Files\\Q7N Service "
                             "Configuration\\Ports And Mappings Of This Machine\\Q7NPorts.xml\" "
                             "could not be read: it is kept as it is \"here.";
    std::string Shown;
    TWindowScript Script;
    Script.Then(Title, [&](HWND Box) { Shown = BoxText(Box), PressKey(Box, VK_RETURN); }).Start();
    TPortsEditWindows().Warn(Text);
    EXPECT_TRUE(Script.Finished());
    EXPECT_NE(Shown.find("\\\n"), std::string::npos) << Shown;
    std::string Rejoined; // a line that ends after a separator goes on without a blank
    for (char C : Shown)
        Rejoined += C != '\n' ? std::string(1, C) : Rejoined.back() == '\\' ? "" : " ";
    EXPECT_EQ(Rejoined, Text);
}

TEST(PortsEditWin32, AChangeSavedMeanwhileIsOverwrittenOnlyOnTheOverwriteButton) {
    testing::TTemporaryFolder Folder;
    testing::TTestRegistry Store(ServiceOptionsKeyPath);
    std::unique_ptr<TdmServiceOptions> Options(CreateServiceOptions(nullptr, Store.Backend));
    TPortsEditWindows Windows;
    TPortsEditFlow Flow(Windows, *Options);
    const std::string Path = Folder.File("Q7NPorts.xml");
    // Another program (q7nctl, another window) adds a mapping while the editor is open.
    auto SaveElsewhere = [&] {
        testing::AddMappingElsewhere(Path, "10.0.0.7");
    };
    auto Stopped = [] {
        return TServiceState(1);
    };

    std::string Asked;
    TWindowScript Keep;
    Keep.Then("Q7N ports",
              [&](HWND Editor) {
                  SaveElsewhere();
                  Click(Editor, IDC_BTNOK);
              })
        .Then(Title,
              [&](HWND Box) {
                  Asked = BoxText(Box);
                  EXPECT_EQ(TWindow(Box).Item(IDYES).Text(), "&Перезаписать");
                  EXPECT_EQ(TWindow(Box).Item(IDNO).Text(), "&Оставить файл");
                  PressKey(Box, VK_RETURN); // the default keeps the file
              })
        .Start();
    EXPECT_FALSE(Flow.Run(Path, Stopped));
    EXPECT_TRUE(Keep.Finished());
    EXPECT_NE(Asked.find("изменила другая программа"), std::string::npos) << Asked;
    EXPECT_EQ(testing::MappingsIn(Path), 1);

    TWindowScript Overwrite;
    Overwrite
        .Then("Q7N ports",
              [&](HWND Editor) {
                  SaveElsewhere(); // the file has 2 mappings, the editor 1
                  Click(Editor, IDC_BTNOK);
              })
        .Then(Title, [](HWND Box) { Click(Box, IDYES); })
        .Start();
    EXPECT_FALSE(Flow.Run(Path, Stopped)); // saved; a stopped service is not restarted
    EXPECT_TRUE(Overwrite.Finished());
    EXPECT_EQ(testing::MappingsIn(Path), 1);
}

} // namespace
} // namespace q7n::win32
