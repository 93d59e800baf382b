// The behaviour that every registry backend shares: run natively against the SQLite stand-in and,
// in the Windows build, against the Windows registry under Wine.
#include "base/testsupport/StatusCode.h"
#include "platform/RegistryData.h"
#include "platform/RegistryKey.h"
#include "platform/testsupport/TestRegistry.h"

#include <gtest/gtest.h>
#include <string>

using namespace q7n::platform;
using q7n::testing::Code;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr TRegRoot Hklm = TRegRoot::rrLocalMachine;

class RegistryConformance : public ::testing::Test {
protected:
    // The key of this test, which it creates and deletes.
    std::string FBase = std::string("Software\\Q7NConformance\\") +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name();
    q7n::testing::TTestRegistry FTest{FBase};
    IRegistry& FRegistry = FTest.Backend;

    void TearDown() override {
        EXPECT_EQ(Code(FRegistry.DeleteKeyTree(Hklm, FBase)), ErrorSuccess);
        TRegKey Gone(FRegistry);
        EXPECT_EQ(Code(Gone.Open(Hklm, FBase, KeyRead)), ErrorFileNotFound);
    }

    TRegKey Create(const std::string& Path, std::uint32_t* Disposition = nullptr) {
        TRegKey Key(FRegistry);
        q7n::TStatusOr<std::uint32_t> Created = Key.CreateWithDisposition(Hklm, Path, KeyAllAccess);
        EXPECT_EQ(Code(Created), ErrorSuccess) << Path;
        if (Disposition)
            *Disposition = Created.ValueOr(0);
        return Key;
    }

    // Type and data of a value read back, after a query that agrees with them.
    static std::pair<std::uint32_t, Bytes> ReadBack(const TRegKey& Key, const std::string& Name) {
        q7n::TStatusOr<TRegValueInfo> Queried = Key.QueryValue(Name);
        q7n::TStatusOr<TRegValue> Read = Key.ReadValue(Name);
        EXPECT_EQ(Code(Queried), ErrorSuccess) << Name;
        EXPECT_EQ(Code(Read), ErrorSuccess) << Name;
        if (!Queried.Ok() || !Read.Ok())
            return {0xFFFFFFFF, {}};
        EXPECT_EQ(Queried->Type, Read->Type) << Name;
        EXPECT_EQ(Queried->Size, Read->Data.size()) << Name;
        return {Read->Type, Read->Data};
    }
};

Bytes Text(std::string_view T) {
    return Bytes(T.begin(), T.end());
}

} // namespace

TEST_F(RegistryConformance, NestedPathIsCreatedInOneCallThenFound) {
    std::uint32_t Disposition = 0;
    TRegKey Deep = Create(FBase + "\\One\\Two\\Three", &Disposition);
    EXPECT_EQ(Disposition, RegCreatedNewKey);
    TRegKey Again = Create(FBase + "\\One\\Two\\Three", &Disposition);
    EXPECT_EQ(Disposition, RegOpenedExistingKey);
    // Every key on the way was made, and a key below an existing one is new.
    TRegKey Middle(FRegistry);
    EXPECT_EQ(Code(Middle.Open(Hklm, FBase + "\\One\\Two", KeyRead)), ErrorSuccess);
    Create(FBase + "\\One\\Two\\Other", &Disposition);
    EXPECT_EQ(Disposition, RegCreatedNewKey);

    // A value written through one handle is seen through another.
    ASSERT_EQ(Code(Deep.WriteValue("v", RegDword, RegDwordData(7))), ErrorSuccess);
    EXPECT_EQ(ReadBack(Again, "v").second, RegDwordData(7));
}

