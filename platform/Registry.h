#pragma once

#include "base/Status.h"
#include "base/StatusOr.h"
#include "base/UniqueHandle.h"
#include "platform/ServiceControlManager.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The registry operations of the host platform. Names, paths and text data are UTF-8: the
// backends behave like the ANSI entry points with UTF-8 as their code page, so REG_SZ,
// REG_EXPAND_SZ and REG_MULTI_SZ data are UTF-8 bytes with their terminating zero (text written
// without one is given one, as Windows does); data of every other type are raw bytes. Key
// handles are opaque; 0 is none.
namespace q7n::platform {

using TRegKeyHandle = std::uintptr_t;

// The roots below which keys are opened.
enum class TRegRoot { rrLocalMachine };

// A root's name as the registry editor shows it.
constexpr const char* RegRootName(TRegRoot Root) {
    switch (Root) {
    case TRegRoot::rrLocalMachine:
        break;
    }
    return "HKEY_LOCAL_MACHINE";
}

// Windows error codes of the registry and of the calls that fill buffers, beside those of
// ServiceControlManager.h.
inline constexpr std::uint32_t ErrorNotEnoughMemory = 8;
inline constexpr std::uint32_t ErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t ErrorBadPathname = 161;
inline constexpr std::uint32_t ErrorMoreData = 234;
inline constexpr std::uint32_t ErrorBadDb = 1009;
inline constexpr std::uint32_t ErrorRegistryCorrupt = 1015;
inline constexpr std::uint32_t ErrorRegistryIoFailed = 1016;
inline constexpr std::uint32_t ErrorKeyDeleted = 1018;
inline constexpr std::uint32_t ErrorNoUnicodeTranslation = 1113;

// Value types.
inline constexpr std::uint32_t RegNone = 0;
inline constexpr std::uint32_t RegSz = 1;
inline constexpr std::uint32_t RegExpandSz = 2;
inline constexpr std::uint32_t RegBinary = 3;
inline constexpr std::uint32_t RegDword = 4;
inline constexpr std::uint32_t RegMultiSz = 7;
inline constexpr std::uint32_t RegQword = 11;

// Whether data of Type are text, which the Windows backend converts between UTF-8 and UTF-16.
constexpr bool IsRegTextType(std::uint32_t Type) {
    return Type == RegSz || Type == RegExpandSz || Type == RegMultiSz;
}

// Key access rights.
inline constexpr std::uint32_t KeyQueryValue = 0x0001;
inline constexpr std::uint32_t KeySetValue = 0x0002;
inline constexpr std::uint32_t KeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t KeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t KeyRead = 0x20019;
inline constexpr std::uint32_t KeyWrite = 0x20006;
inline constexpr std::uint32_t KeyAllAccess = 0xF003F;

// What CreateKey found.
inline constexpr std::uint32_t RegCreatedNewKey = 1;
inline constexpr std::uint32_t RegOpenedExistingKey = 2;

class IRegistry;

// Closes a key through the registry it came from.
struct TRegKeyTraits {
    using THandle = TRegKeyHandle;
    TRegKeyTraits() = default;
    TRegKeyTraits(IRegistry& Owner) : Registry(&Owner) {}
    static TRegKeyHandle Invalid() { return 0; }
    inline void Close(TRegKeyHandle Key) const;
    IRegistry* Registry = nullptr;
};

// Owns one open key of a registry: TRegKeyOwner(Handle, Registry).
using TRegKeyOwner = TUniqueHandle<TRegKeyTraits>;

// A key that CreateKey opened, and whether it made it (RegCreatedNewKey) or found it
// (RegOpenedExistingKey).
struct TRegCreatedKey {
    TRegKeyOwner Key;
    std::uint32_t Disposition = 0;
};

// A value's type and the size of its data in bytes.
struct TRegValueInfo {
    std::uint32_t Type = RegNone;
    std::uint32_t Size = 0;
};

// A value's type and the whole of its data.
struct TRegValue {
    std::uint32_t Type = RegNone;
    std::vector<std::uint8_t> Data;
};

// Every call answers its status: the Windows code (on every backend) with the system's text of it.
class IRegistry {
public:
    // Opens Path below Root, creating every missing key on the way (non-volatile). A path that
    // begins with a backslash is ErrorBadPathname, here as in OpenKey, in every backend: Windows
    // itself answers it in two ways (64-bit programs' RegCreateKeyExW takes it, 32-bit ones' on
    // 64-bit Windows refuse it), so the backends decide it themselves, and a caller that wants
    // the leading backslash of a key path taken drops it first (the registry saver does).
    virtual TStatusOr<TRegCreatedKey> CreateKey(TRegRoot Root, const std::string& Path,
                                                std::uint32_t Access) = 0;
    // Opens an existing key; a path that begins with a backslash is ErrorBadPathname.
    virtual TStatusOr<TRegKeyOwner> OpenKey(TRegRoot Root, const std::string& Path,
                                            std::uint32_t Access) = 0;
    // The type and the size of a value; ErrorFileNotFound when there is none.
    virtual TStatusOr<TRegValueInfo> QueryValue(TRegKeyHandle Key, const std::string& Name) = 0;
    // The whole of a value's data, whatever its size.
    virtual TStatusOr<TRegValue> ReadValue(TRegKeyHandle Key, const std::string& Name) = 0;
    // Creates or replaces a value.
    virtual TStatus WriteValue(TRegKeyHandle Key, const std::string& Name, std::uint32_t Type,
                               std::span<const std::uint8_t> Data) = 0;
    // The names of the key's values, in the backend's order.
    virtual TStatusOr<std::vector<std::string>> ValueNames(TRegKeyHandle Key) = 0;
    // Deletes a key with all its subkeys and values (the root itself cannot be deleted).
    virtual TStatus DeleteKeyTree(TRegRoot Root, const std::string& Path) = 0;
    // Closes a key that an open answered; what its owner calls.
    virtual TStatus CloseKey(TRegKeyHandle Key) = 0;

    // Where the keys are kept, for messages, with what went wrong there at the last call when
    // the backend knows more than its error code.
    virtual std::string Describe() const { return "the registry"; }

protected:
    ~IRegistry() = default;
};

inline void TRegKeyTraits::Close(TRegKeyHandle Key) const {
    IgnoreStatus(Registry->CloseKey(Key)); // a key that goes has nothing to answer to
}

// The registry of this build: the Windows registry's 32-bit view on Windows, the SQLite
// stand-in over the machine database elsewhere. It lives until the program ends.
IRegistry& DefaultRegistry();

} // namespace q7n::platform
