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
    // Sharp at every DPI: per-monitor awareness, and the systems it was tested on.
    EXPECT_NE(Xml.find(">PerMonitorV2</dpiAwareness>"), std::string::npos);
    EXPECT_NE(Xml.find(">true/pm</dpiAware>"), std::string::npos);
    for (const char* Os :
         {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
          "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(Xml.find(std::string("<supportedOS Id=\"{") + Os + "}\"/>"), std::string::npos)
            << Os;

    // The icon: 16 to 48 pixels and their larger sizes up to 2 times, each in 256 colours and in
    // 32-bit colour.
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
    std::set<std::pair<int, int>> Expected;
    for (int Bits : {8, 32})
        for (int Width : {16, 24, 32, 48, 64, 72, 96})
            Expected.insert({Width, Bits});
    EXPECT_EQ(Images, Expected);
}

} // namespace
