// The program's resources, as Windows reads them from the module: the version information, the
// manifest and the icon. The test program carries the same resource script as q7nconfig.exe.
#include "app/windows/Resources.h"

#include "app/Version.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(Resources, VersionManifestAndIconAsWindowsReadsThem) {
    wchar_t Path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, Path, MAX_PATH), 0u);
    DWORD Ignored = 0;
    std::vector<char> Info(GetFileVersionInfoSizeW(Path, &Ignored));
    ASSERT_FALSE(Info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(Path, 0, DWORD(Info.size()), Info.data()));
    VS_FIXEDFILEINFO* Fixed = nullptr;
    UINT Size = 0;
    ASSERT_TRUE(VerQueryValueW(Info.data(), L"\\", reinterpret_cast<void**>(&Fixed), &Size));
    EXPECT_EQ(Fixed->dwFileVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(Fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(Fixed->dwProductVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(Fixed->dwProductVersionLS, 0u);
    EXPECT_STREQ(q7n::app::FileVersion, "3.0.0.0");
    EXPECT_STREQ(q7n::app::ProductVersion, "1.0.0.0");
    WORD* Translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(Info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&Translation), &Size));
    EXPECT_EQ(Translation[0], 0x0419); // Russian
    EXPECT_EQ(Translation[1], 1251);
    wchar_t* Text = nullptr;
    ASSERT_TRUE(VerQueryValueW(Info.data(), L"\\StringFileInfo\\041904E3\\ProductVersion",
                               reinterpret_cast<void**>(&Text), &Size));
    EXPECT_STREQ(Text, L"1.0.0.0");

    HMODULE Module = GetModuleHandleW(nullptr);
    HRSRC Manifest = FindResourceW(Module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_TRUE(Manifest);
    const std::string Xml(static_cast<const char*>(LockResource(LoadResource(Module, Manifest))),
                          SizeofResource(Module, Manifest));
    EXPECT_NE(Xml.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(Xml.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(Xml.find("version=\"3.0.0.0\""), std::string::npos);

    // The icon: 16, 24, 32 and 48 pixels, each in 256 colours and in 32-bit colour.
    HRSRC Group = FindResourceW(Module, MAKEINTRESOURCEW(IDI_MAINICON), MAKEINTRESOURCEW(14));
    ASSERT_TRUE(Group);
#pragma pack(push, 2)
    struct TEntry {
        BYTE Width, Height, Colours, Reserved;
        WORD Planes, BitCount;
        DWORD Bytes;
        WORD Id;
    };
    struct TDirectory {
        WORD Reserved, Type, Count;
        TEntry Entries[1];
    };
#pragma pack(pop)
    const auto* Directory =
        static_cast<const TDirectory*>(LockResource(LoadResource(Module, Group)));
    std::set<std::pair<int, int>> Images;
    for (WORD Index = 0; Index < Directory->Count; ++Index)
        Images.insert({Directory->Entries[Index].Width, Directory->Entries[Index].BitCount});
    EXPECT_EQ(Images,
              (std::set<std::pair<int, int>>{
                  {16, 8}, {24, 8}, {32, 8}, {48, 8}, {16, 32}, {24, 32}, {32, 32}, {48, 32}}));
}

} // namespace
