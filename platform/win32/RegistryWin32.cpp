#include "platform/win32/RegistryWin32.h"

#include "base/UniqueHandle.h"
#include "platform/win32/Win32Text.h"

#include <windows.h>

#include <cstring>
#include <new>
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

// Runs Body, turning conversion errors into their codes.
template <class TBody> std::uint32_t Guarded(TBody Body) {
    try {
        return static_cast<std::uint32_t>(Body());
    } catch (const std::system_error& E) {
        return static_cast<std::uint32_t>(E.code().value());
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

// The value's data as stored, however long, asking again when it grew in between.
LSTATUS ReadRaw(HKEY Key, const std::wstring& Name, DWORD& Type, std::vector<std::uint8_t>& Data) {
    DWORD Size = 0;
    LSTATUS Status = ::RegQueryValueExW(Key, Name.c_str(), nullptr, &Type, nullptr, &Size);
    while (Status == ERROR_SUCCESS) {
        Data.resize(Size);
        DWORD Got = Size;
        Status = ::RegQueryValueExW(Key, Name.c_str(), nullptr, &Type,
                                    Data.empty() ? nullptr : Data.data(), &Got);
        if (Status == ERROR_SUCCESS) {
            Data.resize(Got);
            return ERROR_SUCCESS;
        }
        if (Status == ERROR_MORE_DATA) {
            Size = Got;
            Status = ERROR_SUCCESS;
        }
    }
    return Status;
}

// UTF-16 text data as UTF-8, zero characters and all; an odd last byte has no character.
std::vector<std::uint8_t> WideDataToUtf8(const std::vector<std::uint8_t>& Raw) {
    std::wstring Wide(Raw.size() / sizeof(wchar_t), L'\0');
    std::memcpy(Wide.data(), Raw.data(), Wide.size() * sizeof(wchar_t));
    std::string Narrow = WideToUtf8(Wide);
    return std::vector<std::uint8_t>(Narrow.begin(), Narrow.end());
}

LSTATUS ReadConverted(HKEY Key, const std::string& Name, std::uint32_t& Type,
                      std::vector<std::uint8_t>& Data) {
    DWORD RawType = 0;
    std::vector<std::uint8_t> Raw;
    LSTATUS Status = ReadRaw(Key, WideName(Name), RawType, Raw);
    if (Status != ERROR_SUCCESS)
        return Status;
    Type = RawType;
    Data = IsRegTextType(RawType) ? WideDataToUtf8(Raw) : std::move(Raw);
    return ERROR_SUCCESS;
}

} // namespace

std::uint32_t TWin32Registry::CreateKey(TRegRoot Root, const std::string& Path,
                                        std::uint32_t Access, TRegKeyHandle& Key,
                                        std::uint32_t& Disposition) {
    Key = 0;
    return Guarded([&] {
        TWin32Key Created;
        DWORD Found = 0;
        LSTATUS Status = ::RegCreateKeyExW(RootKey(Root), KeyPathName(Path).c_str(), 0, nullptr,
                                           REG_OPTION_NON_VOLATILE, Access | KEY_WOW64_32KEY,
                                           nullptr, Created.Address(), &Found);
        if (Status == ERROR_SUCCESS) {
            Key = reinterpret_cast<TRegKeyHandle>(Created.Release());
            Disposition = Found;
        }
        return Status;
    });
}

std::uint32_t TWin32Registry::OpenKey(TRegRoot Root, const std::string& Path, std::uint32_t Access,
                                      TRegKeyHandle& Key) {
    Key = 0;
    return Guarded([&] {
        TWin32Key Opened;
        LSTATUS Status = ::RegOpenKeyExW(RootKey(Root), KeyPathName(Path).c_str(), 0,
                                         Access | KEY_WOW64_32KEY, Opened.Address());
        if (Status == ERROR_SUCCESS)
            Key = reinterpret_cast<TRegKeyHandle>(Opened.Release());
        return Status;
    });
}

std::uint32_t TWin32Registry::QueryValue(TRegKeyHandle Key, const std::string& Name,
                                         std::uint32_t& Type, std::uint32_t& Size) {
    return Guarded([&] {
        DWORD RawType = 0;
        DWORD RawSize = 0;
        std::wstring Wide = WideName(Name);
        LSTATUS Status =
            ::RegQueryValueExW(AsKey(Key), Wide.c_str(), nullptr, &RawType, nullptr, &RawSize);
        if (Status != ERROR_SUCCESS)
            return Status;
        if (!IsRegTextType(RawType)) {
            Type = RawType;
            Size = RawSize;
            return Status;
        }
        // The size of text is that of its UTF-8 form.
        std::vector<std::uint8_t> Data;
        Status = ReadConverted(AsKey(Key), Name, Type, Data);
        if (Status == ERROR_SUCCESS)
            Size = static_cast<std::uint32_t>(Data.size());
        return Status;
    });
}

std::uint32_t TWin32Registry::ReadValue(TRegKeyHandle Key, const std::string& Name,
                                        std::uint32_t& Type, std::vector<std::uint8_t>& Data) {
    return Guarded([&] { return ReadConverted(AsKey(Key), Name, Type, Data); });
}

std::uint32_t TWin32Registry::WriteValue(TRegKeyHandle Key, const std::string& Name,
                                         std::uint32_t Type, std::span<const std::uint8_t> Data) {
    return Guarded([&] {
        std::wstring Wide = WideName(Name);
        if (!IsRegTextType(Type)) {
            if (Data.size() > MAXDWORD)
                return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER);
            return ::RegSetValueExW(AsKey(Key), Wide.c_str(), 0, Type, Data.data(),
                                    static_cast<DWORD>(Data.size()));
        }
        // The text given, its zero characters included. Windows adds a missing terminator when
        // the character after the data is a zero, which it always is in a std::wstring.
        std::wstring Text =
            Utf8ToWide(std::string_view(reinterpret_cast<const char*>(Data.data()), Data.size()));
        if (Text.size() > MAXDWORD / sizeof(wchar_t))
            return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER);
        return ::RegSetValueExW(AsKey(Key), Wide.c_str(), 0, Type,
                                reinterpret_cast<const BYTE*>(Text.data()),
                                static_cast<DWORD>(Text.size() * sizeof(wchar_t)));
    });
}

