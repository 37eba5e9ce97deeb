// The asset step of every build over a game folder a user has changed: their files stay, a
// stand-in they removed comes back, and the build's own files are rewritten only where the
// generator's bytes differ. Two builds at once leave what one alone writes.
#include "test_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

extern char** environ;

namespace {

// The tool's messages, and its exit status in *status.
std::string RunAssetTool(const std::string& folder, int* status) {
    FILE* p = popen((std::string(ASSET_TOOL) + " " + folder + " 2>&1").c_str(), "r");
    if (!p) return "";
    std::string out;
    char buf[512];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    *status = pclose(p);
    return out;
}

// The tool on its own, its messages going to logFile; -1 when it could not start.
pid_t StartAssetTool(const std::string& folder, const std::string& logFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::string tool = ASSET_TOOL;
    char* argv[] = {tool.data(), const_cast<char*>(folder.c_str()), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The tool on a folder that takes no changes: folder bound read-only over itself in a mount
// namespace of its own, its messages going to logFile. Its exit status, or -1 with the reason in
// *whyNot when the system grants no such namespace (a test not run as root).
int RunAssetToolOnReadOnlyFolder(const std::string& folder, const std::string& logFile, std::string* whyNot) {
    constexpr int kNoNamespace = 125;
    std::string tool = ASSET_TOOL;
    char* argv[] = {tool.data(), const_cast<char*>(folder.c_str()), nullptr};
    const pid_t pid = fork();
    if (pid < 0) {
        *whyNot = "cannot fork";
        return -1;
    }
    if (pid == 0) {
        // System calls and fixed strings only from here on, as in any child of a process that may
        // have threads.
        const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        auto fail = [log](const char* step) {
            const char* cause = strerrorname_np(errno);
            [[maybe_unused]] ssize_t n = write(log, step, strlen(step));
            n = write(log, cause, strlen(cause));
            _exit(kNoNamespace);
        };
        if (log < 0) _exit(kNoNamespace);
        if (unshare(CLONE_NEWNS) != 0) fail("unshare: ");
        // Private first, so the mounts below never reach the test's own namespace.
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) fail("making / private: ");
        if (mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) != 0) fail("bind: ");
        if (mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            fail("read-only remount: ");
        if (dup2(log, 1) < 0 || dup2(log, 2) < 0) fail("dup2: ");
        execv(tool.c_str(), argv);
        fail("exec: ");
    }
    int status = 0;
    while (waitpid(pid, &status, 0) != pid) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kNoNamespace) {
        *whyNot = ReadWholeFile(logFile);
        return -1;
    }
    return status;
}

// Its exit status, or -1 while it runs.
int StatusIfEnded(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid ? status : -1;
}

// Whether the process waits for a flock (the kernel lists its waiters with "->").
bool WaitsForALock(pid_t pid) {
    std::ifstream locks("/proc/locks");
    const std::string mark = "WRITE " + std::to_string(pid) + " ";
    for (std::string line; std::getline(locks, line);)
        if (line.find("-> FLOCK") != std::string::npos && line.find(mark) != std::string::npos) return true;
    return false;
}

// Every file under dir by its path there, with its bytes.
std::map<std::string, std::string> FilesIn(const std::string& dir) {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (!it->is_directory(ec))
            files[it->path().lexically_relative(dir).generic_string()] = ReadWholeFile(it->path().string());
    return files;
}

// The builds' own folders left in a game folder.
int StagingFoldersIn(const std::string& dir) {
    int n = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        n += it->path().filename().string().rfind(".stand-ins.new", 0) == 0;
    return n;
}

timespec ModifiedAt(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mtim;
}

// The record's line for path, "" when it has none.
std::string RecordLine(const std::string& record, const std::string& path) {
    const std::string tail = " " + path + "\n";
    const size_t at = record.find(tail);
    if (at == std::string::npos) return "";
    const size_t start = record.rfind('\n', at) + 1;
    return record.substr(start, at + tail.size() - start);
}

TEST(StandInFolderTest, ARebuildKeepsAUsersFilesAndWritesBackTheStandInsRemoved) {
    CTestFolder folder;
    int status = -1;
    const std::string firstLog = RunAssetTool(folder.Path(), &status);
    ASSERT_EQ(status, 0) << firstLog;
    const std::string mesh = "map/map01-3.x", picture = "bmp/comp4.png", older = "bmp/comp4_1.png",
                      untouched = "bmp/comp4_2.png";
    const std::string picturesBytes = ReadWholeFile(picture), olderBytes = ReadWholeFile(older);
    const std::string record = ReadWholeFile("stand-ins.txt");
    ASSERT_FALSE(picturesBytes.empty());
    ASSERT_NE(RecordLine(record, untouched), "");

    const std::string usersMesh = "xof 0302txt 0032\n// a user's own model\n";
    WriteWholeFile(mesh, usersMesh);
    ASSERT_EQ(remove(picture.c_str()), 0);
    // What an older generator wrote there and the record names: another stand-in's bytes in the
    // file and that stand-in's line, under this name, after the record's own (the later line
    // stands). A changed generator still reaches its own files.
    std::string oldLine = RecordLine(record, untouched);
    oldLine.replace(oldLine.rfind(untouched), untouched.size(), older);
    WriteWholeFile(older, ReadWholeFile(untouched));
    // A user's picture of exactly the stand-in's size, which the record names: only the bytes
    // tell it from the stand-in.
    const std::string sameSize = "bmp/comp4_3.png";
    std::string usersPicture = ReadWholeFile(sameSize);
    ASSERT_NE(RecordLine(record, sameSize), "");
    usersPicture[usersPicture.size() / 2] ^= 0x55;
    WriteWholeFile(sameSize, usersPicture);
    // Damaged lines spare their files at worst; they never stop the build.
    const std::string damaged = std::string("\xff\x01", 2) + '\0' + " 12 x\n0123456789abcdefg 1 x\n" +
                                "0123456789abcdef 99999999999999999999999 " + untouched + "\n";
    WriteWholeFile("stand-ins.txt", record + oldLine + damaged);
    const timespec before = ModifiedAt(untouched);

    const std::string log = RunAssetTool(folder.Path(), &status);
    EXPECT_EQ(status, 0) << log;
    EXPECT_TRUE(ReadWholeFile(mesh) == usersMesh) << "the user's " << mesh << " went";
    EXPECT_NE(log.find("kept " + folder.File(mesh)), std::string::npos) << log;
    EXPECT_TRUE(ReadWholeFile(sameSize) == usersPicture) << "the user's " << sameSize << " went";
    EXPECT_TRUE(ReadWholeFile(picture) == picturesBytes) << picture << " is not the stand-in again";
    EXPECT_TRUE(ReadWholeFile(older) == olderBytes) << "the older stand-in " << older << " stayed";
    const timespec after = ModifiedAt(untouched);
    EXPECT_TRUE(after.tv_sec == before.tv_sec && after.tv_nsec == before.tv_nsec) << untouched << " was rewritten";
    EXPECT_EQ(StagingFoldersIn(folder.Path()), 0) << "the generators' own folder is left behind";

    // Kept on every later build too, though the record no longer names it.
    RunAssetTool(folder.Path(), &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(ReadWholeFile(mesh) == usersMesh) << "the user's " << mesh << " went on the third build";
}

// Two builds on one new folder, at the worst moment: both have generated and want to place at
// once. Each waits for the folder while another build holds it, and the folder ends as one build
// alone leaves it, its record included, so no later build keeps a stand-in as a user's file.
TEST(StandInFolderTest, TwoBuildsAtOnceLeaveTheFolderOneBuildAloneWrites) {
    CTestFolder folder;
    const std::string clean = folder.File("clean"), game = folder.File("game");
    int status = -1;
    const std::string cleanLog = RunAssetTool(clean, &status);
    ASSERT_EQ(status, 0) << cleanLog;
    ASSERT_TRUE(std::ifstream("/proc/locks").good());
    ASSERT_EQ(mkdir(game.c_str(), 0777), 0);
    // Held as a build holds it while generating: the two builds generate, then wait to place.
    const int hold = open(game.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(flock(hold, LOCK_SH), 0);
    const pid_t builds[2] = {StartAssetTool(game, folder.File("first.log")),
                             StartAssetTool(game, folder.File("second.log"))};
    ASSERT_TRUE(builds[0] > 0 && builds[1] > 0);
    int statuses[2] = {-1, -1};
    bool waiting[2] = {false, false};
    while (!(waiting[0] && waiting[1]) && statuses[0] == -1 && statuses[1] == -1) {
        for (int i = 0; i < 2; ++i) {
            waiting[i] = waiting[i] || WaitsForALock(builds[i]);
            statuses[i] = StatusIfEnded(builds[i]);
        }
        usleep(2000);
    }
    EXPECT_TRUE(waiting[0] && waiting[1]) << "a build placed its stand-ins while another held the game folder";
    flock(hold, LOCK_UN);
    close(hold);
    for (int i = 0; i < 2; ++i)
        if (statuses[i] == -1) waitpid(builds[i], &statuses[i], 0);
    EXPECT_EQ(statuses[0], 0);
    EXPECT_EQ(statuses[1], 0);
    EXPECT_EQ(ReadWholeFile(folder.File("first.log")) + ReadWholeFile(folder.File("second.log")), "");
    EXPECT_TRUE(FilesIn(game) == FilesIn(clean)) << "the folder is not what one build alone writes";
    EXPECT_EQ(StagingFoldersIn(game), 0);
}

// A fifo for the record, a link planted where a stand-in's new file goes, a file where an old
// build had a folder: the build neither hangs, nor writes outside the folder, nor fails. On a
// folder that takes no changes it fails, and its lines name only files that are there, with the
// cause.
TEST(StandInFolderTest, OddEntriesInTheFolderNeitherStopNorRedirectTheBuild) {
    CTestFolder folder;
    const std::string game = folder.File("game"), picture = game + "/bmp/comp4.png";
    const std::string record = game + "/stand-ins.txt", outside = folder.File("notes.txt");
    int status = -1;
    const std::string firstLog = RunAssetTool(game, &status);
    ASSERT_EQ(status, 0) << firstLog;
    const std::string picturesBytes = ReadWholeFile(picture);
    ASSERT_EQ(remove(picture.c_str()), 0);
    const std::string notes = "a user's own notes\n";
    WriteWholeFile(outside, notes);
    ASSERT_EQ(symlink(outside.c_str(), (picture + ".stand-in.new").c_str()), 0);
    ASSERT_EQ(remove(record.c_str()), 0);
    ASSERT_EQ(mkfifo(record.c_str(), 0666), 0);
    const std::string usersFile = "where an old build had a folder\n";
    WriteWholeFile(game + "/test_images", usersFile);

    const pid_t build = StartAssetTool(game, folder.File("build.log"));
    ASSERT_GT(build, 0);
    // A reader of the fifo is blocked until a writer opens it, and a writer can open it only while
    // a reader has: the build is let go on, with a failure.
    bool openedTheFifo = false;
    while ((status = StatusIfEnded(build)) == -1) {
        const int writer = open(record.c_str(), O_WRONLY | O_NONBLOCK);
        struct stat st;
        if (writer >= 0) {
            openedTheFifo = openedTheFifo || (fstat(writer, &st) == 0 && S_ISFIFO(st.st_mode));
            close(writer);
        }
        usleep(2000);
    }
    EXPECT_FALSE(openedTheFifo) << "the build opened the fifo in the record's place";
    const std::string log = ReadWholeFile(folder.File("build.log"));
    EXPECT_EQ(status, 0) << log;
    EXPECT_EQ(log, "");
    EXPECT_TRUE(ReadWholeFile(outside) == notes) << "the build wrote through the link";
    struct stat st;
    EXPECT_TRUE(lstat(picture.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ReadWholeFile(picture) == picturesBytes)
        << picture << " is not the stand-in in a file of its own";
    EXPECT_TRUE(lstat(record.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                RecordLine(ReadWholeFile(record), "bmp/comp4.png") != "")
        << "no record of the stand-ins";
    EXPECT_EQ(ReadWholeFile(game + "/test_images"), usersFile);

    // A read-only disk refuses even the removal of a file it does not hold.
    const std::string oldFile = game + "/sample/walker.txt";
    ASSERT_EQ(mkdir((game + "/sample").c_str(), 0777), 0);
    WriteWholeFile(oldFile, "an old build's test data\n");
    std::string whyNot;
    status = RunAssetToolOnReadOnlyFolder(game, folder.File("read-only.log"), &whyNot);
    if (status == -1) GTEST_SKIP() << "no read-only folder to build in: " << whyNot;
    const std::string readOnlyLog = ReadWholeFile(folder.File("read-only.log"));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << readOnlyLog;
    const std::string oldFilesLine = "make_assets: cannot remove " + oldFile + ": Read-only file system\n";
    EXPECT_NE(readOnlyLog.find(oldFilesLine), std::string::npos) << readOnlyLog;
    size_t from = 0;
    for (size_t end; (end = readOnlyLog.find('\n', from)) != std::string::npos; from = end + 1) {
        const std::string line = readOnlyLog.substr(from, end - from);
        const size_t at = line.find(game);
        const std::string named = at == std::string::npos ? "" : line.substr(at, line.find(": ", at) - at);
        EXPECT_TRUE(at != std::string::npos && lstat(named.c_str(), &st) == 0) << "names no file there: " << line;
        EXPECT_TRUE(line.ends_with(": Read-only file system")) << line;
    }
    EXPECT_EQ(from, readOnlyLog.size()) << "a line without its end: " << readOnlyLog;
}

}  // namespace
