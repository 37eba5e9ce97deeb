// Moves freshly generated stand-ins into the game folder without overwriting what a user put
// there. The folder's stand-ins.txt names each file that holds, byte for byte, the stand-in the
// build last wrote; only those, and missing files, are written again.
#pragma once

#include <string>

// The generators' own folder inside the game folder; what a stopped build left there goes first.
extern const char* const kStandInStaging;
extern const char* const kStandInRecord;  // stand-ins.txt

// Every file under stagingDir goes to the same place under gameDir when that file is missing,
// is the same bytes already, or is the stand-in its record names; any other file there is kept,
// with a line on standard error. Then rewrites the record. 1 unless a file could not be placed.
int PlaceStandIns(const std::string& stagingDir, const std::string& gameDir);
