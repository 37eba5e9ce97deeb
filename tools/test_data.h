// Files that only the tests read, written into a folder beside the game folder so that the
// player's folder holds the game alone. Each writer returns 1 on success.
#pragma once

#include <string>

int WriteEngineSamples(const std::string& dataDir);  // sample/: a keyframe model, a height image
int WriteTestImages(const std::string& dataDir);     // test_images/: a PNG, a JPEG and a BMP
int WriteTestAudio(const std::string& dataDir);      // wave/click.wav, wave/beep.wav, midi/tune.mid