// Windows answers a leading backslash in two ways, by the program's bitness; every backend of
// ours refuses it, creation included, and neither creates nor deletes anything for it.
TEST_F(RegistryConformance, LeadingBackslashIsRefused) {
    TRegKey Plain = Create(FBase + "\\Key");
    ASSERT_EQ(Code(Plain.WriteValue("v", RegSz, RegTextData("plain"))), ErrorSuccess);

    TRegKey Slashed(FRegistry);
    EXPECT_EQ(Code(Slashed.Create(Hklm, "\\" + FBase + "\\New", KeyAllAccess)), ErrorBadPathname);
    EXPECT_FALSE(Slashed.IsOpen());
    EXPECT_EQ(Code(Slashed.Open(Hklm, "\\" + FBase + "\\Key", KeyRead)), ErrorBadPathname);
    EXPECT_FALSE(Slashed.IsOpen());
    EXPECT_EQ(Code(FRegistry.DeleteKeyTree(Hklm, "\\" + FBase + "\\Key")), ErrorBadPathname);

    TRegKey New(FRegistry);
    EXPECT_EQ(Code(New.Open(Hklm, FBase + "\\New", KeyRead)), ErrorFileNotFound);
    EXPECT_EQ(ReadBack(Plain, "v").second, RegTextData("plain"));
}

TEST_F(RegistryConformance, NamesMatchInAnyLetterCase) {
    TRegKey Key = Create(FBase + "\\MixedCase\\Ключ");
    ASSERT_EQ(Code(Key.WriteValue("ValueName", RegSz, RegTextData("first"))), ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("Значение", RegSz, RegTextData("второе"))), ErrorSuccess);

    TRegKey Upper(FRegistry);
    ASSERT_EQ(Code(Upper.Open(Hklm, FBase + "\\MIXEDCASE\\КЛЮЧ", KeyAllAccess)), ErrorSuccess);
    EXPECT_EQ(ReadBack(Upper, "VALUENAME").second, RegTextData("first"));
    EXPECT_EQ(ReadBack(Upper, "зНАЧЕНИЕ").second, RegTextData("второе"));

    // Writing under another spelling replaces the value; there is still one of each.
    ASSERT_EQ(Code(Upper.WriteValue("valuename", RegDword, RegDwordData(1))), ErrorSuccess);
    EXPECT_EQ(ReadBack(Key, "ValueName"), std::make_pair(RegDword, RegDwordData(1)));
    q7n::TStatusOr<std::vector<std::string>> Names = Key.ValueNames();
    ASSERT_EQ(Code(Names), ErrorSuccess);
    EXPECT_EQ(Names->size(), 2u);

    std::uint32_t Disposition = 0;
    Create(FBase + "\\mixedcase\\ключ", &Disposition);
    EXPECT_EQ(Disposition, RegOpenedExistingKey);
}

TEST_F(RegistryConformance, DataOfEachTypeRoundTrips) {
    TRegKey Key = Create(FBase);
    const Bytes Binary{0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF, 0x00, 0x10};
    const Bytes Qword{1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(Code(Key.WriteValue("sz", RegSz, RegTextData("C:\\Q7N\\Q7NPorts.xml"))),
              ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("expand", RegExpandSz, RegTextData("%SystemRoot%\\x"))),
              ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("dword", RegDword, RegDwordData(0xFFFFFFFEu))), ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("binary", RegBinary, Binary)), ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("qword", RegQword, Qword)), ErrorSuccess);

    EXPECT_EQ(ReadBack(Key, "sz"), std::make_pair(RegSz, RegTextData("C:\\Q7N\\Q7NPorts.xml")));
    // Expandable text is kept as written, never expanded.
    EXPECT_EQ(ReadBack(Key, "expand"), std::make_pair(RegExpandSz, RegTextData("%SystemRoot%\\x")));
    EXPECT_EQ(ReadBack(Key, "dword"), std::make_pair(RegDword, RegDwordData(0xFFFFFFFEu)));
    EXPECT_EQ(RegDataDword(ReadBack(Key, "dword").second), 0xFFFFFFFEu);
    EXPECT_EQ(ReadBack(Key, "binary"), std::make_pair(RegBinary, Binary));
    EXPECT_EQ(ReadBack(Key, "qword"), std::make_pair(RegQword, Qword));

    // A value may change its type.
    ASSERT_EQ(Code(Key.WriteValue("sz", RegBinary, Bytes{9})), ErrorSuccess);
    EXPECT_EQ(ReadBack(Key, "sz"), std::make_pair(RegBinary, Bytes{9}));
}

