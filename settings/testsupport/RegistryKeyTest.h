#pragma once

#include "platform/RegistryKey.h"
#include "settings/testsupport/RecordingRegistry.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace q7n::testing {

// A test of code that keeps its settings in one key of HKEY_LOCAL_MACHINE: the test's own
// registry, a recorder of the calls the code makes to it, and a look at the key by hand that
// the recorder does not see.
class TRegistryKeyTest : public ::testing::Test {
protected:
    explicit TRegistryKeyTest(std::string Key) : FKey(std::move(Key)) {}

    // The type and data of the value Name of the key: type 0xFFFFFFFF when the key is missing,
    // 0xFFFFFFFE when the value is.
    std::pair<std::uint32_t, std::vector<std::uint8_t>> Stored(const std::string& Name) {
        platform::TRegKey Key(FRegistry.Backend);
        if (!Key.Open(Hklm, FKey, platform::KeyRead).Ok())
            return {0xFFFFFFFF, {}};
        TStatusOr<platform::TRegValue> Value = Key.ReadValue(Name);
        if (!Value.Ok())
            return {0xFFFFFFFE, {}};
        return {Value->Type, Value->Data};
    }
    // The names of the key's values, sorted.
    std::vector<std::string> StoredNames() {
        platform::TRegKey Key(FRegistry.Backend);
        std::vector<std::string> Names;
        if (Key.Open(Hklm, FKey, platform::KeyRead).Ok())
            Names = Key.ValueNames().ValueOr({});
        std::sort(Names.begin(), Names.end());
        return Names;
    }
    // Writes a value as another program would, creating the key.
    void Store(const std::string& Name, std::uint32_t Type, const std::vector<std::uint8_t>& Data) {
        platform::TRegKey Key(FRegistry.Backend);
        ASSERT_TRUE(Key.Create(Hklm, FKey, platform::KeyAllAccess).Ok());
        ASSERT_TRUE(Key.WriteValue(Name, Type, Data).Ok());
    }

    static constexpr platform::TRegRoot Hklm = platform::TRegRoot::rrLocalMachine;
    TTestRegistry FRegistry{TestKeyPath};
    TRecordingRegistry FRecorder{FRegistry.Backend};
    std::string FKey;
};

} // namespace q7n::testing
