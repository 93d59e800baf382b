#include "settings/RegistrySaver.h"

#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"
#include "platform/SystemErrorText.h"
#include "settings/DCAppInfo.h"
#include "settings/DataContainer.h"
#include "settings/RegistryValues.h"

#include <exception>

namespace q7n {

using namespace platform;

namespace {

// Writes the setting as the class that holds its kind's value; a class that claims a kind it
// does not hold is not written.
template <class TSetting, class TEncode>
TStatus Write(const TRegKey& Key, TRegistryValueShell& Setting, std::uint32_t Type,
              TEncode Encode) {
    auto* Typed = dynamic_cast<TSetting*>(&Setting);
    return Typed ? Key.WriteValue(Setting.Name(), Type, Encode(*Typed))
                 : SystemStatus(ErrorInvalidParameter);
}

template <class TSetting, class TValue> bool Assign(TRegistryValueShell& Setting, TValue Value) {
    auto* Typed = dynamic_cast<TSetting*>(&Setting);
    if (Typed)
        Typed->SetValue(Value);
    return Typed != nullptr;
}

TStatus WriteSetting(const TRegKey& Key, TRegistryValueShell& Setting) {
    switch (Setting.DateType()) {
    case rvtInteger:
        return Write<TRegRangedValue<std::int32_t>>(Key, Setting, RegDword, [](auto& Integer) {
            return RegDwordData(static_cast<std::uint32_t>(Integer.Value()));
        });
    case rvtBoolean:
        return Write<TRegPlainValue<bool>>(Key, Setting, RegDword, [](auto& Boolean) {
            return RegDwordData(Boolean.Value() ? 1 : 0);
        });
    case rvtDateTime:
    case rvtDate:
    case rvtTime:
        return Write<TRegPlainValue<TDateTime>>(
            Key, Setting, RegBinary, [](auto& Date) { return RegDoubleData(Date.Value()); });
    case rvtFloat:
        return Write<TRegRangedValue<double>>(
            Key, Setting, RegBinary, [](auto& Float) { return RegDoubleData(Float.Value()); });
    case rvtString:
    case rvtFileName:
    case rvtIP:
        return Write<TRegPlainValue<std::string>>(
            Key, Setting, RegSz, [](auto& Text) { return RegTextData(Text.Value()); });
    case rvtFolderName:
        return Write<TRegFolder>(Key, Setting, RegSz,
                                 [](auto& Folder) { return RegTextData(Folder.StoredText()); });
    }
    return SystemStatus(ErrorInvalidParameter);
}

// Reads the setting's value and assigns it by the setting's own rule; false when the value
// cannot be read or is not stored as the setting's kind.
bool ReadSetting(const TRegKey& Key, TRegistryValueShell& Setting) {
    TStatusOr<TRegValue> Value = Key.ReadValue(Setting.Name());
    if (!Value.Ok())
        return false;
    const std::uint32_t Type = Value->Type;
    const std::vector<std::uint8_t>& Data = Value->Data;
    auto Dword = [&] {
        return Type == RegDword ? RegDataDword(Data) : std::nullopt;
    };
    auto Double = [&] {
        return Type == RegBinary ? RegDataDouble(Data) : std::nullopt;
    };
    switch (Setting.DateType()) {
    case rvtInteger: {
        std::optional<std::uint32_t> Number = Dword();
        return Number &&
               Assign<TRegRangedValue<std::int32_t>>(Setting, static_cast<std::int32_t>(*Number));
    }
    case rvtBoolean: {
        std::optional<std::uint32_t> Number = Dword();
        return Number && Assign<TRegPlainValue<bool>>(Setting, *Number != 0);
    }
    case rvtDateTime:
    case rvtDate:
    case rvtTime: {
        std::optional<double> Number = Double();
        return Number && Assign<TRegPlainValue<TDateTime>>(Setting, *Number);
    }
    case rvtFloat: {
        std::optional<double> Number = Double();
        return Number && Assign<TRegRangedValue<double>>(Setting, *Number);
    }
    case rvtString:
    case rvtFileName:
    case rvtFolderName:
    case rvtIP:
        // Expandable text is taken as it stands, not expanded.
        return (Type == RegSz || Type == RegExpandSz) &&
               Assign<TRegPlainValue<std::string>>(Setting, RegDataText(Data));
    }
    return false;
}

} // namespace

TRegistrySaver::TRegistrySaver(TDataContainer* Container)
    : FItems(std::make_unique<TRegistrySaverItems>()), FContainer(Container) {}

std::string IdentityKeyPath(const std::string& FirmName, const std::string& ApplicationName,
                            unsigned ApplicationIndex, const std::string& RegistryKey) {
    return "Software\\" + FirmName + "\\" + ApplicationName + "\\" +
           std::to_string(ApplicationIndex) + "\\" + RegistryKey;
}

std::optional<std::string> TRegistrySaver::KeyPath(const std::string& Path) const {
    std::string Built = Path;
    if (Built.empty()) {
        const TDCAppInfo* Identity = FContainer->DCAppInfo();
        if (!Identity)
            return std::nullopt;
        Built = IdentityKeyPath(Identity->FirmName(), Identity->ApplicationName(),
                                Identity->ApplicationIndex(), FContainer->RegistryKey());
    }
    // A path of separators alone would name the root itself: no key, as without an identity.
    if (Built.find_first_not_of('\\') == std::string::npos)
        return std::nullopt;
    if (Built.front() == '\\')
        Built.erase(0, 1);
    return Built;
}

void TRegistrySaver::SaveValues(const std::string& Path) {
    TRegKey Key(FContainer->Registry());
    try {
        // The outcome is not looked at: writes to a key that did not open fail one by one.
        if (std::optional<std::string> Built = KeyPath(Path))
            IgnoreStatus(Key.Create(FRootKey, *Built, KeyAllAccess));
        for (int I = 0; I < FItems->Count(); ++I) {
            TRegistryValueShell* Setting = FItems->Items(I);
            if (!Setting->FModified)
                continue;
            Setting->FModified = false;
            if (!WriteSetting(Key, *Setting).Ok())
                break;
        }
    } catch (const std::exception&) {
        // Registry failures are dropped, as the passes' callers expect.
    }
}

void TRegistrySaver::LoadValues(const std::string& Path) {
    TRegKey Key(FContainer->Registry());
    try {
        // As for the save: a key that did not open lacks every value.
        if (std::optional<std::string> Built = KeyPath(Path))
            IgnoreStatus(Key.Open(FRootKey, *Built, KeyRead));
        for (int I = 0; I < FItems->Count(); ++I) {
            TRegistryValueShell* Setting = FItems->Items(I);
            // A value the key lacks, or a key that did not open: the next save writes it.
            if (!Key.QueryValue(Setting->Name()).Ok()) {
                Setting->FModified = true;
                continue;
            }
            if (!ReadSetting(Key, *Setting))
                break;
        }
    } catch (const std::exception&) {
        // As for the save.
    }
}

} // namespace q7n
