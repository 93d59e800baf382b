#include "platform/win32/RegistryWin32.h"

#include "base/testsupport/StatusCode.h"
#include "platform/RegistryData.h"
#include "platform/RegistryExport.h"
#include "platform/RegistryKey.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

using namespace q7n::platform;
using q7n::testing::Code;

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

// The registry editor of each bitness on 64-bit Windows: the 64-bit one in the Windows folder,
// the 32-bit one in SysWOW64. Named from the Windows folder, which no file-system redirection
// touches (a 32-bit program asking for System32 would get SysWOW64), so each build starts the
// same editor.
std::wstring RegistryEditor(bool ThirtyTwoBit) {
    wchar_t Windows[MAX_PATH] = {};
    if (::GetWindowsDirectoryW(Windows, MAX_PATH) == 0)
        return L"regedit.exe";
    return std::wstring(Windows) + (ThirtyTwoBit ? L"\\SysWOW64\\regedit.exe" : L"\\regedit.exe");
}

// How an editor's run went: whether it started, whether it ran as a 32-bit program on 64-bit
// Windows, and its exit code or the error of its start.
struct TEditorRun {
    bool Started = false;
    bool Wow64 = false;
    DWORD Exit = WAIT_TIMEOUT;
};

// Runs Editor on File without questions. File-system redirection is off while it starts: Windows
// never redirects the Windows folder, but Wine starts its 32-bit build of an editor there for a
// 32-bit caller unless redirection is off.
TEditorRun ImportWithRegedit(const std::wstring& Editor, const std::wstring& File) {
    std::wstring Command = L"\"" + Editor + L"\" /s \"" + File + L"\"";
    STARTUPINFOW Startup = {};
    Startup.cb = sizeof(Startup);
    PROCESS_INFORMATION Process = {};
    TEditorRun Run;
    PVOID Redirection = nullptr;
    const bool RedirectionOff = ::Wow64DisableWow64FsRedirection(&Redirection);
    Run.Started = ::CreateProcessW(Editor.c_str(), Command.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &Startup, &Process);
    const DWORD StartError = ::GetLastError();
    if (RedirectionOff)
        ::Wow64RevertWow64FsRedirection(Redirection);
    if (!Run.Started) {
        Run.Exit = StartError;
        return Run;
    }
    BOOL Wow64 = FALSE;
    Run.Wow64 = ::IsWow64Process(Process.hProcess, &Wow64) && Wow64;
    if (::WaitForSingleObject(Process.hProcess, 60000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(Process.hProcess, &Run.Exit);
    ::CloseHandle(Process.hThread);
    ::CloseHandle(Process.hProcess);
    return Run;
}

using TValues = std::map<std::string, std::pair<std::uint32_t, std::vector<std::uint8_t>>>;

TValues ValuesOf(IRegistry& Registry, const std::string& Path) {
    TValues Values;
    TRegKey Key(Registry);
    if (!Key.Open(TRegRoot::rrLocalMachine, Path, KeyRead).Ok())
        return Values;
    for (const std::string& Name : Key.ValueNames().ValueOr({})) {
        TRegValue Value = Key.ReadValue(Name).ValueOr({0xFFFFFFFF, {}});
        Values[Name] = {Value.Type, Value.Data};
    }
    return Values;
}

// Both builds write where a 32-bit program reads: below Wow6432Node of the 64-bit view (the
// 32-bit build by WOW64's redirection, the 64-bit one by KEY_WOW64_32KEY).
TEST(RegistryWin32, KeysLiveInThe32BitView) {
    TWin32Registry Registry;
    {
        TRegKey Key(Registry);
        ASSERT_EQ(Code(Key.Create(TRegRoot::rrLocalMachine, TestKey + "\\View", KeyAllAccess)),
                  ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("where", RegSz, RegTextData("32-bit"))), ErrorSuccess);
    }
    EXPECT_EQ(ReadIn64BitView(L"Software\\Wow6432Node\\Q7NWin32Tests\\View", L"where"), L"32-bit");
    EXPECT_EQ(ReadIn64BitView(L"Software\\Q7NWin32Tests\\View", L"where"), L"<2>");
    EXPECT_EQ(Code(Registry.DeleteKeyTree(TRegRoot::rrLocalMachine, TestKey)), ErrorSuccess);
    EXPECT_EQ(ReadIn64BitView(L"Software\\Wow6432Node\\Q7NWin32Tests\\View", L"where"), L"<2>");
}

// Text that other programs wrote through the wide entry points: an odd byte count and no
// terminator are read without a fault, and a long text is never cut at a buffer's size.
TEST(RegistryWin32, ForeignTextIsReadWhole) {
    TWin32Registry Registry;
    TRegKey Key(Registry);
    ASSERT_EQ(Code(Key.Create(TRegRoot::rrLocalMachine, TestKey, KeyAllAccess)), ErrorSuccess);
    HKEY Raw = reinterpret_cast<HKEY>(Key.Handle());
    ASSERT_EQ(::RegSetValueExW(Raw, L"odd", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"ab"), 3),
              ERROR_SUCCESS);
    std::wstring Long(40000, L'\x0416');
    ASSERT_EQ(::RegSetValueExW(Raw, L"long", 0, REG_EXPAND_SZ,
                               reinterpret_cast<const BYTE*>(Long.c_str()),
                               static_cast<DWORD>((Long.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);

    q7n::TStatusOr<TRegValue> Odd = Key.ReadValue("odd");
    ASSERT_EQ(Code(Odd), ErrorSuccess);
    EXPECT_EQ(Odd->Type, RegSz);
    EXPECT_EQ(RegDataText(Odd->Data), "a");
    q7n::TStatusOr<TRegValue> Read = Key.ReadValue("long");
    ASSERT_EQ(Code(Read), ErrorSuccess);
    EXPECT_EQ(Read->Type, RegExpandSz);
    EXPECT_EQ(Read->Data.size(), 40000u * 2 + 1); // two UTF-8 bytes a letter, and the terminator
    q7n::TStatusOr<TRegValueInfo> Queried = Key.QueryValue("long");
    ASSERT_EQ(Code(Queried), ErrorSuccess);
    EXPECT_EQ(Queried->Size, Read->Data.size());
    EXPECT_EQ(Code(Key.Close()), ErrorSuccess);
    EXPECT_EQ(Code(Registry.DeleteKeyTree(TRegRoot::rrLocalMachine, TestKey)), ErrorSuccess);
}

// Writes a key with a value of every kind, exports it naming the key as Shown, has the registry
// editor Editor import the file, and expects every value back below Imported, in the 32-bit view
// where our programs read: its type, its bytes, Cyrillic and escaped text, wrapped hex lines.
void ExpectImportedUnchanged(const std::wstring& Editor,
                             std::string (*Shown)(const std::string& Imported)) {
    TWin32Registry Registry;
    const std::string Source = TestKey + "\\Source";
    const std::string Imported = TestKey + "\\Imported\\Ключ";
    {
        TRegKey Key(Registry);
        ASSERT_EQ(Code(Key.Create(TRegRoot::rrLocalMachine, Source, KeyAllAccess)), ErrorSuccess);
        std::vector<std::uint8_t> Binary(100);
        for (std::size_t I = 0; I < Binary.size(); ++I)
            Binary[I] = static_cast<std::uint8_t>(255 - I);
        ASSERT_EQ(Code(Key.WriteValue("rgCfgFile", RegSz,
                                      RegTextData("C:\\Сервис\\\"Q7N\"\\Q7NPorts.xml"))),
                  ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("", RegSz, RegTextData("default"))), ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("Пусто", RegSz, RegTextData(""))), ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("NoData", RegSz, std::vector<std::uint8_t>{})), ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("Lines", RegSz, RegTextData("one\r\ntwo"))), ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("Number", RegDword, RegDwordData(0xDEADBEEF))), ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("Double", RegBinary, RegDoubleData(45000.5))), ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("Long", RegBinary, Binary)), ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("Expand", RegExpandSz, RegTextData("%SystemRoot%\\Путь"))),
                  ErrorSuccess);
        ASSERT_EQ(
            Code(Key.WriteValue("Multi", RegMultiSz, std::vector<std::uint8_t>{'a', 0, 'b', 0, 0})),
            ErrorSuccess);
        ASSERT_EQ(Code(Key.WriteValue("Quad", RegQword,
                                      std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8})),
                  ErrorSuccess);
    }
    q7n::TStatusOr<std::string> File =
        ExportRegistryKey(Registry, TRegRoot::rrLocalMachine, Source, Shown(Imported));
    ASSERT_EQ(Code(File), ErrorSuccess);
    wchar_t Temp[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH, Temp), 0u);
    std::wstring Path = std::wstring(Temp) + L"q7n-export-test.reg";
    {
        std::ofstream Out(std::filesystem::path(Path), std::ios::binary);
        Out << *File;
        ASSERT_TRUE(Out.good());
    }
    const bool ThirtyTwoBitEditor = Editor == RegistryEditor(true);
    TEditorRun Run = ImportWithRegedit(Editor, Path);
    ::DeleteFileW(Path.c_str());
    if (!Run.Started) {
        q7n::IgnoreStatus(Registry.DeleteKeyTree(TRegRoot::rrLocalMachine, TestKey));
        // Under Wine without its 32-bit part there is no 32-bit registry editor to run.
        if (ThirtyTwoBitEditor)
            GTEST_SKIP() << "the 32-bit registry editor does not start here (error " << Run.Exit
                         << "): no 32-bit Windows programs on this machine";
        FAIL() << "the registry editor did not start: error " << Run.Exit;
    }
    EXPECT_EQ(Run.Wow64, ThirtyTwoBitEditor) << "the editor started is not of the bitness asked";
    EXPECT_EQ(Run.Exit, 0u);

    TValues Expected = ValuesOf(Registry, Source);
    EXPECT_EQ(Expected.size(), 11u);
    EXPECT_EQ(ValuesOf(Registry, Imported), Expected);
    EXPECT_EQ(Code(Registry.DeleteKeyTree(TRegRoot::rrLocalMachine, TestKey)), ErrorSuccess);
}

std::string AsNamed(const std::string& Path) {
    return Path;
}

} // namespace

// The default export file names the key below WOW6432Node, as the 64-bit registry editor (the
// one Windows opens) reaches the 32-bit view; it must not name the key plainly, which that
// editor would put into the 64-bit view where no program of ours looks.
TEST(RegistryWin32, ExportImportsUnchangedInThe64BitRegistryEditor) {
    ExpectImportedUnchanged(RegistryEditor(false), PathIn32BitViewOn64BitWindows);
}

// The file for 32-bit Windows names the key plainly: the 32-bit registry editor, of 32-bit
// Windows or SysWOW64's on 64-bit Windows, is redirected into the 32-bit view by itself.
TEST(RegistryWin32, ExportFor32BitWindowsImportsUnchangedInThe32BitRegistryEditor) {
    ExpectImportedUnchanged(RegistryEditor(true), AsNamed);
}
