// The checks a ">g" status record passes before any table takes it. Any program can connect to
// the relay and write records that look like the host's, so every value must be one the menus
// could have produced; a game's own echoed report is checked alike, so tables stay equal.
#pragma once

#include <string>

class CRobotCatalog;

// The nine field letters, in the order the receiver tests them.
constexpr const char kStatusLetters[] = "rmpnsgtlb";

int IsStatusLetter(char letter);
// 1 for a stage number the stage menu offers.
int IsMenuStage(int stage);
// 1 for a build code of eight bytes of at least 0x80 whose robot type the catalogue knows.
int IsKnownBuildCode(CRobotCatalog& catalog, const std::string& code);
// 1 when the value may be stored for the letter; names and state texts holding a control byte
// are refused, the others cut to 64 bytes at a character start in place. The reason for a refusal is left in *reason.
int CheckStatusValue(CRobotCatalog& catalog, char letter, std::string& value, const char** reason);
