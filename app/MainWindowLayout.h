#pragma once

#include "app/Action.h"
#include "app/Colors.h"

#include <array>
#include <string_view>

// The main window's fixed look, the same in every frontend: its caption and size, and each
// control with its name, kind, place, caption, font, colour, tab order and command. Places are
// pixels of the client area at 96 dpi.
namespace q7n::app {

inline constexpr std::string_view MainWindowCaption = "Q7NService - Конфигуратор";
inline constexpr int ClientWidth = 565;
inline constexpr int ClientHeight = 271;

inline constexpr TColor InitialStateColor = Green; // until the first poll
inline constexpr std::string_view InitialStateCaption = "-";

struct TFontLook {
    std::string_view Face;
    int PixelSize;
    bool Bold;
};

inline constexpr TFontLook DefaultFont{"MS Sans Serif", 11, false}; // the window and its buttons
inline constexpr TFontLook HeadingFont{"Cambria", 19, false};
inline constexpr TFontLook StateFont{"Cambria", 13, true};

enum class TControlKind {
    ckLabel,
    ckStateLabel, // sized to its text, its caption and colour follow the service
    ckPicture,
    ckRule, // a gradient from RuleEndColor at both ends to RuleMiddleColor in the middle
    ckButton,
};

inline constexpr TColor RuleEndColor = Navy;
inline constexpr TColor RuleMiddleColor = Red;

enum class TPicture { pcNone, pcGears, pcComputerTools };

// A picture's own proportions (its images at 96 dpi): it is drawn so, as large as its place allows.
struct TPictureSize {
    int Width, Height;
};
constexpr TPictureSize PictureSize(TPicture Picture) {
    return Picture == TPicture::pcGears ? TPictureSize{50, 42} : TPictureSize{48, 48};
}

struct TControlPlace {
    int Left, Top, Width, Height;
};

struct TMainWindowControl {
    std::string_view Name; // empty for the two rules, which have none
    TControlKind Kind;
    TControlPlace Place;
    std::string_view Caption;
    TFontLook Font;
    TColor Color;
    TMainCommand Command;
    TPicture Picture;
    const TAction* Action = nullptr; // the command a button is bound to, if any
};

constexpr TMainWindowControl Label(std::string_view Name, TControlPlace Place,
                                   std::string_view Caption, TFontLook Font, TColor Color) {
    return {Name,  TControlKind::ckLabel, Place,           Caption, Font,
            Color, TMainCommand::mcNone,  TPicture::pcNone};
}
constexpr TMainWindowControl Rule(TControlPlace Place) {
    return {"",           TControlKind::ckRule, Place,           "", DefaultFont,
            RuleEndColor, TMainCommand::mcNone, TPicture::pcNone};
}
constexpr TMainWindowControl Picture(std::string_view Name, TControlPlace Place, TPicture Shows) {
    return {Name,  TControlKind::ckPicture, Place, "", DefaultFont,
            Black, TMainCommand::mcNone,    Shows};
}
constexpr TMainWindowControl Button(std::string_view Name, TControlPlace Place,
                                    std::string_view Caption, TMainCommand Command) {
    return {Name,    TControlKind::ckButton, Place, Caption, DefaultFont, Black,
            Command, TPicture::pcNone};
}
// A button that runs through Action.
constexpr TMainWindowControl Button(std::string_view Name, TControlPlace Place,
                                    std::string_view Caption, const TAction& Action) {
    return {Name,           TControlKind::ckButton, Place,  Caption, DefaultFont, Black,
            Action.Command, TPicture::pcNone,       &Action};
}

// In the order the window makes them, which is also the tab order of the buttons.
inline constexpr std::array<TMainWindowControl, 14> MainWindowControls{{
    Label("Label1", {99, 43, 186, 22}, "Управление сервисом", HeadingFont, Black),
    Rule({96, 71, 430, 2}),
    Label("Label3", {70, 100, 45, 15}, "Статус:", StateFont, Navy),
    {"ServiceStatusLb",
     TControlKind::ckStateLabel,
     {118, 100, 10, 15},
     InitialStateCaption,
     StateFont,
     InitialStateColor,
     TMainCommand::mcNone,
     TPicture::pcNone},
    Picture("Image2", {42, 44, 46, 38}, TPicture::pcGears),
    Button("Button1", {206, 92, 99, 25}, "Старт", actStart),
    Button("Button2", {206, 116, 99, 25}, "Стоп", actStop),
    Button("Button3", {206, 148, 99, 25}, "Перезапустить", actReboot),
    Button("Button5", {424, 92, 97, 25}, "Install", TMainCommand::mcInstall),
    Button("btn1", {424, 116, 97, 25}, "UnInstall", TMainCommand::mcUninstall),
    Picture("Image1", {42, 178, 48, 47}, TPicture::pcComputerTools),
    Label("Label2", {99, 174, 60, 22}, "Опции ", HeadingFont, Black),
    Rule({96, 202, 430, 2}),
    Button("btnEdit", {208, 224, 97, 25}, "Редактировать", TMainCommand::mcEditPorts),
}};

// The control of that name in the table.
constexpr const TMainWindowControl& MainWindowControl(std::string_view Name) {
    for (const TMainWindowControl& Control : MainWindowControls)
        if (Control.Name == Name)
            return Control;
    throw "no such control"; // at compile time: an error
}

// The state caption ends at least StateCaptionGap pixels left of the "Старт" button on its line;
// a longer one is fitted into the room left (CaptionFit.h).
inline constexpr int StateCaptionGap = 2;
inline constexpr int StateCaptionRoom = MainWindowControl("Button1").Place.Left - StateCaptionGap -
                                        MainWindowControl("ServiceStatusLb").Place.Left;

// Why the window keeps the session from ending while the ports edit runs, as the system shows it.
inline constexpr std::string_view EditRunningShutdownReason =
    "Открыт редактор портов: изменения не сохранены";

} // namespace q7n::app
