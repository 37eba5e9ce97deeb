// Moves freshly generated stand-ins into the game folder without overwriting what a user put
// there. The folder's stand-ins.txt names each file that holds, byte for byte, the stand-in the
// build last wrote; only those, and missing files, are written again.
#pragma once

#include <string>

// Each build's generators get a folder of their own inside the game folder, this name and a
// suffix; what a stopped build left there goes on a later build.
extern const char* const kStandInStaging;
extern const char* const kStandInRecord;  // stand-ins.txt

// Two builds may run on one game folder at once (two terminals, an editor beside one). They
// generate side by side, holding the folder's flock shared; each places its stand-ins and
// rewrites the record holding it exclusively, so the record always matches what is in place.
// A build's own folder is flocked while it lives, which tells it from a stopped build's.
class CStandInBuild {
public:
    explicit CStandInBuild(const std::string& gameDir);
    ~CStandInBuild();  // removes its folder
    const std::string& StagingDir() const { return m_staging; }  // "" when none could be made
    // Every file under the build's folder goes to the same place in the game folder when that
    // file is missing, is the same bytes already, or is the stand-in its record names; any other
    // file there is kept, with a line on standard error. Then rewrites the record. 1 unless a
    // file could not be placed.
    int Place();
    CStandInBuild(const CStandInBuild&) = delete;
    CStandInBuild& operator=(const CStandInBuild&) = delete;

private:
    std::string m_gameDir;
    std::string m_staging;
    int m_gameFd = -1;
    int m_stagingFd = -1;
};
