#include "platform/RegistryExport.h"

#include "base/testsupport/StatusCode.h"
#include "base/testsupport/TemporaryFolder.h"
#include "platform/FileSystem.h"
#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"
#include "platform/UnicodeText.h"
#include "platform/testsupport/TestRegistry.h"

#include <gtest/gtest.h>

using namespace q7n::platform;
using q7n::testing::Code;

namespace {

constexpr TRegRoot Hklm = TRegRoot::rrLocalMachine;
const std::string Source = "Software\\Q7NExportTests\\Source";

class RegistryExport : public ::testing::Test {
protected:
    q7n::testing::TTestRegistry FTest{"Software\\Q7NExportTests"};
    IRegistry& FRegistry = FTest.Backend;
};

// What the registry editor reads: a byte-order mark and UTF-16LE.
std::string AsRegFile(const std::string& Text) {
    std::string File = "\xFF\xFE";
    std::u16string Wide = Utf8ToUtf16(Text).value();
    for (char16_t Unit : Wide) {
        File += static_cast<char>(Unit & 0xFF);
        File += static_cast<char>(Unit >> 8);
    }
    return File;
}

} // namespace

TEST_F(RegistryExport, WritesEachTypeAsTheRegistryEditorDoes) {
    {
        TRegKey Key(FRegistry);
        ASSERT_EQ(Code(Key.Create(Hklm, Source, KeyAllAccess)), ErrorSuccess);
        std::vector<std::uint8_t> Binary;
        for (std::uint8_t I = 0; I < 30; ++I)
            Binary.push_back(static_cast<std::uint8_t>(I * 9));
        // In the order of their names, which is the order Wine lists them in.
        auto Write = [&](const std::string& Name, std::uint32_t Type,
                         const std::vector<std::uint8_t>& Data) {
            ASSERT_EQ(Code(Key.WriteValue(Name, Type, Data)), ErrorSuccess) << Name;
        };
        Write("", RegSz, RegTextData("default"));
        Write("a dword", RegDword, RegDwordData(0x2A));
        Write("b binary", RegBinary, Binary);
        Write("c text", RegSz, RegTextData("C:\\Q7N\\\"quoted\""));
        Write("d Имя", RegSz, RegTextData("Значение"));
        Write("e expand", RegExpandSz, RegTextData("%T"));
        Write("f lines", RegSz, RegTextData("a\nb"));
        Write("g nodata", RegSz, std::vector<std::uint8_t>{});
        Write("h qword", RegQword, RegDoubleData(1.0));
    }
    q7n::TStatusOr<std::string> File =
        ExportRegistryKey(FRegistry, Hklm, Source, "\\Software\\Shown\\Key");
    ASSERT_EQ(Code(File), ErrorSuccess);
    EXPECT_EQ(*File, AsRegFile("Windows Registry Editor Version 5.00\r\n"
                               "\r\n"
                               "[HKEY_LOCAL_MACHINE\\Software\\Shown\\Key]\r\n"
                               "@=\"default\"\r\n"
                               "\"a dword\"=dword:0000002a\r\n"
                               "\"b binary\"=hex:00,09,12,1b,24,2d,36,3f,48,51,5a,63,6c,75,7e,87,"
                               "90,99,a2,ab,b4,\\\r\n"
                               "  bd,c6,cf,d8,e1,ea,f3,fc,05\r\n"
                               "\"c text\"=\"C:\\\\Q7N\\\\\\\"quoted\\\"\"\r\n"
                               "\"d Имя\"=\"Значение\"\r\n"
                               "\"e expand\"=hex(2):25,00,54,00,00,00\r\n"
                               "\"f lines\"=hex(1):61,00,0a,00,62,00,00,00\r\n"
                               "\"g nodata\"=hex(1):\r\n"
                               "\"h qword\"=hex(b):00,00,00,00,00,00,f0,3f\r\n"
                               "\r\n"));
}

TEST_F(RegistryExport, WhatTheFormatCannotHoldIsRefused) {
    EXPECT_EQ(Code(ExportRegistryKey(FRegistry, Hklm, Source, Source)), ErrorFileNotFound);
    TRegKey Key(FRegistry);
    ASSERT_EQ(Code(Key.Create(Hklm, Source, KeyAllAccess)), ErrorSuccess);
    q7n::TStatusOr<std::string> File = ExportRegistryKey(FRegistry, Hklm, Source, Source);
    ASSERT_EQ(Code(File), ErrorSuccess);
    EXPECT_EQ(*File, AsRegFile("Windows Registry Editor Version 5.00\r\n\r\n"
                               "[HKEY_LOCAL_MACHINE\\Software\\Q7NExportTests\\Source]\r\n\r\n"));
    ASSERT_EQ(Code(Key.WriteValue("two\nlines", RegDword, RegDwordData(1))), ErrorSuccess);
    EXPECT_EQ(Code(ExportRegistryKey(FRegistry, Hklm, Source, Source)), ErrorInvalidParameter);
}

TEST(RegistryExportPath, SoftwareKeysOfThe32BitViewLieBelowWow6432Node) {
    EXPECT_EQ(PathIn32BitViewOn64BitWindows("Software\\TAVO\\Q7NService"),
              "Software\\WOW6432Node\\TAVO\\Q7NService");
    EXPECT_EQ(PathIn32BitViewOn64BitWindows("\\SOFTWARE\\TAVO"), "\\SOFTWARE\\WOW6432Node\\TAVO");
    EXPECT_EQ(PathIn32BitViewOn64BitWindows("System\\TAVO"), "System\\TAVO");
    EXPECT_EQ(PathIn32BitViewOn64BitWindows("Software"), "Software");
    EXPECT_EQ(PathIn32BitViewOn64BitWindows("SoftwareX\\TAVO"), "SoftwareX\\TAVO");
}

TEST(RegistryExportFile, IsSavedUnderAUtf8NameAndReplacesTheOldFile) {
    q7n::testing::TTemporaryFolder Folder;
    const std::string Path = Folder.File("") + "Настройки Q7N.reg";
    ASSERT_TRUE(SaveRegistryExportFile(Path, "old content, longer than the new"));
    ASSERT_TRUE(SaveRegistryExportFile(Path, std::string("\xFF\xFE\0\0", 4)));
    EXPECT_EQ(ReadWholeFile(Path), std::string("\xFF\xFE\0\0", 4));
    EXPECT_FALSE(SaveRegistryExportFile(Folder.File("missing") + "/x.reg", "data"));
}
