#include "dialogs/win32/Q7NPortDialog.h"

#include "dialogs/PortChoices.h"
#include "dialogs/PortDialogLook.h"
#include "dialogs/win32/DialogFont.h"
#include "dialogs/win32/PortDialogIds.h"
#include "platform/win32/Win32Text.h"
#include "windowing/DpiScale.h"
#include "windowing/win32/DpiFunctions.h"
#include "windowing/win32/EventHandler.h"
#include "windowing/win32/ScreenPlacement.h"

namespace q7n::win32 {

namespace {

// The controls of the fields, in the order of TPortField.
constexpr int FieldControlIds[PortFieldCount] = {IDC_EDTIP, IDC_EDTRPORT, IDC_EDTLPORT,
                                                 IDC_CBBCOMPORT, IDC_CBBRATE};

// The places of the controls in pixels at 96 dpi (a drop-down list's with its list dropped down).
// The right-aligned labels have room to spare: letters do not grow in step with the DPI.
struct TControlPlace {
    int Id;
    TDpiPlace Place;
};
constexpr TControlPlace ControlPlaces[] = {
    {IDC_LBLIP, {0, 14, 92, 18}},          {IDC_EDTIP, {98, 11, 126, 21}},
    {IDC_LBLRPORT, {0, 42, 92, 18}},       {IDC_EDTRPORT, {98, 39, 126, 21}},
    {IDC_LBLLPORT, {0, 70, 92, 18}},       {IDC_EDTLPORT, {98, 67, 126, 21}},
    {IDC_SEPARATOR, {0, 102, 456, 2}},     {IDC_BTNOK, {361, 110, 88, 23}},
    {IDC_BTNCANCEL, {266, 110, 88, 23}},   {IDC_LBLCOMPORT, {228, 14, 81, 18}},
    {IDC_CBBCOMPORT, {315, 11, 133, 263}}, {IDC_LBLRATE, {228, 42, 81, 18}},
    {IDC_CBBRATE, {315, 39, 133, 263}},
};

void AddEntry(TWindow List, const std::string& Text) {
    List.Send(CB_ADDSTRING, 0, LPARAM(platform::Utf8ToWide(Text).c_str()));
}

} // namespace

bool TdlgQ7NPort::Execute(TQ7NPort* Port, HWND Parent) {
    return FEditor.Execute(Port, [this, Parent] {
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
    KeepDialogLayoutOnDpiChange(FWindow);
    FDpi = WindowDpi(FWindow);
    Arrange();
    for (int Id : {IDC_EDTIP, IDC_EDTRPORT, IDC_EDTLPORT})
        if (PortFieldsUnlimited)
            Item(Id).Send(EM_SETLIMITTEXT, 0); // free text: no limit but the control's own
    FormCreate();
    PortToControls();
    TModalDialog::OnInit();
    SetFocus(Item(IDC_EDTIP));
    return false; // the focus is set
}

void TdlgQ7NPort::Arrange() {
    TFontHandle OldFont = std::move(FFont); // in use until the controls have the new one
    FFont = CreateDialogFont(PortEditorFontPoints, FDpi);
    SetFont(FFont.Get());
    SetControlsFont(FWindow, FFont.Get());
    SetClientSize(FWindow, ScaledByDpi(PortEditorWidth, FDpi), ScaledByDpi(PortEditorHeight, FDpi),
                  FDpi);
    for (const TControlPlace& Control : ControlPlaces) {
        const TDpiPlace Place = ScaledByDpi(Control.Place, FDpi);
        MoveWindow(Item(Control.Id), Place.Left, Place.Top, Place.Width, Place.Height, FALSE);
    }
    InvalidateRect(FWindow, nullptr, TRUE);
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
    TPortFields Fields = FEditor.Fields();
    Item(IDC_EDTIP).SetText(Fields.IP);
    Item(IDC_EDTRPORT).SetText(Fields.RemoutePort);
    Item(IDC_EDTLPORT).SetText(Fields.LocalPort);
    Item(IDC_CBBCOMPORT).Send(CB_SETCURSEL, WPARAM(Fields.COMPortEntry));
    Item(IDC_CBBRATE).Send(CB_SETCURSEL, WPARAM(Fields.RateEntry)); // -1: no selection
}

bool TdlgQ7NPort::OnCommand(int Code, int Id, HWND Control) {
    if (Id == IDC_BTNOK && Code == BN_CLICKED) {
        // After the error box the user goes on where the fault is.
        if (!RunEventHandler(Handle(), [this] { btnOKClick(); })) {
            TWindow Field = Item(FieldControlIds[std::size_t(FEditor.FailedField())]);
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

void TdlgQ7NPort::btnOKClick() {
    // An error stops here and reaches the error box; the dialog stays open.
    FEditor.TakeOver({Item(IDC_EDTIP).Text(), Item(IDC_EDTRPORT).Text(), Item(IDC_EDTLPORT).Text(),
                      int(Item(IDC_CBBCOMPORT).Send(CB_GETCURSEL)),
                      int(Item(IDC_CBBRATE).Send(CB_GETCURSEL))});
    End(IDOK);
}

} // namespace q7n::win32
