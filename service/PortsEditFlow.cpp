#include "service/PortsEditFlow.h"

#include "platform/ServiceControlManager.h"
#include "ports/Q7NDocument.h"
#include "service/PortsFileMessages.h"
#include "settings/ServiceOptions.h"
#include "xmloptions/FileStamp.h"

#include <optional>

namespace q7n {

// Loads the file while no program of ours saves it, so that the load never meets a save half
// done. Should the lock not come (a lock file that cannot be made, a holder that takes long),
// the load goes on without it: a save replaces the file in one move, and the check before this
// edit's own save catches any change.
void TPortsEditFlow::LoadUnlessSaved(TQ7NDocument& Document, const std::string& PortsFile) {
    platform::TFileLock Lock;
    try {
        Lock = LockModally(PortsFile, platform::lmShared);
    } catch (const std::exception&) {
    }
    Document.Load(PortsFile);
}

platform::TFileLock TPortsEditFlow::LockModally(const std::string& PortsFile,
                                                platform::TLockMode Mode) {
    platform::TFileLock Lock;
    FDialogs.WaitModally([&](const platform::TLockPause& Pause) {
        Lock = TQ7NDocument::Lock(PortsFile, Mode, FLockWait, Pause);
        return bool(Lock);
    });
    return Lock;
}

bool TPortsEditFlow::Run(const std::string& PortsFile,
                         const std::function<TServiceState()>& LastState) {
    auto Document = std::make_unique<TQ7NDocument>();
    LoadUnlessSaved(*Document, PortsFile);
    try {
        // An existing file that could not be read would be replaced by the edit: say so first.
        if (Document->LastLoad().Status == lsRejected)
            FDialogs.Warn(UnreadableFileWarning(Document->LastLoad()));
        if (!FDialogs.ExecutePortList(*Document->Options()->Q7NPorts(), FMachine))
            return false;
        if (!SaveUnderLock(*Document, PortsFile))
            return false;
        FSettings.rgCfgFile->SetValue(PortsFile);
        FSettings.DataContainer->Save();
        return LastState() == platform::ServiceRunning && FDialogs.Confirm("Перезапустить сервис?");
    } catch (...) {
        // Whatever fails here ends the edit; what was done stays done.
        return false;
    }
}

bool TPortsEditFlow::SaveUnderLock(TQ7NDocument& Document, const std::string& PortsFile) {
    // The other program's content that the user agreed to overwrite, as the question showed it.
    std::optional<TFileStamp> Accepted;
    for (;;) {
        // From the check until the save is done no other program of ours writes the file.
        platform::TFileLock Lock;
        try {
            while (!(Lock = LockModally(PortsFile, platform::lmExclusive)))
                if (!FDialogs.Confirm(FileBusyQuestion(PortsFile)))
                    return false;
        } catch (const std::exception& Error) {
            TXMLSaveResult Failure;
            Failure.Reason = Error.what();
            FDialogs.Warn(SaveFailure(Failure, PortsFile));
            return false;
        }
        // Never a silent overwrite of a change made since the editor opened, never a guessed
        // merge. No program of ours waits for the lock while the user reads the question; the
        // file is looked at again afterwards, as it may have changed once more meanwhile.
        if (Document.ChangedOnDisk()) {
            std::optional<TFileStamp> Now = TFileStamp::OfFile(PortsFile);
            if (!Accepted || Now != Accepted) {
                Lock = {};
                if (!FDialogs.ConfirmOverwrite(FileChangedQuestion(PortsFile)))
                    return false;
                Accepted = Now;
                continue;
            }
        }
        const TXMLSaveResult& Saved = Document.Save(PortsFile);
        if (!Saved) {
            // The edit is not on disk: neither record the file nor restart the service for it.
            FDialogs.Warn(SaveFailure(Saved, PortsFile));
            return false;
        }
        if (!Saved.Remark.empty())
            FDialogs.Warn(SaveRemark(Saved, PortsFile));
        return true;
    }
}
} // namespace q7n