TEST_F(RegistryConformance, QueryReportsTypeAndSize) {
    TRegKey Key = Create(FBase);
    ASSERT_EQ(Code(Key.WriteValue("empty", RegSz, RegTextData(""))), ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("nodata", RegSz, Bytes{})), ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("abc", RegSz, RegTextData("abc"))), ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("unterminated", RegSz, Text("abc"))), ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("dword", RegDword, RegDwordData(5))), ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("binary", RegBinary, RegDoubleData(1.5))), ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("", RegSz, RegTextData("default"))), ErrorSuccess);

    auto Query = [&](const std::string& Name) {
        q7n::TStatusOr<TRegValueInfo> Info = Key.QueryValue(Name);
        EXPECT_EQ(Code(Info), ErrorSuccess) << Name;
        return Info.Ok() ? std::make_pair(Info->Type, Info->Size) : std::make_pair(99u, 99u);
    };
    // The text of an empty string is its terminator alone; no data at all is another thing.
    EXPECT_EQ(Query("empty"), std::make_pair(RegSz, 1u));
    EXPECT_EQ(Query("nodata"), std::make_pair(RegSz, 0u));
    EXPECT_EQ(Query("abc"), std::make_pair(RegSz, 4u));
    // Text written without its terminator is given one, as Windows does.
    EXPECT_EQ(Query("unterminated"), std::make_pair(RegSz, 4u));
    EXPECT_EQ(ReadBack(Key, "unterminated").second, RegTextData("abc"));
    EXPECT_EQ(Query("dword"), std::make_pair(RegDword, 4u));
    EXPECT_EQ(Query("binary"), std::make_pair(RegBinary, 8u));
    EXPECT_EQ(Query(""), std::make_pair(RegSz, 8u)); // the key's default value
}

TEST_F(RegistryConformance, AbsentValuesAndKeysAreNotFound) {
    TRegKey Key = Create(FBase);
    EXPECT_EQ(Code(Key.QueryValue("absent")), ErrorFileNotFound);
    EXPECT_EQ(Code(Key.ReadValue("absent")), ErrorFileNotFound);
    EXPECT_EQ(Code(Key.QueryValue("")), ErrorFileNotFound); // no default value either

    TRegKey Missing(FRegistry);
    EXPECT_EQ(Code(Missing.Open(Hklm, FBase + "\\Absent", KeyRead)), ErrorFileNotFound);
    EXPECT_EQ(Code(Missing.Open(Hklm, FBase + "\\Absent\\Deeper", KeyRead)), ErrorFileNotFound);
    EXPECT_FALSE(Missing.IsOpen());
    EXPECT_EQ(Code(Missing.QueryValue("x")), ErrorInvalidHandle);
    EXPECT_EQ(Code(FRegistry.DeleteKeyTree(Hklm, FBase + "\\Absent")), ErrorFileNotFound);
}

TEST_F(RegistryConformance, KeyOpenedForReadingRefusesWrites) {
    ASSERT_EQ(Code(Create(FBase).WriteValue("v", RegSz, RegTextData("kept"))), ErrorSuccess);
    TRegKey Reading(FRegistry);
    ASSERT_EQ(Code(Reading.Open(Hklm, FBase, KeyRead)), ErrorSuccess);
    EXPECT_EQ(Code(Reading.WriteValue("v", RegSz, RegTextData("changed"))), ErrorAccessDenied);
    EXPECT_EQ(Code(Reading.WriteValue("new", RegDword, RegDwordData(1))), ErrorAccessDenied);
    EXPECT_EQ(ReadBack(Reading, "v").second, RegTextData("kept"));

    // A key opened for writing only cannot be read.
    TRegKey Writing(FRegistry);
    ASSERT_EQ(Code(Writing.Open(Hklm, FBase, KeySetValue)), ErrorSuccess);
    EXPECT_EQ(Code(Writing.QueryValue("v")), ErrorAccessDenied);
    EXPECT_EQ(Code(Writing.WriteValue("v", RegSz, RegTextData("changed"))), ErrorSuccess);
}

