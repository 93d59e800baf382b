#include "FileSystem.h"

#include "TemporaryFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <system_error>

using namespace q7n::platform;
namespace fs = std::filesystem;

namespace {

// A fresh folder for one test, removed afterwards.
class FileSystemTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& Name) const { return FTemporary.File(Name); }

    static void Write(const std::string& Path, const std::string& Text) {
        std::ofstream(Path, std::ios::binary) << Text;
    }

    q7n::testing::TTemporaryFolder FTemporary;
    const fs::path& FFolder = FTemporary.Path();
};

} // namespace

TEST(ChangeFileExt, ReplacesOnlyTheLastExtensionOfTheFileName) {
    EXPECT_EQ(ChangeFileExt("Q7NPorts.xml", ".bak"), "Q7NPorts.bak");
    EXPECT_EQ(ChangeFileExt("/a/b/Q7NPorts.old.xml", ".bak"), "/a/b/Q7NPorts.old.bak");
    EXPECT_EQ(ChangeFileExt("/a/b/Q7NPorts", ".bak"), "/a/b/Q7NPorts.bak");
    EXPECT_EQ(ChangeFileExt("/a.d/Q7NPorts", ".bak"), "/a.d/Q7NPorts.bak");
    EXPECT_EQ(ChangeFileExt("", ".bak"), ".bak");
}

TEST_F(FileSystemTest, ExistenceSeesRegularFilesOnly) {
    EXPECT_FALSE(FileExists(PathOf("none")));
    EXPECT_FALSE(FileExists(FFolder.string()));
    Write(PathOf("a"), "abc");
    EXPECT_TRUE(FileExists(PathOf("a")));
    EXPECT_EQ(FileSize(PathOf("a")), 3u);
    EXPECT_FALSE(FileSize(PathOf("none")).has_value());
    EXPECT_TRUE(RemoveFile(PathOf("a")));
    EXPECT_FALSE(RemoveFile(PathOf("a")));
}

TEST_F(FileSystemTest, RenameNeverReplaces) {
    Write(PathOf("a"), "A");
    Write(PathOf("b"), "B");
    EXPECT_FALSE(RenameFile(PathOf("a"), PathOf("b")));
    EXPECT_EQ(ReadWholeFile(PathOf("a")), "A");
    EXPECT_EQ(ReadWholeFile(PathOf("b")), "B");
    EXPECT_TRUE(RenameFile(PathOf("a"), PathOf("c")));
    EXPECT_FALSE(FileExists(PathOf("a")));
    EXPECT_EQ(ReadWholeFile(PathOf("c")), "A");
    EXPECT_FALSE(RenameFile(PathOf("missing"), PathOf("d")));
}

TEST_F(FileSystemTest, DurableReplacementKeepsPermissionsAndLeavesNoTemporary) {
    std::string Target = PathOf("ports.xml");
    Write(Target, "old");
#ifndef _WIN32
    fs::permissions(Target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif

    std::string Temporary = WriteTemporaryFileBeside(Target, std::string("new\0data", 8));
    EXPECT_EQ(fs::path(Temporary).parent_path(), FFolder);
    EXPECT_EQ(ReadWholeFile(Target), "old"); // untouched until moved
    MoveFileReplacing(Temporary, Target);

    EXPECT_EQ(ReadWholeFile(Target), std::string("new\0data", 8));
#ifndef _WIN32
    // Windows has no permission bits: a file's access rules come from its folder, and the
    // read-only attribute is all that std::filesystem shows of them.
    EXPECT_EQ(fs::status(Target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    EXPECT_EQ(std::distance(fs::directory_iterator(FFolder), fs::directory_iterator()), 1);
}

TEST_F(FileSystemTest, FailuresRaiseAndNameThePath) {
    std::string Missing = PathOf("no-such-folder/ports.xml");
    try {
        WriteTemporaryFileBeside(Missing, "x");
        FAIL() << "no error raised";
    } catch (const std::system_error& E) {
        EXPECT_NE(std::string(E.what()).find(Missing), std::string::npos) << E.what();
    }
    EXPECT_THROW(ReadWholeFile(PathOf("none")), std::system_error);
    EXPECT_THROW(MoveFileReplacing(PathOf("none"), PathOf("b")), std::system_error);
}

TEST_F(FileSystemTest, DurableCopyRefusesToReplace) {
    Write(PathOf("a"), "A");
    CopyFileDurably(PathOf("a"), PathOf("b"));
    EXPECT_EQ(ReadWholeFile(PathOf("b")), "A");
    Write(PathOf("a"), "A2");
    EXPECT_THROW(CopyFileDurably(PathOf("a"), PathOf("b")), std::system_error);
    EXPECT_EQ(ReadWholeFile(PathOf("b")), "A");
    EXPECT_EQ(std::distance(fs::directory_iterator(FFolder), fs::directory_iterator()), 2);
}
