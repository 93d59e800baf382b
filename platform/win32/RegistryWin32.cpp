#include "platform/win32/RegistryWin32.h"

#include "base/UniqueHandle.h"
#include "platform/ErrorBarrier.h"
#include "platform/SizedRead.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <cstring>
#include <system_error>
#include <utility>

namespace q7n::platform {

namespace {

// The longest value name Windows allows, in UTF-16 units, and its terminator.
constexpr DWORD ValueNameCapacity = 16384;

// One key handle of our own, closed when the object goes.
struct THkeyTraits {
    using THandle = HKEY;
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY Key) { ::RegCloseKey(Key); }
};
using TWin32Key = TUniqueHandle<THkeyTraits>;

HKEY RootKey(TRegRoot Root) {
    switch (Root) {
    case TRegRoot::rrLocalMachine:
        break;
    }
    return HKEY_LOCAL_MACHINE;
}

HKEY AsKey(TRegKeyHandle Handle) {
    return reinterpret_cast<HKEY>(Handle);
}

// A name for the wide entry points, which end it at its first zero character.
std::wstring WideName(const std::string& Name) {
    if (Name.find('\0') != std::string::npos)
        throw std::system_error(ERROR_INVALID_PARAMETER, std::system_category());
    return Utf8ToWide(Name);
}

// A key path for the wide entry points. One that begins with a backslash is refused here, in
// both builds: the 64-bit RegCreateKeyExW takes it, the 32-bit one on 64-bit Windows refuses it.
std::wstring KeyPathName(const std::string& Path) {
    if (!Path.empty() && Path.front() == '\\')
        throw std::system_error(ERROR_BAD_PATHNAME, std::system_category());
    return WideName(Path);
}

// The value's data as stored, however long, asking again when it grew in between.
std::uint32_t ReadRaw(HKEY Key, const std::wstring& Name, DWORD& Type,
                      std::vector<std::uint8_t>& Data) {
    return ReadSized(Data, [&](std::uint8_t* Buffer, std::size_t Capacity) -> TSizedAnswer {
        DWORD Size = static_cast<DWORD>(Capacity);
        LSTATUS Status = ::RegQueryValueExW(Key, Name.c_str(), nullptr, &Type, Buffer, &Size);
        // Asked without a buffer, Windows answers the size of the data.
        if (Status == ERROR_SUCCESS && !Buffer && Size > 0)
            return {ErrorMoreData, Size};
        return {static_cast<std::uint32_t>(Status), Size};
    });
}

// UTF-16 text data as UTF-8, zero characters and all; an odd last byte has no character.
std::vector<std::uint8_t> WideDataToUtf8(const std::vector<std::uint8_t>& Raw) {
    std::wstring Wide(Raw.size() / sizeof(wchar_t), L'\0');
    std::memcpy(Wide.data(), Raw.data(), Wide.size() * sizeof(wchar_t));
    std::string Narrow = WideToUtf8(Wide);
    return std::vector<std::uint8_t>(Narrow.begin(), Narrow.end());
}

TStatusOr<TRegValue> ReadConverted(HKEY Key, const std::string& Name) {
    DWORD RawType = 0;
    std::vector<std::uint8_t> Raw;
    if (std::uint32_t Error = ReadRaw(Key, WideName(Name), RawType, Raw); Error != ERROR_SUCCESS)
        return SystemStatus(Error);
    return TRegValue{RawType, IsRegTextType(RawType) ? WideDataToUtf8(Raw) : std::move(Raw)};
}

// The status of a registry call.
TStatus StatusOf(LSTATUS Status) {
    return SystemStatus(static_cast<std::uint32_t>(Status));
}

} // namespace

TStatusOr<TRegCreatedKey> TWin32Registry::CreateKey(TRegRoot Root, const std::string& Path,
                                                    std::uint32_t Access) {
    return ErrorBarrier([&]() -> TStatusOr<TRegCreatedKey> {
        HKEY Created = nullptr;
        DWORD Found = 0;
        LSTATUS Status = ::RegCreateKeyExW(RootKey(Root), KeyPathName(Path).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, Access | KEY_WOW64_32KEY,
                                           nullptr, &Created, &Found);
        if (Status != ERROR_SUCCESS)
            return StatusOf(Status);
        return TRegCreatedKey{TRegKeyOwner(reinterpret_cast<TRegKeyHandle>(Created), *this), Found};
    });
}

TStatusOr<TRegKeyOwner> TWin32Registry::OpenKey(TRegRoot Root, const std::string& Path,
                                                std::uint32_t Access) {
    return ErrorBarrier([&]() -> TStatusOr<TRegKeyOwner> {
        HKEY Opened = nullptr;
        LSTATUS Status = ::RegOpenKeyExW(RootKey(Root), KeyPathName(Path).c_str(), 0,
                                         Access | KEY_WOW64_32KEY, &Opened);
        if (Status != ERROR_SUCCESS)
            return StatusOf(Status);
        return TRegKeyOwner(reinterpret_cast<TRegKeyHandle>(Opened), *this);
    });
}

