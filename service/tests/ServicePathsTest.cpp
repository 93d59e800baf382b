#include "service/ServicePaths.h"

#include "base/testsupport/TemporaryFolder.h"
#include "platform/CommandLine.h"
#include "platform/FileSystem.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using q7n::QuoteServicePath;
namespace fs = std::filesystem;

namespace {

// Makes Folder the process's current directory while it lives.
class TCurrentDirectory {
public:
    explicit TCurrentDirectory(const fs::path& Folder) : FPrevious(fs::current_path()) {
        fs::current_path(Folder);
    }
    TCurrentDirectory(const TCurrentDirectory&) = delete;
    TCurrentDirectory& operator=(const TCurrentDirectory&) = delete;
    ~TCurrentDirectory() { fs::current_path(FPrevious); }

private:
    fs::path FPrevious;
};

// The path as UTF-8, whatever the narrow code page of the platform.
std::string Utf8(const fs::path& Path) {
    std::u8string Text = Path.u8string();
    return std::string(Text.begin(), Text.end());
}

#ifdef _WIN32
const std::string Separator = "\\";
const fs::path DriveRoot = "C:\\";
const std::string ServicePathAtRoot = "C:\\\\Install\\Q7NService.exe";
const std::string PortsFileAtRoot = "C:\\\\Q7NPorts.xml";
#else
const std::string Separator = "/";
const fs::path DriveRoot = "/";
const std::string ServicePathAtRoot = "//Install/Q7NService.exe";
const std::string PortsFileAtRoot = "//Q7NPorts.xml";
#endif

} // namespace

TEST(QuoteServicePath, QuotesOnlyPathsWithBlanksThatAreNotQuotedYet) {
    EXPECT_EQ(QuoteServicePath("C:\\Q7N\\Install\\Q7NService.exe"),
              "C:\\Q7N\\Install\\Q7NService.exe");
    EXPECT_EQ(QuoteServicePath("C:\\Program Files\\Q7N\\Install\\Q7NService.exe"),
              "\"C:\\Program Files\\Q7N\\Install\\Q7NService.exe\"");
    EXPECT_EQ(QuoteServicePath("\"C:\\Program Files\\Q7N.exe\""), "\"C:\\Program Files\\Q7N.exe\"");
    EXPECT_EQ(QuoteServicePath("/opt/my\tdir/srv"), "\"/opt/my\tdir/srv\"");
    EXPECT_EQ(QuoteServicePath(""), "");
}

TEST(QuoteServicePath, TheQuotedCommandNamesTheWholePathAgain) {
    for (std::string Path : {"C:\\Program Files\\Q7N\\Q7NService.exe", "/tmp/a b/c d/srv",
                             "C:\\dir with trailing\\"}) {
        auto Words = q7n::platform::SplitWindowsCommandLine(QuoteServicePath(Path));
        ASSERT_EQ(Words.size(), 1u) << Path;
        EXPECT_EQ(Words[0], Path);
    }
}

// The paths the configurator registers and edits, in a folder with a Cyrillic name and a blank
// (characters that most Windows ANSI code pages lack) and at the root of a drive.
TEST(ServiceFilesInCurrentDirectory, FollowTheCurrentDirectoryAsThePlatformReportsIt) {
    q7n::testing::TTemporaryFolder Temporary;
    const fs::path Folder = Temporary.Path() / fs::path(u8"Конфигуратор Q7N");
    fs::create_directory(Folder);
    {
        TCurrentDirectory Inside(Folder);
        q7n::TServiceFiles Files = q7n::ServiceFilesInCurrentDirectory().Value();
        EXPECT_EQ(Files.ServicePath,
                  Utf8(Folder) + Separator + "Install" + Separator + "Q7NService.exe");
        EXPECT_EQ(Files.PortsFile, Utf8(Folder) + Separator + "Q7NPorts.xml");
        // The UTF-8 path names the real file, and registers as one word.
        std::ofstream(Folder / "Q7NPorts.xml") << "<config/>";
        EXPECT_TRUE(q7n::platform::FileExists(Files.PortsFile));
        auto Words = q7n::platform::SplitWindowsCommandLine(QuoteServicePath(Files.ServicePath));
        EXPECT_EQ(Words, std::vector<std::string>{Files.ServicePath});
    }

    // The root comes with its separator, and the literals add theirs.
    TCurrentDirectory AtRoot(DriveRoot);
    q7n::TServiceFiles Files = q7n::ServiceFilesInCurrentDirectory().Value();
    EXPECT_EQ(Files.ServicePath, ServicePathAtRoot);
    EXPECT_EQ(Files.PortsFile, PortsFileAtRoot);
    EXPECT_EQ(QuoteServicePath(Files.ServicePath), Files.ServicePath);
}

#ifndef _WIN32
// A folder longer than the first buffer is read whole; a folder deleted under the process is a
// failure that says so. (Windows keeps its current folder from being deleted.)
TEST(ServiceFilesInCurrentDirectory, LongFoldersAreReadWholeAndDeletedOnesFail) {
    q7n::testing::TTemporaryFolder Temporary;
    fs::path Deep = Temporary.Path();
    for (int Level = 0; Level < 12; ++Level)
        Deep /= std::string(60, static_cast<char>('a' + Level));
    fs::create_directories(Deep);
    TCurrentDirectory Inside(Deep);
    q7n::TStatusOr<q7n::TServiceFiles> Files = q7n::ServiceFilesInCurrentDirectory();
    ASSERT_TRUE(Files.Ok()) << Files.Status().Text();
    EXPECT_EQ(Files->PortsFile, Utf8(Deep) + "/Q7NPorts.xml");

    fs::remove(Deep);
    Files = q7n::ServiceFilesInCurrentDirectory();
    ASSERT_FALSE(Files.Ok());
    EXPECT_EQ(Files.Status().Code(), 2u); // ERROR_FILE_NOT_FOUND
    EXPECT_EQ(Files.Status().Text(), "Cannot read the current folder: No such file or directory");
}
#endif
