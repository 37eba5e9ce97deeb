// The profile files a player may edit or damage, as the game reads them: the first byte picks
// ".\ap.ini" (the connection, chat texts and pad bindings) or ".\data\dt.ini" (the player record
// with the saved build), the rest is the file. Whatever the file held, the saved build reads as
// a build code; the decoder, given any bytes, yields values in the ranges its fields allow.
#include "fuzz_support.h"

#include "pad.h"
#include "player_data.h"
#include "robot_catalog.h"
#include "settings.h"
#include "sys_ini.h"

#include <cstdio>

namespace {

void WriteFile(const char* path, const std::string& bytes) {
    FILE* f = fopen(path, "wb");
    if (!f) FuzzFail("cannot write", path);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!MakeFuzzFolder("")) FuzzFail("no private folder");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CInFuzzFolder here;
    if (size < 1) return 0;
    const std::string file = Bytes(data + 1, size - 1);
    const bool playerFile = data[0] & 1;
    WriteFile(playerFile ? "data/dt.ini" : "ap.ini", file);
    remove(playerFile ? "ap.ini" : "data/dt.ini");

    CProfileFile profile;
    if (profile.Load(playerFile ? ".\\data\\dt.ini" : ".\\ap.ini")) {
        char value[64];
        const int n = profile.GetString(playerFile ? "PR" : "NET", playerFile ? "p_RoboData" : "NAME", "", value,
                                        sizeof value);
        FUZZ_CHECK(n >= 0 && n < (int)sizeof value, std::to_string(n));
    }
    CRobotCatalog catalog;
    if (playerFile) {
        CPlayerData player;
        player.Load();
        FUZZ_CHECK(IsBuildCode(player.m_roboData), player.m_roboData);
        catalog.DecodeConfig(player.m_roboData);
        catalog.GetTypeName(player.m_roboData, 0);
    } else {
        CSettings settings;
        CPad pad;  // its bindings from the KEY section
    }
    // The first bytes as a build code. Ids take seven bits, variant groups two or three, the main
    // colour three and the sub colour four (its top bit is lost on encoding).
    const std::string code = file.substr(0, kBuildCodeBytes);
    catalog.DecodeConfig(code);
    const int* c = catalog.m_config;
    const int limits[kConfigCount] = {127, 127, 127, 3, 3, 7, 3, 3, 7, 7, 7, 7, 15, 15, 15};
    for (int i = 0; i < kConfigCount; ++i) FUZZ_CHECK(c[i] >= 0 && c[i] <= limits[i], std::to_string(i));
    FUZZ_CHECK(IsBuildCode(catalog.EncodeConfig()), code);
    return 0;
}
