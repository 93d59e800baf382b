#include "platform/FileSystem.h"

#include "base/testsupport/TemporaryFolder.h"
#include "platform/DurableReplace.h"
#include "platform/FileLock.h"
#include "platform/HeldFileRetry.h"
#include "platform/TemporaryFile.h"
#include "platform/testsupport/FileHolderProcess.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include "platform/testsupport/RunningUnderWine.h"
#include "platform/win32/Win32Error.h"
#else
#include <csignal>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#endif

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

    std::vector<std::string> Names() const { return FTemporary.Names(); }

    static TReplaceFault FailAt(TReplaceStep Failing) {
        return [Failing](TReplaceStep Step) {
            if (Step == Failing)
                throw std::runtime_error("injected failure");
        };
    }

    q7n::testing::TTemporaryFolder FTemporary;
    const fs::path& FFolder = FTemporary.Path();
    // The file that the tests replace, and the backup its replacement keeps.
    const std::string FTarget = FTemporary.File("ports.xml");
    const std::string FBackup = FTemporary.File("ports.bak");
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

TEST_F(FileSystemTest, DurableReplacementKeepsPermissionsAndLeavesOnlyTheFile) {
    ReplaceFileDurably(FTarget, "first", FBackup);
    EXPECT_EQ(ReadWholeFile(FTarget), "first");
#ifndef _WIN32
    fs::permissions(FTarget,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif

    TReplaceOutcome Outcome = ReplaceFileDurably(FTarget, std::string("new\0data", 8), FBackup);
    EXPECT_EQ(ReadWholeFile(FTarget), std::string("new\0data", 8));
    EXPECT_TRUE(Outcome.Remark.empty()) << Outcome.Remark;
#ifndef _WIN32
    // Windows has no permission bits: a file's access rules come from its folder, and the
    // read-only attribute is all that std::filesystem shows of them.
    EXPECT_EQ(fs::status(FTarget).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
#endif
    EXPECT_EQ(Names(), std::vector<std::string>{"ports.xml"});
}

TEST_F(FileSystemTest, AStepThatFailsBeforeTheMoveLeavesThePreviousFileWhole) {
    for (TReplaceStep Failing : {rsWriteTemporary, rsKeepBackup, rsMoveIntoPlace}) {
        Write(FTarget, "old");
        EXPECT_THROW(ReplaceFileDurably(FTarget, "new", FBackup, FailAt(Failing)),
                     std::runtime_error)
            << Failing;
        EXPECT_EQ(ReadWholeFile(FTarget), "old") << Failing;
        EXPECT_EQ(Names(), std::vector<std::string>{"ports.xml"}) << Failing;
    }
}

TEST_F(FileSystemTest, AStepThatFailsAfterTheMoveIsARemarkOnANewFile) {
    Write(FTarget, "old");
    TReplaceOutcome Outcome = ReplaceFileDurably(FTarget, "new", FBackup, FailAt(rsFlushFolder));
    EXPECT_NE(Outcome.Remark.find("injected"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(FTarget), "new");
    EXPECT_EQ(Names(), std::vector<std::string>{"ports.xml"}); // its backup is gone all the same

    Outcome = ReplaceFileDurably(FTarget, "newer", FBackup, FailAt(rsRemoveBackup));
    EXPECT_NE(Outcome.Remark.find("injected"), std::string::npos);
    EXPECT_EQ(ReadWholeFile(FTarget), "newer");
}

TEST_F(FileSystemTest, ABackupTheReplacementDidNotMakeIsKept) {
    Write(FBackup, "earlier good content");
    ReplaceFileDurably(FTarget, "new", FBackup); // no file yet
    Write(FTarget, "broken");
    ReplaceFileDurably(FTarget, "newer", FBackup);
    EXPECT_EQ(ReadWholeFile(FTarget), "newer");
    EXPECT_EQ(ReadWholeFile(FBackup), "earlier good content");
}

TEST_F(FileSystemTest, StaleTemporariesGoButOneBeingWrittenStays) {
    Write(PathOf("ports.xml.tmp-dead01"), "left by a save that was killed");
    Write(PathOf("other.xml.tmp-dead02"), "another file's");
    {
        // A save in progress, as another process would hold it: its own open, its own lock.
        TTemporaryFile Live(FTarget);
        Live.Write("being written");
        TReplaceOutcome Outcome = ReplaceFileDurably(FTarget, "new", FBackup);
        EXPECT_EQ(Outcome.StaleTemporariesRemoved, 1);
        EXPECT_TRUE(FileExists(Live.Path()));
        Live.MoveTo(FTarget, true);
    }
    EXPECT_EQ(ReadWholeFile(FTarget), "being written");
    EXPECT_EQ(Names(), (std::vector<std::string>{"other.xml.tmp-dead02", "ports.xml"}));
}

#ifndef _WIN32
TEST_F(FileSystemTest, SavesKilledPartWayLeaveNoTemporariesBehindTheNextSave) {
    const std::string Big(256 * 1024, 'x');
    std::mt19937 Random(7);
    for (int Kill = 0; Kill < 40; ++Kill) {
        pid_t Child = ::fork();
        ASSERT_GE(Child, 0);
        if (Child == 0) {
            for (;;)
                ReplaceFileDurably(FTarget, Big, FBackup);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(Random() % 3000));
        ::kill(Child, SIGKILL);
        ::waitpid(Child, nullptr, 0);
    }
    ReplaceFileDurably(FTarget, "last", FBackup);
    EXPECT_EQ(ReadWholeFile(FTarget), "last");
    for (const std::string& Name : Names())
        EXPECT_EQ(Name.find(".tmp-"), std::string::npos) << Name;
}
#endif

TEST_F(FileSystemTest, FailuresRaiseAndNameThePath) {
    std::string Missing = PathOf("no-such-folder/ports.xml");
    try {
        ReplaceFileDurably(Missing, "x", PathOf("no-such-folder/ports.bak"));
        FAIL() << "no error raised";
    } catch (const std::system_error& E) {
        EXPECT_NE(std::string(E.what()).find(Missing), std::string::npos) << E.what();
    }
    EXPECT_THROW(ReadWholeFile(PathOf("none")), std::system_error);
}

TEST_F(FileSystemTest, ALockKeepsOthersOutUntilItGoesOrItsProcessDies) {
    const std::string LockFile = PathOf("ports.lock");
    const std::chrono::milliseconds Briefly{50};
    // Readers share the file with other readers alone; a writer shares it with nobody.
    for (TLockMode Held : {lmShared, lmExclusive}) {
        TFileLock Holder = TFileLock::Acquire(LockFile, Held, Briefly);
        ASSERT_TRUE(Holder) << Held;
        EXPECT_EQ(bool(TFileLock::Acquire(LockFile, lmShared, Briefly)), Held == lmShared) << Held;
        EXPECT_FALSE(TFileLock::Acquire(LockFile, lmExclusive, Briefly)) << Held;
    }
    q7n::testing::TFileHolderProcess Killed("lock", LockFile, -1);
    EXPECT_FALSE(TFileLock::Acquire(LockFile, lmExclusive, Briefly));
    Killed.Kill();
    EXPECT_TRUE(TFileLock::Acquire(LockFile, lmExclusive, Briefly));

    q7n::testing::TFileHolderProcess Brief("lock", LockFile, 300);
    EXPECT_TRUE(TFileLock::Acquire(LockFile, lmExclusive, std::chrono::seconds(60)));
    EXPECT_EQ(Names(), std::vector<std::string>{"ports.lock"});
}

// A link planted where the lock file goes is refused with its reason, its target untouched: the
// lock is taken by programs run as administrators, in folders that others may write.
TEST_F(FileSystemTest, ALinkInTheLockFilesPlaceIsRefusedAndItsTargetLeftAlone) {
    const std::string LockFile = PathOf("ports.lock");
    const std::string Target = PathOf("target");
#ifdef _WIN32
    // The runtime's create_symlink is not implemented on Windows: the system's call, which needs
    // the right to make links or the developer mode.
    const bool Made = ::CreateSymbolicLinkW(fs::path(LockFile).c_str(), fs::path(Target).c_str(),
                                            SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    const DWORD Attributes = ::GetFileAttributesW(fs::path(LockFile).c_str());
    if (!Made || Attributes == INVALID_FILE_ATTRIBUTES ||
        !(Attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if (q7n::testing::RunningUnderWine())
            GTEST_SKIP() << "Wine makes no reparse point: CreateSymbolicLinkW answers success and "
                            "makes nothing, FSCTL_SET_REPARSE_POINT is not supported, and a link "
                            "made from the Linux side is followed by Wine and shows as none";
        GTEST_SKIP() << "no symbolic link can be made here (error " << ::GetLastError()
                     << "): it takes the right to make links or the developer mode";
    }
#else
    std::error_code Made;
    fs::create_symlink(Target, LockFile, Made);
    ASSERT_FALSE(Made) << Made.message();
#endif
    for (int Existing : {0, 1}) {
        if (Existing)
            Write(Target, "keep");
        try {
            (void)TFileLock::Acquire(LockFile, lmExclusive, std::chrono::milliseconds(50));
            ADD_FAILURE() << "a link was followed";
        } catch (const std::system_error& Error) {
            EXPECT_NE(std::string(Error.what()).find("'" + LockFile + "': it is a"),
                      std::string::npos)
                << Error.what();
        }
        if (Existing)
            EXPECT_EQ(ReadWholeFile(Target), "keep");
        else
            EXPECT_FALSE(fs::exists(Target));
    }
}

#ifndef _WIN32
// Made for its owner alone to write, whatever the umask lets through.
TEST_F(FileSystemTest, TheLockFileIsMadeForItsOwnerToWrite) {
    const mode_t Previous = ::umask(0);
    const std::string LockFile = PathOf("ports.lock");
    const bool Locked = bool(TFileLock::Acquire(LockFile, lmShared, std::chrono::milliseconds(50)));
    ::umask(Previous);
    EXPECT_TRUE(Locked);
    EXPECT_EQ(fs::status(LockFile).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                      fs::perms::group_read |
                                                      fs::perms::others_read);
}
#endif

#ifdef _WIN32
TEST_F(FileSystemTest, AFileHeldByAnotherProgramIsWaitedForThenRefusedWithTheSystemsReason) {
    Write(FTarget, "old");
    {
        q7n::testing::TFileHolderProcess Holder("open", FTarget, 300);
        ReplaceFileDurably(FTarget, "new", FBackup);
    }
    EXPECT_EQ(ReadWholeFile(FTarget), "new");

    q7n::testing::TFileHolderProcess Holder("open", FTarget, -1);
    try {
        ReplaceFileDurably(FTarget, "newer", FBackup);
        ADD_FAILURE() << "a file held for good was replaced";
    } catch (const std::system_error& Error) {
        EXPECT_TRUE(IsHeldByAnotherProgram(Error.code())) << Error.what();
        // The system's own words, from FormatMessageW, not a number.
        const std::string Reason = Error.code().message();
        EXPECT_EQ(Error.code().category(), Win32Category());
        EXPECT_EQ(Reason.find("Windows error"), std::string::npos) << Reason;
        EXPECT_NE(std::string(Error.what()).find(FBackup + "': " + Reason), std::string::npos)
            << Error.what();
    }
    Holder.Kill();
    EXPECT_EQ(ReadWholeFile(FTarget), "new");
    EXPECT_EQ(Names(), std::vector<std::string>{"ports.xml"});
}
#endif

TEST_F(FileSystemTest, DurableCopyRefusesToReplace) {
    Write(PathOf("a"), "A");
    CopyFileDurably(PathOf("a"), PathOf("b"));
    EXPECT_EQ(ReadWholeFile(PathOf("b")), "A");
    Write(PathOf("a"), "A2");
    EXPECT_THROW(CopyFileDurably(PathOf("a"), PathOf("b")), std::system_error);
    EXPECT_EQ(ReadWholeFile(PathOf("b")), "A");
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b"}));
}
