// The ports edit flow of the configurator: load the ports file, let the user edit its mappings,
// save it, record its path in the settings and offer to restart a running service.
#include "PortsEditDialogs.h"
#include "PortsFileMessages.h"
#include "Q7NDocument.h"
#include "ServiceConfigurator.h"
#include "ServiceOptions.h"

namespace q7n {

namespace {

constexpr TServiceState StateRunning = 4;

} // namespace

void TServiceConfigurator::EditPorts() {
    if (!FPortsDialogs)
        return;
    auto Document = std::make_unique<TQ7NDocument>();
    Document->Load(FPortsFile);
    try {
        // An existing file that could not be read would be replaced by the edit: say so first.
        if (Document->LastLoad().Status == lsRejected)
            FPortsDialogs->Warn(UnreadableFileWarning(Document->LastLoad()));
        if (!FPortsDialogs->ExecutePortList(*Document->Options()->Q7NPorts()))
            return;
        Document->Save(FPortsFile);
        if (Document->LastSave().Status == ssFailed) {
            // The edit is not on disk: neither record the file nor restart the service for it.
            FPortsDialogs->Warn(SaveFailure(Document->LastSave(), FPortsFile));
            return;
        }
        if (!Document->LastSave().Remark.empty())
            FPortsDialogs->Warn(SaveRemark(Document->LastSave(), FPortsFile));
        if (dmServiceOptions) {
            dmServiceOptions->rgCfgFile->SetValue(FPortsFile);
            dmServiceOptions->DataContainer->Save();
        }
        if (FState == StateRunning && FPortsDialogs->Confirm("Перезапустить сервис?"))
            RequestRestart();
    } catch (...) {
        // Whatever fails here ends the edit; what was done stays done.
    }
}

} // namespace q7n
