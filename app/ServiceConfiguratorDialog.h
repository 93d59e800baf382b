#pragma once

#include "Clock.h"
#include "ServiceConfigDlgInterface.h"
#include "ServiceConfigurator.h"
#include "ServiceControlManager.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <memory>

namespace q7n::gui {

class TGradientRule;

// The main window: the service's state in a coloured label and six buttons whose presses go to
// the configurator as requests. It does no service work of its own and never disables a button.
class TdlgServiceConfigurator final : public QWidget, public IServiceConfigDlgInterface {
public:
    // Platform is the service manager to drive (the host's when null); PortsEdit the ports edit
    // that the edit button runs (none when null: the button then does nothing).
    explicit TdlgServiceConfigurator(platform::IServiceControlManager* Platform = nullptr,
                                     IPortsEditFlow* PortsEdit = nullptr);
    ~TdlgServiceConfigurator() override;

    TServiceConfigurator* Configurator() const { return FConfigurator.get(); }

    // Repaints the state label from the configurator's last polled state.
    void ServiceStateChanged() override;

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

private:
    void CreateControls();
    void FormCreate(IPortsEditFlow* PortsEdit);
    void FormDestroy();
    void actStartExecute() { FConfigurator->RequestStart(); }
    void actStopExecute() { FConfigurator->RequestStop(); }
    void actRebootExecute() { FConfigurator->RequestRestart(); }
    void Button5Click() { FConfigurator->RequestInstall(); }
    void btn1Click() { FConfigurator->RequestUninstall(); }
    void btnEditClick() { FConfigurator->EditPorts(); }

    std::unique_ptr<platform::IServiceControlManager> FOwnPlatform;
    platform::IServiceControlManager* FPlatform;
    TSteadyClock FClock;
    std::unique_ptr<TServiceConfigurator> FConfigurator;
    bool FCentred = false;
};

// The main window, as the program creates it at start-up; when it cannot be created (the current
// folder cannot be read, say) the error box tells why and the answer is none.
std::unique_ptr<TdlgServiceConfigurator> CreateMainWindow(platform::IServiceControlManager* Platform,
                                                          IPortsEditFlow* PortsEdit);

} // namespace q7n::gui
