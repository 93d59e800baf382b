#pragma once

#include "platform/Registry.h"
#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"

#include <string>

#ifdef _WIN32
#include "platform/win32/RegistryWin32.h"
#else
#include "base/testsupport/TemporaryFolder.h"
#include "platform/posix/RegistryPosix.h"
#endif

namespace q7n::testing {

// The registry of this build for one test: the stand-in on a database of the test's own, or the
// Windows registry. The scratch key is deleted before the test; after it, so are the keys on its
// way that were not there: in the registry the Windows tests share, a parent left behind looks
// like a real configuration to the next test.
class TTestRegistry {
public:
    explicit TTestRegistry(std::string ScratchKey) : FOwnKey(std::move(ScratchKey)) {
        // A scratch key left by no earlier run is not there to delete.
        IgnoreStatus(Backend.DeleteKeyTree(platform::TRegRoot::rrLocalMachine, FOwnKey));
        for (std::size_t End = FOwnKey.find('\\'); End != std::string::npos;
             End = FOwnKey.find('\\', End + 1)) {
            platform::TRegKey Parent(Backend);
            if (!Parent
                     .Open(platform::TRegRoot::rrLocalMachine, FOwnKey.substr(0, End),
                           platform::KeyRead)
                     .Ok()) {
                FOwnKey.resize(End);
                break;
            }
        }
    }
    TTestRegistry(const TTestRegistry&) = delete;
    TTestRegistry& operator=(const TTestRegistry&) = delete;
    ~TTestRegistry() {
        IgnoreStatus(Backend.DeleteKeyTree(platform::TRegRoot::rrLocalMachine, FOwnKey));
    }

#ifdef _WIN32
    platform::TWin32Registry Backend;
#else
    TTemporaryFolder Folder;
    platform::TPosixRegistry Backend{platform::TMachineDatabaseMode::mdmReadWrite,
                                     Folder.File("machine.sqlite")};
#endif

private:
    std::string FOwnKey; // the scratch key, or the first key on its way that was missing
};

// The text of value Name of HKEY_LOCAL_MACHINE\Path, or "<no key>" or "<no value>".
inline std::string ReadRegistryText(platform::IRegistry& Registry, const std::string& Path,
                                    const std::string& Name) {
    platform::TRegKey Key(Registry);
    if (!Key.Open(platform::TRegRoot::rrLocalMachine, Path, platform::KeyRead).Ok())
        return "<no key>";
    TStatusOr<platform::TRegValue> Value = Key.ReadValue(Name);
    if (!Value.Ok())
        return "<no value>";
    return platform::RegDataText(Value->Data);
}

} // namespace q7n::testing
