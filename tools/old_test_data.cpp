// A game folder kept across rebuilds still holds what older builds wrote into it: the tests' data
// files went there until they moved to their own folder. Only those names go, so a player's files
// (data/, ap.ini, logs) and anything else put into the folder stay.
#include "old_test_data.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char* const kOldFiles[] = {
    "sample/hill.png",       "sample/kf_arm.x",      "sample/kf_body.x", "sample/walker.txt",
    "test_images/quad.png",  "test_images/photo.jpg", "test_images/sprite.bmp",
    "wave/click.wav",        "wave/beep.wav",         "midi/tune.mid",
};
// Folders only those files lived in; removed when nothing else is in them.
const char* const kOldFolders[] = {"sample", "test_images"};

}  // namespace

int RemoveOldTestData(const std::string& gameDir) {
    int ok = 1;
    for (const char* name : kOldFiles) {
        const std::string path = gameDir + "/" + name;
        // Looked at first: a folder that takes no changes (a read-only disk) refuses even the
        // removal of a file it does not hold, and only a file that is there is worth a line.
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) continue;
        if (unlink(path.c_str()) != 0 && errno != ENOENT) {
            fprintf(stderr, "make_assets: cannot remove %s: %s\n", path.c_str(), strerror(errno));
            ok = 0;
        }
    }
    for (const char* name : kOldFolders) rmdir((gameDir + "/" + name).c_str());  // kept when not empty
    return ok;
}
