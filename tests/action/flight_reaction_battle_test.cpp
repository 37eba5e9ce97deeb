// Flight, hit reactions and the battle's end inside a real battle on stage 1: the robots run
// their whole step (counters, scripts, motion on the stage's collision mesh, projectiles)
// through the battle's simulation step, driven by pads written here.
#include "../battle/battle_fixture.h"
#include "action_helpers.h"
#include "battle_runner.h"
#include "sys_text.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

class FlightReactionBattle : public BattleTest {
protected:
    // Robots of the given builds, sides A and B, placed and standing, in the fight phase.
    void Setup(std::initializer_list<const char*> builds, std::initializer_list<const char*> teams) {
        CBattle& b = *m_battle;
        b.m_robotCount = static_cast<int>(builds.size());
        int i = 0;
        for (const char* build : builds) b.BuildRobot(i++, 0, ParseBuildCode(build));
        i = 0;
        for (const char* team : teams) b.m_robots[i++].m_teamCode = team;
        b.PlaceRobots();
        for (int k = 0; k < b.m_robotCount; ++k) {
            CRobot& r = b.m_robots[k];
            r.m_gravity = double(-0.02f);
            ASSERT_TRUE(r.PlaceOnGround(&b.m_stageObjects[0])) << k;
            r.m_lockOn = false;  // the pads alone turn them
        }
        b.m_phase = kPhaseFight;
        b.m_phaseFrames = 5;
        for (int k = 0; k < 3; ++k) Step({});  // settle into the stance
    }

    // One simulation step with robot 0's pad holding the given pad slots (pressed on the
    // step they go down); the other robots' pads are all up.
    void Step(std::initializer_list<int> held) {
        CBattle& b = *m_battle;
        CPad& pad = b.m_slotPads[0];
        int now[kPadSlots] = {};
        for (int s : held) now[s] = 1;
        for (int s = 0; s < kPadSlots; ++s) {
            const bool before = pad.m_values[s] >= 2;
            pad.m_values[s] = now[s] ? (before ? 3 : 2) : (before ? 1 : 0);
        }
        for (int k = 1; k < kMaxRobots; ++k) b.m_slotPads[k].Reset(0);
        b.SimulateStep();
        for (int k = 0; k < b.m_robotCount; ++k) Note(k);
    }

    // The actions each robot has run, in order, each once per run of it.
    void Note(int k) {
        const std::string& a = m_battle->m_robots[k].m_currentAction;
        if (m_seen[k].empty() || m_seen[k].back() != a) m_seen[k].push_back(a);
    }
    bool Saw(int k, const char* action) const {
        return std::find(m_seen[k].begin(), m_seen[k].end(), action) != m_seen[k].end();
    }
    std::string Seen(int k) const {
        std::string s;
        for (const std::string& a : m_seen[k]) s += SjisToUtf8(a) + " ";
        return s;
    }

    std::vector<std::string> m_seen[kMaxRobots];
};

// Pad slots (slot 10 becomes the boost input, slot 11 input 10).
constexpr int kPadForward = 0, kPadLeftWeapon = 7, kPadBackWeapon = 8, kPadBoost = 10;

TEST_F(FlightReactionBattle, Type31TransformsFliesAndLands) {
    Setup({"31,0,0", "29,0,1"}, {"AL", "BL"});
    CRobot& r = m_battle->m_robots[0];
    ASSERT_EQ(r.m_currentAction, "構え");
    const float floorY = r.m_frames[kRootFrame].GetWorldPosition().y;
    Step({kPadBackWeapon, kPadBoost});  // the stance takes the back weapon: the transformation
    EXPECT_EQ(r.m_currentAction, "飛行31");
    float top = floorY;
    for (int i = 0; i < 30; ++i) {
        Step({kPadForward, kPadBoost});  // climb
        top = std::max(top, r.m_frames[kRootFrame].GetWorldPosition().y);
    }
    for (int i = 0; i < 20; ++i) Step({});
    EXPECT_GT(top - floorY, 1.0f);
    Step({kPadLeftWeapon});  // land
    for (int i = 0; i < 150 && r.m_currentAction != "構え"; ++i) Step({});
    EXPECT_TRUE(Saw(0, "飛行31")) << Seen(0);
    EXPECT_TRUE(Saw(0, "硬直２")) << Seen(0);
    EXPECT_EQ(r.m_currentAction, "構え") << Seen(0);
    EXPECT_LT(r.m_groundHeight, 0.1);
}

struct SHitCase {
    const char* what;
    bool walking;  // a standing robot with no input guards instead
    int impact;
    bool down;
    const char* reaction;
};

TEST_F(FlightReactionBattle, HitRobotReactsAndReturnsToItsStance) {
    const SHitCase cases[] = {
        {"standing still: the guard", false, 2000, false, "h29_ガード"},
        {"walking: the hit stun", true, 600, false, "被弾硬直２"},
        {"walking, knocked down", true, 2000, true, "h29_被弾硬直"},
    };
    for (const SHitCase& c : cases) {
        SCOPED_TRACE(c.what);
        m_battle = std::make_unique<CBattle>();
        m_battle->LoadStage(1);
        for (auto& seen : m_seen) seen.clear();
        Setup({"29,0,1", "31,0,0"}, {"AL", "BL"});
        CRobot& r = m_battle->m_robots[0];
        for (int i = 0; c.walking && i < 10; ++i) Step({kPadForward});
        ASSERT_EQ(r.m_currentAction, c.walking ? "歩行６" : "構え");
        // As the battle's hit pass does it: between the robots' steps.
        r.ApplyHit(50, 10, c.impact, 0, 0, 1, c.down);
        EXPECT_EQ(r.m_currentAction, c.reaction);
        for (int i = 0; i < 400 && r.m_currentAction != "構え"; ++i) Step({});
        EXPECT_EQ(r.m_currentAction, "構え") << Seen(0);
        EXPECT_TRUE(Saw(0, c.reaction)) << Seen(0);
        EXPECT_GT(r.m_hp, 0);
        EXPECT_LT(r.m_groundHeight, 0.1);
    }
}

TEST_F(FlightReactionBattle, BattleEndPlaysVictoryAndDefeat) {
    // Side B's leader falls; its member lives on to show the defeat.
    Setup({"31,0,0", "29,0,1", "29,0,1"}, {"AL", "BL", "BM"});
    CBattle& b = *m_battle;
    b.m_robots[1].m_hp = 0;
    for (int f = 0; f < 400 && !b.IsOver(); ++f) {
        b.Run();
        for (int k = 0; k < b.m_robotCount; ++k) Note(k);
    }
    EXPECT_EQ(b.GetResult(), kResultWon);
    EXPECT_TRUE(Saw(0, "勝利忍者ジャンプ")) << Seen(0);
    EXPECT_TRUE(Saw(2, "敗北１")) << Seen(2);
    EXPECT_EQ(b.m_robots[1].m_currentAction, "撃破２") << "the wreck keeps its defeat waiting";
    EXPECT_FALSE(Saw(0, "硬直２")) << "the leap lands softly: " << Seen(0);
}

}  // namespace
