// The tests' data files that builds once wrote into the game folder, before they moved beside it.
#pragma once

#include <string>

// Removes those files, and their folders once empty, from a game folder built before the move;
// nothing else is touched. 1 unless one of them is there and cannot be removed.
int RemoveOldTestData(const std::string& gameDir);
