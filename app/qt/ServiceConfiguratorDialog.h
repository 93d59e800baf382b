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
    // Platform is the service manager to drive (the host's when null); Dialogs the windows of
    // the ports edit (none when null: the edit button then does nothing).
    explicit TdlgServiceConfigurator(platform::IServiceControlManager* Platform = nullptr,
                                     IPortsEditDialogs* Dialogs = nullptr);
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
    void FormCreate(IPortsEditDialogs* Dialogs);
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

} // namespace q7n::gui