std::uint32_t TWin32Registry::ValueNames(TRegKeyHandle Key, std::vector<std::string>& Names) {
    return Guarded([&] {
        Names.clear();
        std::vector<wchar_t> Buffer(ValueNameCapacity);
        for (DWORD Index = 0;; ++Index) {
            DWORD Length = ValueNameCapacity;
            LSTATUS Status = ::RegEnumValueW(AsKey(Key), Index, Buffer.data(), &Length, nullptr,
                                             nullptr, nullptr, nullptr);
            if (Status == ERROR_NO_MORE_ITEMS)
                return static_cast<LSTATUS>(ERROR_SUCCESS);
            if (Status != ERROR_SUCCESS)
                return Status;
            Names.push_back(WideToUtf8(std::wstring_view(Buffer.data(), Length)));
        }
    });
}

std::uint32_t TWin32Registry::DeleteKeyTree(TRegRoot Root, const std::string& Path) {
    return Guarded([&] {
        std::wstring Wide = KeyPathName(Path);
        if (Wide.find_first_not_of(L'\\') == std::wstring::npos)
            return static_cast<LSTATUS>(ERROR_INVALID_PARAMETER); // never the root itself
        TWin32Key Key;
        LSTATUS Status = ::RegOpenKeyExW(RootKey(Root), Wide.c_str(), 0,
                                         DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE |
                                             KEY_SET_VALUE | KEY_WOW64_32KEY,
                                         Key.Address());
        if (Status != ERROR_SUCCESS)
            return Status;
        // Empties the key, then deletes it in the same view.
        Status = ::RegDeleteTreeW(Key.Get(), nullptr);
        Key.Reset();
        if (Status != ERROR_SUCCESS)
            return Status;
        return ::RegDeleteKeyExW(RootKey(Root), Wide.c_str(), KEY_WOW64_32KEY, 0);
    });
}

std::uint32_t TWin32Registry::CloseKey(TRegKeyHandle Key) {
    return static_cast<std::uint32_t>(::RegCloseKey(AsKey(Key)));
}

IRegistry& DefaultRegistry() {
    static TWin32Registry Registry;
    return Registry;
}

} // namespace q7n::platform
