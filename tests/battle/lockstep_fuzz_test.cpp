// Seeded fuzzing of what a peer can send: key texts of any bytes, and build codes of any bytes
// driving a whole battle on random pads. Nothing may fault, every float stays finite, and the
// same bytes computed twice give the same battle. A failure prints its seed.
#include "battle_fixture.h"

#include "input.h"
#include "sys_rand.h"

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kFuzzSteps = 300;

// Bytes a peer might send: any byte, the digits 4 to 9, and Shift-JIS lead bytes (0x81-0x9F,
// 0xE0-0xFC) that a careless reader would pair with the digit after them.
std::string RandomKeyText(std::mt19937& gen) {
    static const unsigned char kPool[] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 0x00, 0x81,
                                          0x82, 0x9F, 0xE0, 0xFC, 0xFF, '-', ' ', 0x7F};
    std::string text(gen() % 30, '\0');
    for (char& c : text)
        c = gen() % 2 ? char(kPool[gen() % sizeof kPool]) : char(gen() % 256);
    return text;
}

int ExpectedValue(const std::string& text, int k) {
    if (k >= int(text.size())) return kButtonUp;
    unsigned char c = static_cast<unsigned char>(text[k]);
    return c >= '0' && c <= '3' ? c - '0' : kButtonUp;
}

TEST_F(BattleTest, AnyKeyTextGivesButtonValuesOfItsOwnDigits) {
    const unsigned seed = 20261209;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 gen(seed);
    CPad& pad = m_battle->m_slotPads[0];
    for (int round = 0; round < 2000; ++round) {
        std::string text = RandomKeyText(gen);
        // A heap copy of exactly the text's bytes, so a read past its end faults under ASan.
        std::vector<char> bytes(text.begin(), text.end());
        pad.FromKeyString(std::string(bytes.data(), bytes.size()));
        for (int k = 0; k < kPadSlots; ++k) {
            ASSERT_GE(pad.m_values[k], 0) << "round " << round;
            ASSERT_LE(pad.m_values[k], 9) << "round " << round;
            ASSERT_EQ(pad.m_values[k], ExpectedValue(text, k)) << "round " << round << " slot " << k;
        }
        // What goes back out is twelve digits every peer reads alike.
        std::string out = pad.ToKeyString();
        ASSERT_EQ(out.size(), size_t(kPadSlots));
        for (char c : out) ASSERT_TRUE(c >= '0' && c <= '3') << "round " << round;
    }
}

bool Finite(const CRobot& r) {
    for (const C3DObject& f : r.m_frames) {
        const float* m = &f.m_matrix.m[0][0];
        for (size_t k = 0; k < sizeof f.m_matrix.m / sizeof(float); ++k)
            if (!std::isfinite(m[k])) return false;
    }
    for (const auto& row : r.m_angles)
        for (float v : row)
            if (!std::isfinite(v)) return false;
    for (float v : {r.m_twist, r.m_twistTarget, r.m_heldTwist, r.m_bank, r.m_poseTwist})
        if (!std::isfinite(v)) return false;
    for (double v : r.m_velocity)
        if (!std::isfinite(v)) return false;
    for (double v : r.m_moveSpeed)
        if (!std::isfinite(v)) return false;
    return std::isfinite(r.m_groundHeight);
}

// One battle of six robots built from random bytes, stepped on random key texts; the hash
// after every step. Empty when a robot's floats went non-finite (reported by the caller).
std::vector<uint64_t> FuzzBattle(unsigned seed, int* badStep) {
    std::mt19937 gen(seed);
    GameSrand(int(seed & 0x7FFF));
    auto b = std::make_unique<CBattle>();
    b->m_drawEnabled = 0;
    b->m_robotCount = kMaxRobots;
    b->m_clock = int(gen() % 400) - 50;
    for (int i = 0; i < kMaxRobots; ++i) {
        std::string code(gen() % 13, '\0');
        for (char& c : code) c = char(gen() % 256);
        // Half the codes start with a real type number so their other bytes reach the loader.
        if (!code.empty() && gen() % 2) code[0] = char(gen() % 40);
        b->BuildRobot(i, -1, code);
    }
    b->LoadStage(1 + int(gen() % 2));
    std::vector<uint64_t> hashes;
    for (int frame = 0; frame < 400 && b->m_phase == kPhaseIntro; ++frame) b->Run();
    hashes.push_back(b->HashState());
    *badStep = -1;
    for (int s = 0; s < kFuzzSteps && !b->IsOver(); ++s) {
        for (int i = 0; i < kMaxRobots; ++i) b->m_slotPads[i].FromKeyString(RandomKeyText(gen));
        b->SimulateStep();
        hashes.push_back(b->HashState());
        for (int i = 0; i < kMaxRobots; ++i)
            if (!Finite(b->m_robots[i]) && *badStep < 0) *badStep = s;
    }
    return hashes;
}

TEST_F(BattleTest, RandomBuildCodesAndPadsRunAlikeAndStayFinite) {
    m_battle.reset();
    for (unsigned seed : {7u, 1234u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        int bad1 = -1, bad2 = -1;
        std::vector<uint64_t> first = FuzzBattle(seed, &bad1);
        std::vector<uint64_t> second = FuzzBattle(seed, &bad2);
        EXPECT_EQ(bad1, -1) << "non-finite robot value at step " << bad1;
        ASSERT_EQ(first.size(), second.size());
        for (size_t s = 0; s < first.size(); ++s) ASSERT_EQ(first[s], second[s]) << "first difference at step " << s;
    }
}

}  // namespace
