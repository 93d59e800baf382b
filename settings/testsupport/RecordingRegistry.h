#pragma once

#include "platform/Registry.h"
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

    std::uint32_t CreateKey(platform::TRegRoot Root, const std::string& Path, std::uint32_t Access,
                            platform::TRegKeyHandle& Key, std::uint32_t& Disposition) override {
        Calls.push_back("CreateKey " + Path);
        return Opened(FInner.CreateKey(Root, Path, Access, Key, Disposition));
    }
    std::uint32_t OpenKey(platform::TRegRoot Root, const std::string& Path, std::uint32_t Access,
                          platform::TRegKeyHandle& Key) override {
        Calls.push_back("OpenKey " + Path);
        return Opened(FInner.OpenKey(Root, Path, Access, Key));
    }
    std::uint32_t QueryValue(platform::TRegKeyHandle Key, const std::string& Name,
                             std::uint32_t& Type, std::uint32_t& Size) override {
        Calls.push_back("QueryValue " + Name);
        return FInner.QueryValue(Key, Name, Type, Size);
    }
    std::uint32_t ReadValue(platform::TRegKeyHandle Key, const std::string& Name,
                            std::uint32_t& Type, std::vector<std::uint8_t>& Data) override {
        Calls.push_back("ReadValue " + Name);
        return FInner.ReadValue(Key, Name, Type, Data);
    }
    std::uint32_t WriteValue(platform::TRegKeyHandle Key, const std::string& Name,
                             std::uint32_t Type, std::span<const std::uint8_t> Data) override {
        Calls.push_back("WriteValue " + Name);
        if (auto Failing = FailingWrites.find(Name); Failing != FailingWrites.end())
            return Failing->second;
        return FInner.WriteValue(Key, Name, Type, Data);
    }
    std::uint32_t ValueNames(platform::TRegKeyHandle Key,
                             std::vector<std::string>& Names) override {
        Calls.push_back("ValueNames");
        return FInner.ValueNames(Key, Names);
    }
    std::uint32_t DeleteKeyTree(platform::TRegRoot Root, const std::string& Path) override {
        Calls.push_back("DeleteKeyTree " + Path);
        return FInner.DeleteKeyTree(Root, Path);
    }
    std::uint32_t CloseKey(platform::TRegKeyHandle Key) override {
        Calls.push_back("CloseKey");
        --OpenKeys;
        return FInner.CloseKey(Key);
    }

private:
    std::uint32_t Opened(std::uint32_t Error) {
        if (Error == platform::ErrorSuccess)
            ++OpenKeys;
        return Error;
    }

    platform::IRegistry& FInner;
};

} // namespace q7n::testing
