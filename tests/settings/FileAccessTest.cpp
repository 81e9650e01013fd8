#include "settings/FileAccess.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace probex::test {
namespace {

namespace fs = std::filesystem;

std::size_t EntryCount(const std::string& directory) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(directory), fs::directory_iterator()));
}

/// The id of a process that has ended.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

TEST(FileAccess, SaveWritesThroughSymbolicLinksToTheirTarget) {
    TempDir dir;
    WriteBytes(dir.path("real.pxw"), "old");
    fs::create_directory(dir.path("sub"));
    fs::create_symlink("../real.pxw", dir.path("sub/link.pxw"));
    fs::create_symlink(dir.path("sub/link.pxw"), dir.path("chain.pxw"));
    fs::create_symlink("later.pxw", dir.path("dangling.pxw"));
    for (const char* link : {"sub/link.pxw", "chain.pxw"}) {
        SCOPED_TRACE(link);
        ASSERT_EQ(WriteFileAtomically(dir.path(link), link), "");
        EXPECT_TRUE(fs::is_symlink(dir.path(link)));
        EXPECT_EQ(ReadBytes(dir.path("real.pxw")), link);
    }
    ASSERT_EQ(WriteFileAtomically(dir.path("dangling.pxw"), "new"), "");
    EXPECT_TRUE(fs::is_symlink(dir.path("dangling.pxw")));
    EXPECT_EQ(ReadBytes(dir.path("later.pxw")), "new");

    fs::create_symlink("loop.pxw", dir.path("loop.pxw"));
    EXPECT_NE(WriteFileAtomically(dir.path("loop.pxw"), "x").find(std::strerror(ELOOP)),
              std::string::npos);
    EXPECT_TRUE(fs::is_symlink(dir.path("loop.pxw")));
}

TEST(FileAccess, SaveRefusesAReadOnlyFileWithTheSystemMessage) {
    TempDir dir;
    const std::string path = dir.path("locked.pxw");
    WriteBytes(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    const std::string error = WriteFileAtomically(path, "new");
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(EACCES)), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(EntryCount(dir.dir()), 1u); // no temporary file left
    // Not a file at all: a pipe or device is never replaced by one.
    ASSERT_EQ(::mkfifo(dir.path("pipe").c_str(), 0644), 0);
    EXPECT_NE(WriteFileAtomically(dir.path("pipe"), "x"), "");
    EXPECT_TRUE(fs::is_fifo(dir.path("pipe")));
}

TEST(FileAccess, SaveRemovesTemporariesThatAKilledSaveLeftBehind) {
    TempDir dir;
    const std::string path = dir.path("beam.pxw");
    const pid_t ended = EndedProcess();
    const std::string stale = SaveTemporaryName(path, ended, 3);
    const std::string running = SaveTemporaryName(path, ::getppid(), 0);
    const std::string otherFile = SaveTemporaryName(dir.path("beam.pxw.old"), ended, 0);
    const std::string notOurs = path + ".saving-notes";
    for (const std::string& name : {stale, running, otherFile, notOurs})
        WriteBytes(name, "x");
    ASSERT_EQ(WriteFileAtomically(path, "new"), "");
    EXPECT_FALSE(fs::exists(stale));
    for (const std::string& kept : {running, otherFile, notOurs})
        EXPECT_TRUE(fs::exists(kept)) << kept;
    EXPECT_EQ(EntryCount(dir.dir()), 4u);
}

TEST(FileAccess, ReadingStopsAtTheSizeLimit) {
    TempDir dir;
    const std::string path = dir.path("a.pxw");
    WriteBytes(path, std::string(100, 'a'));
    std::string text = "kept";
    EXPECT_EQ(ReadWholeFile(path, text, 100), "");
    EXPECT_EQ(text, std::string(100, 'a'));
    text = "kept";
    EXPECT_NE(ReadWholeFile(path, text, 99), "");
    EXPECT_EQ(text, "kept");
    // A file that never ends.
    const std::string error = ReadWholeFile("/dev/zero", text);
    EXPECT_NE(error.find("/dev/zero"), std::string::npos);
    EXPECT_NE(error.find("more than 64 MB"), std::string::npos) << error;
    EXPECT_EQ(text, "kept");
    EXPECT_NE(ReadWholeFile(dir.dir(), text).find(std::strerror(EISDIR)), std::string::npos);
}

} // namespace
} // namespace probex::test
