#pragma once

#include "platform/FileLock.h"

#include <functional>
#include <string>

namespace q7n {

class IMachineCheck;
class TQ7NPorts;

// The windows that the ports edit flow opens, behind an interface so that the flow itself runs
// without a windowing system in its tests.
class IPortsEditDialogs {
public:
    // The port list editor: edits a private copy of Ports and, when the user confirms with OK,
    // copies it back and answers true. Machine (none: the file's checks alone) marks the rows
    // that the machine stands in the way of.
    virtual bool ExecutePortList(TQ7NPorts& Ports, IMachineCheck* Machine) = 0;
    // The confirmation box; true only for Yes.
    virtual bool Confirm(const std::string& Text) = 0;
    // The box that asks, before anything is saved, whether to overwrite a file that another
    // program changed since the editor opened it; true only for its overwrite button, so that
    // Enter, Escape and closing it keep the other program's change.
    virtual bool ConfirmOverwrite(const std::string& Text) = 0;
    // A warning or an error the user must read before going on.
    virtual void Warn(const std::string& Text) = 0;
    // Runs Wait modally and answers what it answers: the main window is disabled meanwhile, so
    // that nothing of it can be pressed, and each pause that Wait spends through the pause it is
    // given delivers the thread's messages, the configurator's timer among them. The flow waits
    // so for the ports file's lock, however long another program holds it.
    virtual bool WaitModally(const std::function<bool(const platform::TLockPause&)>& Wait) = 0;

protected:
    ~IPortsEditDialogs() = default;
};

} // namespace q7n