TEST_F(RegistryConformance, CyrillicTextInDataAndNames) {
    const std::string Path = "C:\\Программы\\Сервис Q7N\\Q7NPorts.xml";
    TRegKey Key = Create(FBase + "\\Настройки");
    ASSERT_EQ(Code(Key.WriteValue("ИмяФайла", RegSz, RegTextData(Path))), ErrorSuccess);
    // The size counts the UTF-8 bytes and the terminator.
    EXPECT_EQ(ReadBack(Key, "ИмяФайла"), std::make_pair(RegSz, RegTextData(Path)));
    EXPECT_EQ(RegDataText(ReadBack(Key, "ИмяФайла").second), Path);
    EXPECT_EQ(Key.ValueNames().ValueOr({}), std::vector<std::string>{"ИмяФайла"});
}

TEST_F(RegistryConformance, TextThatIsNotUtf8IsRefused) {
    TRegKey Key = Create(FBase);
    const std::string Bad = "\xC3\x28";
    EXPECT_EQ(Code(Key.WriteValue(Bad, RegDword, RegDwordData(1))), ErrorNoUnicodeTranslation);
    EXPECT_EQ(Code(Key.WriteValue("v", RegSz, RegTextData(Bad))), ErrorNoUnicodeTranslation);
    // The bytes of binary data are anything.
    EXPECT_EQ(Code(Key.WriteValue("v", RegBinary, Text(Bad))), ErrorSuccess);
    TRegKey Other(FRegistry);
    EXPECT_EQ(Code(Other.Create(Hklm, FBase + "\\" + Bad, KeyAllAccess)),
              ErrorNoUnicodeTranslation);
    // A name ends at its end, not at a zero inside it.
    EXPECT_EQ(Code(Key.WriteValue(std::string("a\0b", 3), RegDword, RegDwordData(1))),
              ErrorInvalidParameter);
}

TEST_F(RegistryConformance, ValueNamesListEveryValueOnce) {
    TRegKey Key = Create(FBase);
    q7n::TStatusOr<std::vector<std::string>> None = Key.ValueNames();
    ASSERT_EQ(Code(None), ErrorSuccess);
    EXPECT_TRUE(None->empty());
    for (const char* Name : {"b", "a", "c"})
        ASSERT_EQ(Code(Key.WriteValue(Name, RegDword, RegDwordData(0))), ErrorSuccess);
    ASSERT_EQ(Code(Key.WriteValue("A", RegDword, RegDwordData(1))), ErrorSuccess);
    std::vector<std::string> Names = Key.ValueNames().ValueOr({"<failed>"});
    std::sort(Names.begin(), Names.end());
    EXPECT_EQ(Names, (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(RegistryConformance, DeletedKeyIsGoneForItsOpenHandles) {
    TRegKey Key = Create(FBase + "\\Doomed\\Child");
    ASSERT_EQ(Code(Key.WriteValue("v", RegDword, RegDwordData(1))), ErrorSuccess);
    ASSERT_EQ(Code(FRegistry.DeleteKeyTree(Hklm, FBase + "\\Doomed")), ErrorSuccess);
    EXPECT_EQ(Code(Key.QueryValue("v")), ErrorKeyDeleted);
    EXPECT_EQ(Code(Key.WriteValue("v", RegDword, RegDwordData(2))), ErrorKeyDeleted);
    // A new key of the same name starts empty.
    TRegKey Again = Create(FBase + "\\Doomed\\Child");
    EXPECT_EQ(Code(Again.QueryValue("v")), ErrorFileNotFound);
    EXPECT_EQ(Code(Key.Close()), ErrorSuccess);
}

// An open that fails leaves the key held as it was; one that succeeds replaces it.
TEST_F(RegistryConformance, FailedOpenKeepsTheKeyHeld) {
    TRegKey Key = Create(FBase + "\\First");
    ASSERT_EQ(Code(Key.WriteValue("v", RegSz, RegTextData("first"))), ErrorSuccess);
    EXPECT_EQ(Code(Key.Open(Hklm, FBase + "\\Absent", KeyRead)), ErrorFileNotFound);
    EXPECT_EQ(Code(Key.Create(Hklm, "\\" + FBase + "\\New", KeyAllAccess)), ErrorBadPathname);
    EXPECT_EQ(ReadBack(Key, "v").second, RegTextData("first"));

    Create(FBase + "\\Second");
    ASSERT_EQ(Code(Key.Open(Hklm, FBase + "\\Second", KeyRead)), ErrorSuccess);
    EXPECT_EQ(Code(Key.QueryValue("v")), ErrorFileNotFound);
}
