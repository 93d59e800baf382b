#include "dialogs/win32/PortsEditWindows.h"

#include "dialogs/PortDialogLook.h"
#include "dialogs/win32/Q7NPortsDialog.h"
#include "platform/win32/Win32Text.h"
#include "windowing/ApplicationIdentity.h"
#include "windowing/ErrorBoxText.h"
#include "windowing/PathWrapping.h"
#include "windowing/win32/ConfirmationBox.h"
#include "windowing/win32/GdiHandles.h"
#include "windowing/win32/MessageDialog.h"
#include "windowing/win32/ModalWait.h"
#include "windowing/win32/OverwriteBox.h"

namespace q7n::win32 {

namespace {

// What a line of the message box holds at most: its text width, in its dialog font.
constexpr int BoxTextWidth = 420;
constexpr int BoxFontPoints = 8;
constexpr const wchar_t* BoxFontFace = L"MS Shell Dlg";

// Text with its lines ended as the message box's font measures them: a static control ends lines
// only at blanks, and breaks a long path wherever it runs out of room.
std::string BreakForMessageBox(const std::string& Text) {
    const TWindowDC Screen(GetDC(nullptr));
    LOGFONTW Look{};
    Look.lfHeight = -MulDiv(BoxFontPoints, GetDeviceCaps(Screen.Get(), LOGPIXELSY), 72);
    Look.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(Look.lfFaceName, BoxFontFace, LF_FACESIZE);
    const TFontHandle Font(CreateFontIndirectW(&Look));
    HGDIOBJ Old = SelectObject(Screen.Get(), Font.Get());
    std::string Lines = BreakLines(Text, BoxTextWidth, [&](std::string_view Line) {
        const std::wstring Wide = platform::Utf8ToWideReplacing(Line);
        RECT Box{0, 0, 0, 0};
        DrawTextW(Screen.Get(), Wide.c_str(), int(Wide.size()), &Box,
                  DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS | DT_CALCRECT);
        return int(Box.right);
    });
    SelectObject(Screen.Get(), Old);
    return Lines;
}

} // namespace

bool TPortsEditWindows::ExecutePortList(TQ7NPorts& Ports, IMachineCheck* Machine) {
    TdlgQ7NPorts Editor;
    Editor.SetMachineCheck(Machine);
    return Editor.Execute(&Ports, PortListEditorOverItsCaller ? FParent : nullptr);
}

bool TPortsEditWindows::Confirm(const std::string& Text) {
    return ShowConfirmationBox(Text, FParent) == TConfirmAnswer::caYes;
}

bool TPortsEditWindows::ConfirmOverwrite(const std::string& Text) {
    return ShowOverwriteBox(Text, FParent);
}

void TPortsEditWindows::Warn(const std::string& Text) {
    TMessageDialog Box(std::string(ApplicationTitle), BreakForMessageBox(Text), IDI_WARNING,
                       {{IDOK, std::string(ErrorBoxOkCaption)}}, IDOK);
    Box.Show(FParent);
}

bool TPortsEditWindows::WaitModally(const std::function<bool(const platform::TLockPause&)>& Wait) {
    return q7n::win32::WaitModally(FParent, Wait);
}

} // namespace q7n::win32
