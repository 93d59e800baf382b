#pragma once

#include "MainWindowLogic.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace q7n::qt {

// The main window on Qt Widgets: the shared look (MainWindowLayout.h) and behaviour
// (MainWindowLogic.h) drawn with Qt's labels, buttons and actions.
class TdlgServiceConfigurator final : public QWidget, public app::TMainWindowLogic {
public:
    // Platform is the service manager to drive (the host's when null); Dialogs the windows of
    // the ports edit (none when null: the edit button then does nothing).
    explicit TdlgServiceConfigurator(platform::IServiceControlManager* Platform = nullptr,
                                     IPortsEditDialogs* Dialogs = nullptr);
    ~TdlgServiceConfigurator() override;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* ServiceStatusLb = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* btn1 = nullptr;
    QPushButton* btnEdit = nullptr;
    QAction* actStart = nullptr;
    QAction* actStop = nullptr;
    QAction* actReboot = nullptr;

protected:
    void showEvent(QShowEvent* Event) override;
    void ShowServiceState(std::string_view Caption, TColor Color) override;

private:
    void CreateControls();
    QAction* ActionFor(app::TMainCommand Command) const;

    bool FCentred = false;
};

} // namespace q7n::qt
