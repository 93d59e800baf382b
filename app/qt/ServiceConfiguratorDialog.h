#pragma once

#include "app/ConfiguratorProgram.h"
#include "app/MainWindowPresenter.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <memory>

namespace q7n::qt {

// The main window on Qt Widgets: the shared look (MainWindowLayout.h) and behaviour
// (MainWindowPresenter.h) drawn with Qt's labels and buttons, its commands shown as actions,
// which the service buttons trigger. While the ports edit runs it does not close.
class TdlgServiceConfigurator final : public QWidget, public app::IMainWindowView {
public:
    // Parts are what the presenter drives (by default the host's service manager, no ports edit).
    explicit TdlgServiceConfigurator(app::TMainWindowParts Parts = app::TMainWindowParts());
    ~TdlgServiceConfigurator() override;

    app::TMainWindowPresenter& Presenter() { return FPresenter; }
    TServiceConfigurator* Configurator() const { return FPresenter.Configurator(); }

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
    void closeEvent(QCloseEvent* Event) override;
    void ShowServiceState() override;

private:
    void CreateControls();

    app::TMainWindowPresenter FPresenter{*this};
    bool FCentred = false;
};

// The main window of Program, as the program creates it at start-up; when it cannot be created
// (the current folder cannot be read, say) the error box tells why and the answer is none.
TdlgServiceConfigurator* CreateMainWindow(app::TConfiguratorProgram& Program,
                                          platform::IServiceControlManager* Platform = nullptr);

} // namespace q7n::qt
