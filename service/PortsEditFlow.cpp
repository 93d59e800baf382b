#include "PortsEditFlow.h"

#include "PortsFileMessages.h"
#include "Q7NDocument.h"
#include "ServiceControlManager.h"
#include "ServiceOptions.h"

namespace q7n {

bool TPortsEditFlow::Run(const std::string& PortsFile,
                         const std::function<TServiceState()>& LastState) {
    auto Document = std::make_unique<TQ7NDocument>();
    Document->Load(PortsFile);
    try {
        // An existing file that could not be read would be replaced by the edit: say so first.
        if (Document->LastLoad().Status == lsRejected)
            FDialogs.Warn(UnreadableFileWarning(Document->LastLoad()));
        if (!FDialogs.ExecutePortList(*Document->Options()->Q7NPorts()))
            return false;
        Document->Save(PortsFile);
        if (Document->LastSave().Status == ssFailed) {
            // The edit is not on disk: neither record the file nor restart the service for it.
            FDialogs.Warn(SaveFailure(Document->LastSave(), PortsFile));
            return false;
        }
        if (!Document->LastSave().Remark.empty())
            FDialogs.Warn(SaveRemark(Document->LastSave(), PortsFile));
        FSettings.rgCfgFile->SetValue(PortsFile);
        FSettings.DataContainer->Save();
        return LastState() == platform::ServiceRunning &&
               FDialogs.Confirm("Перезапустить сервис?");
    } catch (...) {
        // Whatever fails here ends the edit; what was done stays done.
        return false;
    }
}

} // namespace q7n
