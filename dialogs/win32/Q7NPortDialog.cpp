#include "dialogs/win32/Q7NPortDialog.h"

#include "dialogs/PortChoices.h"
#include "dialogs/PortDialogLook.h"
#include "dialogs/PortFields.h"
#include "dialogs/PrivateCopyExecute.h"
#include "dialogs/win32/DialogFont.h"
#include "dialogs/win32/PortDialogIds.h"
#include "platform/win32/Win32Text.h"
#include "windowing/win32/EventHandler.h"

namespace q7n::win32 {

namespace {

void AddEntry(TWindow List, const std::string& Text) {
    List.Send(CB_ADDSTRING, 0, LPARAM(platform::Utf8ToWide(Text).c_str()));
}

} // namespace

TdlgQ7NPort::TdlgQ7NPort() : FPort(TXMLClass::Create<TQ7NPort>(nullptr)) {}

TdlgQ7NPort::~TdlgQ7NPort() = default;

bool TdlgQ7NPort::Execute(TQ7NPort* Port, HWND Parent) {
    return ExecuteOnPrivateCopy(*FPort, Port, [this, Parent] {
        return TModalDialog::Execute(MAKEINTRESOURCEW(IDD_Q7NPORT), Parent) == IDOK;
    });
}

bool TdlgQ7NPort::OnInit() {
    SetText(PortEditorCaption);
    Item(IDC_LBLIP).SetText(IPLabel);
    Item(IDC_LBLRPORT).SetText(RemoutePortLabel);
    Item(IDC_LBLLPORT).SetText(LocalPortLabel);
    Item(IDC_LBLCOMPORT).SetText(COMPortLabel);
    Item(IDC_LBLRATE).SetText(RateLabel);
    Item(IDC_BTNOK).SetText(OKCaption);
    Item(IDC_BTNCANCEL).SetText(CancelCaption);
    SetClientSize(FWindow, PortEditorWidth, PortEditorHeight);
    for (int Id : {IDC_EDTIP, IDC_EDTRPORT, IDC_EDTLPORT})
        Item(Id).Send(EM_SETLIMITTEXT, 0); // free text: no limit but the control's own
    FormCreate();
    PortToControls();
    TModalDialog::OnInit();
    SetFocus(Item(IDC_EDTIP));
    return false; // the focus is set
}

void TdlgQ7NPort::FormCreate() {
    TWindow COMPorts = Item(IDC_CBBCOMPORT);
    COMPorts.Send(CB_RESETCONTENT);
    for (int Entry = 0; Entry < COMPortEntryCount; ++Entry)
        AddEntry(COMPorts, COMPortText(Entry + 1));
    TWindow Rates = Item(IDC_CBBRATE);
    Rates.Send(CB_RESETCONTENT);
    for (const TPortRate& Entry : OfferedPortRates)
        AddEntry(Rates, Entry.Text);
}

void TdlgQ7NPort::PortToControls() {
    TPortFields Fields = PortToFields(*FPort);
    Item(IDC_EDTIP).SetText(Fields.IP);
    Item(IDC_EDTRPORT).SetText(Fields.RemoutePort);
    Item(IDC_EDTLPORT).SetText(Fields.LocalPort);
    Item(IDC_CBBCOMPORT).Send(CB_SETCURSEL, WPARAM(Fields.COMPortEntry));
    Item(IDC_CBBRATE).Send(CB_SETCURSEL, WPARAM(Fields.RateEntry)); // -1: no selection
}

namespace {

int ControlIdOf(TPortField Field) {
    switch (Field) {
    case TPortField::pfIP:
        return IDC_EDTIP;
    case TPortField::pfRemoutePort:
        return IDC_EDTRPORT;
    case TPortField::pfLocalPort:
        return IDC_EDTLPORT;
    case TPortField::pfCOMPort:
        return IDC_CBBCOMPORT;
    case TPortField::pfRate:
        return IDC_CBBRATE;
    }
    return IDC_EDTIP;
}

} // namespace

bool TdlgQ7NPort::OnCommand(int Code, int Id, HWND Control) {
    if (Id == IDC_BTNOK && Code == BN_CLICKED) {
        // After the error box the user goes on where the fault is.
        TPortField Failed = TPortField::pfIP;
        if (!RunEventHandler(Handle(), [&] { btnOKClick(Failed); })) {
            TWindow Field = Item(ControlIdOf(Failed));
            Send(WM_NEXTDLGCTL, WPARAM(Field.Handle()), TRUE);
            Field.Send(EM_SETSEL, 0, -1); // a drop-down list ignores it
        }
        return true;
    }
    if (Id == IDC_BTNCANCEL && Code == BN_CLICKED) {
        End(IDCANCEL);
        return true;
    }
    return TModalDialog::OnCommand(Code, Id, Control);
}

void TdlgQ7NPort::btnOKClick(TPortField& Failed) {
    // An error stops here and reaches the error box; the dialog stays open.
    FieldsToPort({Item(IDC_EDTIP).Text(), Item(IDC_EDTRPORT).Text(), Item(IDC_EDTLPORT).Text(),
                  int(Item(IDC_CBBCOMPORT).Send(CB_GETCURSEL)),
                  int(Item(IDC_CBBRATE).Send(CB_GETCURSEL))},
                 *FPort, &Failed);
    End(IDOK);
}

} // namespace q7n::win32
