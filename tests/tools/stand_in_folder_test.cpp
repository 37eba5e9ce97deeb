// The asset step of every build over a game folder a user has changed: their files stay, a
// stand-in they removed comes back, and the build's own files are rewritten only where the
// generator's bytes differ.
#include "test_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

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
    // Damaged lines spare their files at worst; they never stop the build.
    const std::string damaged = std::string("\xff\x01", 2) + '\0' + " 12 x\n0123456789abcdefg 1 x\n" +
                                "0123456789abcdef 99999999999999999999999 " + untouched + "\n";
    WriteWholeFile("stand-ins.txt", record + oldLine + damaged);
    const timespec before = ModifiedAt(untouched);

    const std::string log = RunAssetTool(folder.Path(), &status);
    EXPECT_EQ(status, 0) << log;
    EXPECT_TRUE(ReadWholeFile(mesh) == usersMesh) << "the user's " << mesh << " went";
    EXPECT_NE(log.find("kept " + folder.File(mesh)), std::string::npos) << log;
    EXPECT_TRUE(ReadWholeFile(picture) == picturesBytes) << picture << " is not the stand-in again";
    EXPECT_TRUE(ReadWholeFile(older) == olderBytes) << "the older stand-in " << older << " stayed";
    const timespec after = ModifiedAt(untouched);
    EXPECT_TRUE(after.tv_sec == before.tv_sec && after.tv_nsec == before.tv_nsec) << untouched << " was rewritten";
    struct stat st;
    EXPECT_NE(stat(".stand-ins.new", &st), 0) << "the generators' own folder is left behind";

    // Kept on every later build too, though the record no longer names it.
    RunAssetTool(folder.Path(), &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(ReadWholeFile(mesh) == usersMesh) << "the user's " << mesh << " went on the third build";
}

}  // namespace
