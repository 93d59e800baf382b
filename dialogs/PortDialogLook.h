#pragma once

namespace q7n {

// What the two port dialogs show and how large they are, the same on every toolkit.

constexpr const char* DialogFontFace = "Consolas";
constexpr const char* OKCaption = "OK";
constexpr const char* CancelCaption = "Cancel";

// The port editor: a fixed client area.
constexpr const char* PortEditorCaption = "Q7N port";
constexpr int PortEditorWidth = 456;
constexpr int PortEditorHeight = 145;
constexpr int PortEditorFontPoints = 9;
constexpr const char* IPLabel = "IP";
constexpr const char* RemoutePortLabel = "Remoute port";
constexpr const char* LocalPortLabel = "Local port";
constexpr const char* COMPortLabel = "COM port";
constexpr const char* RateLabel = "Baudrate";
// The edit fields take free text: no mask, and no length limit of ours or of the toolkit's.
constexpr bool PortFieldsUnlimited = true;

// The port list editor: a sizable window that opens this large, frame and title bar included
// (the client area is what is left of it).
constexpr const char* PortListCaption = "Q7N ports";
constexpr int PortListWidth = 758;
constexpr int PortListHeight = 462;
constexpr int PortListFontPoints = 8;
constexpr int PortListTableFontPoints = 9;
constexpr int ToolbarIconSize = 32;
constexpr int RowIconSize = 36;

// The port list editor is modal over the window that runs the ports edit, as the edit's boxes
// are: it stays in front of that window and is not a window of its own in the task bar.
constexpr bool PortListEditorOverItsCaller = true;

} // namespace q7n
