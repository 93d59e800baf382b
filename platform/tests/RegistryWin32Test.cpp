#include "RegistryWin32.h"

#include "RegistryData.h"
#include "RegistryKey.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace q7n::platform;

namespace {

const std::string TestKey = "Software\\Q7NWin32Tests";

// Reads a REG_SZ straight from the 64-bit registry view.
std::wstring ReadIn64BitView(const wchar_t* Key, const wchar_t* Name) {
    HKEY Opened = nullptr;
    LSTATUS Status =
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &Opened);
    if (Status != ERROR_SUCCESS)
        return L"<" + std::to_wstring(Status) + L">";
    wchar_t Buffer[256] = {};
    DWORD Size = sizeof(Buffer) - sizeof(wchar_t);
    Status =
        ::RegQueryValueExW(Opened, Name, nullptr, nullptr, reinterpret_cast<BYTE*>(Buffer), &Size);
    ::RegCloseKey(Opened);
    return Status == ERROR_SUCCESS ? Buffer : L"<" + std::to_wstring(Status) + L">";
}

} // namespace

// A 64-bit build writes where a 32-bit program reads: below Wow6432Node of the 64-bit view.
TEST(RegistryWin32, KeysLiveInThe32BitView) {
    TWin32Registry Registry;
    {
        TRegKey Key(Registry);
        ASSERT_EQ(Key.Create(TRegRoot::rrLocalMachine, TestKey + "\\View", KeyAllAccess),
                  ErrorSuccess);
        ASSERT_EQ(Key.WriteValue("where", RegSz, RegTextData("32-bit")), ErrorSuccess);
    }
    EXPECT_EQ(ReadIn64BitView(L"Software\\Wow6432Node\\Q7NWin32Tests\\View", L"where"), L"32-bit");
    EXPECT_EQ(ReadIn64BitView(L"Software\\Q7NWin32Tests\\View", L"where"), L"<2>");
    EXPECT_EQ(Registry.DeleteKeyTree(TRegRoot::rrLocalMachine, TestKey), ErrorSuccess);
    EXPECT_EQ(ReadIn64BitView(L"Software\\Wow6432Node\\Q7NWin32Tests\\View", L"where"), L"<2>");
}

// Text that other programs wrote through the wide entry points: an odd byte count and no
// terminator are read without a fault, and a long text is never cut at a buffer's size.
TEST(RegistryWin32, ForeignTextIsReadWhole) {
    TWin32Registry Registry;
    TRegKey Key(Registry);
    ASSERT_EQ(Key.Create(TRegRoot::rrLocalMachine, TestKey, KeyAllAccess), ErrorSuccess);
    HKEY Raw = reinterpret_cast<HKEY>(Key.Handle());
    ASSERT_EQ(::RegSetValueExW(Raw, L"odd", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"ab"), 3),
              ERROR_SUCCESS);
    std::wstring Long(40000, L'\x0416');
    ASSERT_EQ(::RegSetValueExW(Raw, L"long", 0, REG_EXPAND_SZ,
                               reinterpret_cast<const BYTE*>(Long.c_str()),
                               static_cast<DWORD>((Long.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);

    std::uint32_t Type = 0;
    std::vector<std::uint8_t> Data;
    ASSERT_EQ(Key.ReadValue("odd", Type, Data), ErrorSuccess);
    EXPECT_EQ(Type, RegSz);
    EXPECT_EQ(RegDataText(Data), "a");
    ASSERT_EQ(Key.ReadValue("long", Type, Data), ErrorSuccess);
    EXPECT_EQ(Type, RegExpandSz);
    EXPECT_EQ(Data.size(), 40000u * 2 + 1); // two UTF-8 bytes a letter, and the terminator
    std::uint32_t Size = 0;
    ASSERT_EQ(Key.QueryValue("long", Type, Size), ErrorSuccess);
    EXPECT_EQ(Size, Data.size());
    Key.Close();
    EXPECT_EQ(Registry.DeleteKeyTree(TRegRoot::rrLocalMachine, TestKey), ErrorSuccess);
}
