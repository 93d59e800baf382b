#pragma once

#include "platform/Registry.h"

#include <string>

#ifdef _WIN32
#include "platform/win32/RegistryWin32.h"
#else
#include "base/testsupport/TemporaryFolder.h"
#include "platform/posix/RegistryPosix.h"
#endif

namespace q7n::testing {

// The registry of this build for one test: the stand-in on a database of the test's own, or the
// Windows registry. The test's scratch key is deleted before and after it.
class TTestRegistry {
public:
    explicit TTestRegistry(std::string ScratchKey) : FScratchKey(std::move(ScratchKey)) {
        Backend.DeleteKeyTree(platform::TRegRoot::rrLocalMachine, FScratchKey);
    }
    TTestRegistry(const TTestRegistry&) = delete;
    TTestRegistry& operator=(const TTestRegistry&) = delete;
    ~TTestRegistry() { Backend.DeleteKeyTree(platform::TRegRoot::rrLocalMachine, FScratchKey); }

#ifdef _WIN32
    platform::TWin32Registry Backend;
#else
    TTemporaryFolder Folder;
    platform::TPosixRegistry Backend{platform::TMachineDatabaseMode::mdmReadWrite,
                                     Folder.File("machine.sqlite")};
#endif

private:
    std::string FScratchKey;
};

} // namespace q7n::testing
