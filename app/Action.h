#pragma once

#include <array>
#include <string_view>

namespace q7n::app {

// What a button asks of the main window's handlers.
enum class TMainCommand { mcNone, mcStart, mcStop, mcRestart, mcInstall, mcUninstall, mcEditPorts };

// A command that a button is bound to: its name, an (English) caption and a category of its own,
// which a frontend may show (in a menu, say), and the handler it runs; the button keeps its own
// caption.
struct TAction {
    std::string_view Name;
    std::string_view Caption;
    std::string_view Category;
    TMainCommand Command;
};

inline constexpr std::string_view ServiceCategory = "Service";
inline constexpr TAction actStart{"actStart", "Start", ServiceCategory, TMainCommand::mcStart};
inline constexpr TAction actStop{"actStop", "Stop", ServiceCategory, TMainCommand::mcStop};
inline constexpr TAction actReboot{"actReboot", "Restart", ServiceCategory,
                                   TMainCommand::mcRestart};

// The commands of the service buttons, in the buttons' order.
inline constexpr std::array<const TAction*, 3> MainWindowActions{&actStart, &actStop, &actReboot};

} // namespace q7n::app