TStatusOr<TRegValueInfo> TWin32Registry::QueryValue(TRegKeyHandle Key, const std::string& Name) {
    return ErrorBarrier([&]() -> TStatusOr<TRegValueInfo> {
        DWORD RawType = 0;
        DWORD RawSize = 0;
        std::wstring Wide = WideName(Name);
        LSTATUS Status =
            ::RegQueryValueExW(AsKey(Key), Wide.c_str(), nullptr, &RawType, nullptr, &RawSize);
        if (Status != ERROR_SUCCESS)
            return StatusOf(Status);
        if (!IsRegTextType(RawType))
            return TRegValueInfo{RawType, RawSize};
        // The size of text is that of its UTF-8 form.
        TStatusOr<TRegValue> Text = ReadConverted(AsKey(Key), Name);
        if (!Text.Ok())
            return Text.Status();
        return TRegValueInfo{Text->Type, static_cast<std::uint32_t>(Text->Data.size())};
    });
}

TStatusOr<TRegValue> TWin32Registry::ReadValue(TRegKeyHandle Key, const std::string& Name) {
    return ErrorBarrier([&] { return ReadConverted(AsKey(Key), Name); });
}

TStatus TWin32Registry::WriteValue(TRegKeyHandle Key, const std::string& Name, std::uint32_t Type,
                                   std::span<const std::uint8_t> Data) {
    return ErrorBarrier([&] {
        std::wstring Wide = WideName(Name);
        if (!IsRegTextType(Type)) {
            if (Data.size() > MAXDWORD)
                return StatusOf(ERROR_INVALID_PARAMETER);
            return StatusOf(::RegSetValueExW(AsKey(Key), Wide.c_str(), 0, Type, Data.data(),
                                             static_cast<DWORD>(Data.size())));
        }
        // The text given, its zero characters included. Windows adds a missing terminator when
        // the character after the data is a zero, which it always is in a std::wstring.
        std::wstring Text =
            Utf8ToWide(std::string_view(reinterpret_cast<const char*>(Data.data()), Data.size()));
        if (Text.size() > MAXDWORD / sizeof(wchar_t))
            return StatusOf(ERROR_INVALID_PARAMETER);
        return StatusOf(::RegSetValueExW(AsKey(Key), Wide.c_str(), 0, Type,
                                         reinterpret_cast<const BYTE*>(Text.data()),
                                         static_cast<DWORD>(Text.size() * sizeof(wchar_t))));
    });
}

TStatusOr<std::vector<std::string>> TWin32Registry::ValueNames(TRegKeyHandle Key) {
    return ErrorBarrier([&]() -> TStatusOr<std::vector<std::string>> {
        std::vector<std::string> Names;
        std::vector<wchar_t> Buffer(ValueNameCapacity);
        for (DWORD Index = 0;; ++Index) {
            DWORD Length = ValueNameCapacity;
            LSTATUS Status = ::RegEnumValueW(AsKey(Key), Index, Buffer.data(), &Length, nullptr,
                                             nullptr, nullptr, nullptr);
            if (Status == ERROR_NO_MORE_ITEMS)
                return Names;
            if (Status != ERROR_SUCCESS)
                return StatusOf(Status);
            Names.push_back(WideToUtf8(std::wstring_view(Buffer.data(), Length)));
        }
    });
}

TStatus TWin32Registry::DeleteKeyTree(TRegRoot Root, const std::string& Path) {
    return ErrorBarrier([&] {
        std::wstring Wide = KeyPathName(Path);
        if (Wide.find_first_not_of(L'\\') == std::wstring::npos)
            return StatusOf(ERROR_INVALID_PARAMETER); // never the root itself
        TWin32Key Key;
        LSTATUS Status = ::RegOpenKeyExW(RootKey(Root), Wide.c_str(), 0,
                                         DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE |
                                             KEY_SET_VALUE | KEY_WOW64_32KEY,
                                         Key.Address());
        if (Status != ERROR_SUCCESS)
            return StatusOf(Status);
        // Empties the key, then deletes it in the same view.
        Status = ::RegDeleteTreeW(Key.Get(), nullptr);
        Key.Reset();
        if (Status != ERROR_SUCCESS)
            return StatusOf(Status);
        return StatusOf(::RegDeleteKeyExW(RootKey(Root), Wide.c_str(), KEY_WOW64_32KEY, 0));
    });
}

TStatus TWin32Registry::CloseKey(TRegKeyHandle Key) {
    return StatusOf(::RegCloseKey(AsKey(Key)));
}

IRegistry& DefaultRegistry() {
    static TWin32Registry Registry;
    return Registry;
}

} // namespace q7n::platform
