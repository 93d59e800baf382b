#pragma once

namespace q7n::app {

// What the main window's presenter asks of the window that draws it. The program owns its main
// window through this interface.
class IMainWindowView {
public:
    virtual ~IMainWindowView() = default;

    // Draws the state label as the presenter's StateLook says.
    virtual void ShowServiceState() = 0;
};

} // namespace q7n::app
