// Range checks of the status record fields: exactly the values the lobby's menus produce.
#include "status_record.h"

#include "lobby.h"
#include "lobby_menu.h"
#include "robot_catalog.h"
#include "wire.h"

#include <cstring>

namespace {

int InRange(int v, int low, int high) { return v >= low && v <= high; }

}  // namespace

int IsStatusLetter(char letter) { return letter != '\0' && strchr(kStatusLetters, letter) != nullptr; }

int IsMenuStage(int stage) {
    for (int s : kMenuStages)
        if (s == stage) return 1;
    return 0;
}

int IsKnownBuildCode(CRobotCatalog& catalog, const std::string& code) {
    if (code.size() != (size_t)kBuildCodeBytes) return 0;
    for (char c : code)
        if ((unsigned char)c < 0x80) return 0;
    return catalog.GetTypeName(code, 0) != "??";
}

int CheckStatusValue(CRobotCatalog& catalog, char letter, std::string& value, const char** reason) {
    const char* why = nullptr;
    int n = ReadWireInt(value.c_str());
    switch (letter) {
        case 'r':
            if (!IsKnownBuildCode(catalog, value)) why = "robot code";
            break;
        case 'm':
            if (!IsMenuStage(n)) why = "stage";
            break;
        case 'p':
            if (!InRange(n, 0, kLobbySlots - 1)) why = "battle index";
            break;
        case 'g':
            if (!InRange(n, 1, 4)) why = "mode";
            break;
        case 'l':
            if (n != -1 && !InRange(n, 1, kMaxTimeLimit)) why = "time limit";
            break;
        case 'b':
            if (!InRange(n, 1, kLobbySlots)) why = "fighter count";
            break;
        case 't':
            if (value != "AL" && value != "BL" && value != "AM" && value != "BM") why = "team tag";
            break;
        case 'n':
        case 's':
            if (HasControlByte(value))
                why = letter == 'n' ? "control byte in name" : "control byte in state text";
            else
                value = CutAtCharStart(value, kSlotTextMax);
            break;
        default:
            why = "status letter";
            break;
    }
    if (reason) *reason = why;
    return why == nullptr;
}
