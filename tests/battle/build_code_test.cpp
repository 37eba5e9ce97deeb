// The build code: its byte layout, round trips, codes that are short, blank or damaged (from ini
// files and the network), values that do not fit their bit field, and the name look-ups.
#include "robot_catalog.h"

#include "player_data.h"
#include "robot.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace {

using Config = std::array<int, kConfigCount>;

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s.push_back(char(v));
    return s;
}

Config Decode(const std::string& code) {
    CRobotCatalog c;
    c.DecodeConfig(code);
    Config out;
    for (int i = 0; i < kConfigCount; ++i) out[i] = c.m_config[i];
    return out;
}

std::string Encode(const Config& v) {
    CRobotCatalog c;
    c.SetConfig(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11], v[12], v[13], v[14]);
    return c.EncodeConfig();
}

const Config kZero = {};

TEST(BuildCode, KnownByteVectors) {
    struct Row {
        Config config;
        std::string code;
    };
    const Row rows[] = {
        {{36, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, Bytes({164, 128, 130, 128, 128, 128, 128, 128})},
        {{29, 0, 0, 3, 3, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0}, Bytes({157, 128, 128, 255, 128, 128, 128, 128})},
        {{9, 7, 12, 1, 2, 5, 3, 0, 6, 7, 0, 3, 0, 7, 5},
         Bytes({137, 135, 140, 128 + 1 + 8 + 80, 128 + 3 + 0 + 96, 128 + 7, 128 + 0 + 56, 128 + 3 + 40})},
        {kZero, std::string(kEmptyBuildCode)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Encode(row.config), row.code);
        EXPECT_EQ(Decode(row.code), row.config);
    }
}

TEST(BuildCode, EveryCodeByteSurvivesDecodeAndEncode) {
    // Bytes 0-4 carry every value 0-127 in range; bytes 5-7 only 0-63 (two 3-bit channels).
    for (int pos = 0; pos < kBuildCodeBytes; ++pos) {
        const int top = pos < 5 ? 255 : 128 + 63;
        for (int b = 128; b <= top; ++b) {
            std::string code(kEmptyBuildCode);
            code[pos] = char(b);
            EXPECT_EQ(Encode(Decode(code)), code) << "byte " << pos << " value " << b;
        }
    }
}

TEST(BuildCode, EveryInRangeFieldValueRoundTrips) {
    // Each field over its whole range, the others held at values that would show a spill.
    struct Field {
        int index;
        int max;
    };
    const Field fields[] = {{kCfgType, 127}, {kCfgLeftItem, 127}, {kCfgRightWeapon, 127},
                            {3, 3}, {4, 3}, {5, 7}, {6, 3}, {7, 3}, {8, 7},
                            {9, 7}, {10, 7}, {11, 7}, {12, 7}, {13, 7}, {14, 7}};
    const Config others[] = {kZero, {127, 127, 127, 3, 3, 7, 3, 3, 7, 7, 7, 7, 7, 7, 7}};
    for (const Config& base : others)
        for (const Field& f : fields)
            for (int v = 0; v <= f.max; ++v) {
                Config c = base;
                c[f.index] = v;
                EXPECT_EQ(Decode(Encode(c)), c) << "field " << f.index << " value " << v;
            }
}

TEST(BuildCode, OutOfRangeValuesStayInTheirOwnField) {
    struct Row {
        int index;
        int value;
        int byte;      // the only byte that may change
        int expected;  // its value
    };
    const Row rows[] = {
        {kCfgType, 200, 0, 128 + (200 & 127)},
        {kCfgType, -1, 0, 255},
        {kCfgLeftItem, 128, 1, 128},
        {3, 4, 3, 128},            // group 0 has two bits: 4 must not become group 1's 1
        {4, 5, 3, 128 + 4},
        {5, 8, 3, 128},            // group 2 has three bits: 8 must not reach the sign bit
        {8, 15, 4, 128 + 112},
        {9, 8, 5, 128},            // main red 8 must not become sub red 1
        {12, 9, 5, 128 + 8},
        {14, -1, 7, 128 + 56},
    };
    for (const Row& row : rows) {
        Config c = kZero;
        c[row.index] = row.value;
        const std::string code = Encode(c);
        for (int i = 0; i < kBuildCodeBytes; ++i)
            EXPECT_EQ((unsigned char)code[i], i == row.byte ? row.expected : 128)
                << "field " << row.index << " value " << row.value << " byte " << i;
    }
}

TEST(BuildCode, ShortCodesReadTheirMissingBytesAsZero) {
    const std::string full = Bytes({164, 135, 130, 128 + 1 + 8 + 32, 128 + 2, 128 + 9, 128 + 18, 128 + 27});
    for (size_t len = 0; len <= full.size(); ++len) {
        std::string padded = full.substr(0, len);
        padded.append(full.size() - len, char(128));
        EXPECT_EQ(Decode(full.substr(0, len)), Decode(padded)) << "length " << len;
    }
    // Bytes after the eighth are not part of the code.
    EXPECT_EQ(Decode(full + "\x85\x20"), Decode(full));
}

TEST(BuildCode, ByteBelow128MeansNoCodeAndAgreesWithThePlayerData) {
    const std::string samples[] = {
        std::string(11, ' '),  // the unsaved build
        std::string(8, ' '),
        "",
        Bytes({164, 128, 130, 32, 128, 128, 128, 128}),
        Bytes({0, 0, 0, 0, 0, 0, 0, 0}),
        Bytes({164, 128, 130, 128, 128, 128, 128, 127}),
        Bytes({164, 128}),
        Bytes({32}),
    };
    for (const std::string& s : samples) {
        const Config decoded = Decode(s);
        bool below = false;
        for (size_t i = 0; i < s.size() && i < size_t(kBuildCodeBytes); ++i) below |= (unsigned char)s[i] < 128;
        if (below || s.empty()) {
            EXPECT_EQ(decoded, kZero) << "code of " << s.size() << " bytes";
        }
        // What the player data keeps of a stored code decodes to the same build.
        if (s.size() == size_t(kBuildCodeBytes) || s.find_first_not_of(' ') == std::string::npos) {
            const std::string kept = IsBuildCode(s) ? s : std::string(kEmptyBuildCode);
            EXPECT_EQ(decoded, Decode(kept)) << "code of " << s.size() << " bytes";
        }
    }
}

TEST(BuildCode, TypeNames) {
    struct Row {
        std::string code;
        int which;
        const char* name;
    };
    const Row rows[] = {
        {Bytes({128 + 36}), 0, "ｾﾞﾛ"},      {Bytes({128 + 29}), 0, "ｼﾞｬｽﾃｨｽ"},
        {Bytes({128 + 9}), 0, "ﾌﾗｯﾄ"},      {Bytes({128 + 21}), 0, "ｻｲﾚﾝ"},
        {Bytes({128 + 31}), 0, "ｲｰｸﾞﾙ"},   {Bytes({128 + 32}), 0, "ﾒｲﾄﾞ"},
        {Bytes({128 + 33}), 0, "ｱｸﾀｰ"},     {Bytes({128 + 10}), 0, "??"},
        {Bytes({255}), 0, "??"},             {"", 0, "??"},
        {std::string(11, ' '), 0, "??"},    {Bytes({128 + 36}), 1, "??"},
        {Bytes({128 + 36}), 2, "??"},       {Bytes({128 + 36}), 3, ""},
        {Bytes({128 + 36}), -1, ""},
    };
    CRobotCatalog c;
    for (const Row& row : rows) EXPECT_EQ(c.GetTypeName(row.code, row.which), row.name) << row.which;
}

TEST(BuildCode, NameLookupsStayInsideTheirTables) {
    CRobotCatalog c;
    struct Row {
        int id;
        const char* right;
        const char* left;
    };
    const Row rows[] = {
        {0, "ビームランチャー１", "ブレード１"}, {7, "ＦＧＢＳ", "左手マシンガン"}, {8, "村雨", ""},
        {12, "シュバッツァー", ""},             {13, "", ""},                       {50, "", ""},
        {63, "", ""},                            {64, "", ""},                       {127, "", ""},
        {-1, "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(c.GetRightWeaponName(row.id), row.right) << row.id;
        EXPECT_EQ(c.GetLeftItemName(row.id), row.left) << row.id;
    }
    EXPECT_EQ(c.GetVariantName(0, 0), "");
    EXPECT_EQ(c.GetVariantName(6, 0), "");
    EXPECT_EQ(c.GetVariantName(0, 4), "");
    EXPECT_EQ(c.GetVariantName(-1, 0), "");
}

TEST(BuildCode, SetConfigStartsFromFreshNamesAndSetColorsKeepsTheRest) {
    CRobotCatalog c;
    c.m_partFiles[3] = "old.x";
    c.m_variantNames[5] = "old";
    c.SetConfig(29, 1, 2, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6, 7, 0);
    EXPECT_EQ(c.m_partFiles[3], "");
    EXPECT_EQ(c.m_variantNames[5], "");
    EXPECT_EQ(c.m_rightWeaponNames[2], "ライフル");
    c.SetColors(7, 6, 5, 4, 3, 2);
    const Config expected = {29, 1, 2, 3, 2, 1, 0, 1, 2, 7, 6, 5, 4, 3, 2};
    for (int i = 0; i < kConfigCount; ++i) EXPECT_EQ(c.m_config[i], expected[i]) << i;
}

TEST(BuildCode, RandomAndShortCodesNeverLeaveTheTables) {
    std::mt19937 rng(12345);
    CRobotCatalog c;
    CRobot robot;
    for (int n = 0; n < 3000; ++n) {
        std::string code(size_t(rng() % 11), '\0');
        for (char& ch : code) ch = char(rng() & 0xFF);
        c.DecodeConfig(code);
        EXPECT_GE(c.m_config[kCfgType], 0);
        EXPECT_LE(c.m_config[kCfgType], 127);
        EXPECT_LE(c.m_config[kCfgRightWeapon], 127);
        (void)c.GetTypeName(code);
        c.SetupRobotType(&robot);
        EXPECT_LE(robot.m_weapons.count, kWeaponSlotCount);
        EXPECT_FALSE(c.BuildStatsText(&robot).empty());
        c.InitNames();
    }
}

}  // namespace
