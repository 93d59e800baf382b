#pragma once

#include "platform/Registry.h"
#include "platform/SystemErrorText.h"
#include "platform/testsupport/TestRegistry.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace q7n::testing {

// The key below which the tests keep their settings.
inline const std::string TestKeyPath = "Software\\Q7NSettingsTests";

// Passes every call on to a real registry and records it; a test may make writes of chosen
// values fail.
class TRecordingRegistry final : public platform::IRegistry {
public:
    explicit TRecordingRegistry(platform::IRegistry& Inner) : FInner(Inner) {}

    std::vector<std::string> Calls;
    // Value names whose writes fail, with the error they answer.
    std::map<std::string, std::uint32_t> FailingWrites;
    int OpenKeys = 0;

    std::vector<std::string> TakeCalls() { return std::exchange(Calls, {}); }
    // The recorded calls that start with Prefix.
    std::vector<std::string> CallsOf(const std::string& Prefix) const {
        std::vector<std::string> Found;
        for (const std::string& Call : Calls)
            if (Call.rfind(Prefix, 0) == 0)
                Found.push_back(Call);
        return Found;
    }

    TStatusOr<platform::TRegCreatedKey> CreateKey(platform::TRegRoot Root, const std::string& Path,
                                                  std::uint32_t Access) override {
        Calls.push_back("CreateKey " + Path);
        TStatusOr<platform::TRegCreatedKey> Created = FInner.CreateKey(Root, Path, Access);
        if (!Created.Ok())
            return Created;
        return platform::TRegCreatedKey{Rebound(Created->Key), Created->Disposition};
    }
    TStatusOr<platform::TRegKeyOwner> OpenKey(platform::TRegRoot Root, const std::string& Path,
                                              std::uint32_t Access) override {
        Calls.push_back("OpenKey " + Path);
        TStatusOr<platform::TRegKeyOwner> Opened = FInner.OpenKey(Root, Path, Access);
        if (!Opened.Ok())
            return Opened;
        return Rebound(*Opened);
    }
    TStatusOr<platform::TRegValueInfo> QueryValue(platform::TRegKeyHandle Key,
                                                  const std::string& Name) override {
        Calls.push_back("QueryValue " + Name);
        return FInner.QueryValue(Key, Name);
    }
    TStatusOr<platform::TRegValue> ReadValue(platform::TRegKeyHandle Key,
                                             const std::string& Name) override {
        Calls.push_back("ReadValue " + Name);
        return FInner.ReadValue(Key, Name);
    }
    TStatus WriteValue(platform::TRegKeyHandle Key, const std::string& Name, std::uint32_t Type,
                       std::span<const std::uint8_t> Data) override {
        Calls.push_back("WriteValue " + Name);
        if (auto Failing = FailingWrites.find(Name); Failing != FailingWrites.end())
            return platform::SystemStatus(Failing->second);
        return FInner.WriteValue(Key, Name, Type, Data);
    }
    TStatusOr<std::vector<std::string>> ValueNames(platform::TRegKeyHandle Key) override {
        Calls.push_back("ValueNames");
        return FInner.ValueNames(Key);
    }
    TStatus DeleteKeyTree(platform::TRegRoot Root, const std::string& Path) override {
        Calls.push_back("DeleteKeyTree " + Path);
        return FInner.DeleteKeyTree(Root, Path);
    }
    TStatus CloseKey(platform::TRegKeyHandle Key) override {
        Calls.push_back("CloseKey");
        --OpenKeys;
        return FInner.CloseKey(Key);
    }

private:
    // The inner registry's key, closed through the recorder.
    platform::TRegKeyOwner Rebound(platform::TRegKeyOwner& Inner) {
        ++OpenKeys;
        return platform::TRegKeyOwner(Inner.Release(), *this);
    }

    platform::IRegistry& FInner;
};

} // namespace q7n::testing
