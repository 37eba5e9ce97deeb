// The whole action catalogue: every action name the robot tables can put in a robot has a
// script, and every registered action, started in a real battle on stage 1 under scripted pads,
// keeps the robot sound (finite motion, energy in range, inside the stage), asks only for poses,
// animations and projectile kinds the tables hold, comes back to the stance, and runs the same
// twice. One test per build, so the builds spread over the test runner's workers.
#include "../battle/battle_fixture.h"
#include "action_helpers.h"
#include "action_registry.h"
#include "action_rig.h"
#include "angle_sequences.h"
#include "battle_runner.h"
#include "key_pose_tables.h"
#include "projectile_kinds.h"
#include "robot_tables.h"
#include "sys_rand.h"
#include "sys_text.h"

#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

// ---- Builds ----

struct SBuild {
    int type;
    int groups[kVariantGroupCount];
    int left, right;
    std::string label;  // ASCII, for the test name
    std::string Code() const {
        CRobotCatalog c;
        c.SetConfig(type, left, right, groups[0], groups[1], groups[2], groups[3], groups[4], groups[5], 7, 3, 1,
                    1, 3, 7);
        return c.EncodeConfig();
    }
};

int ChoiceCount(int type, int group) {
    for (int i = 0; i < kVariantGroupRowCount; ++i) {
        const VariantGroupRow& g = kVariantGroups[i];
        if (g.type != type || g.group != group) continue;
        int n = 0;
        while (n < kVariantsPerGroup && g.variants[n]) ++n;
        return n;
    }
    return 0;
}

// Each type plain, then each of its variant choices alone; the hand weapons (ids 0 to 12 and
// the CPU's 50) and left items go round the builds so every one is carried at least once.
std::vector<SBuild> CatalogueBuilds() {
    std::vector<SBuild> builds;
    const int types[] = {36, 29, 9, 21, 31, 32, 33};
    for (int type : types) {
        SBuild plain{type, {}, 0, 0, ""};
        builds.push_back(plain);
        for (int g = 0; g < kVariantGroupCount; ++g)
            for (int v = 1; v < ChoiceCount(type, g); ++v) {
                SBuild b = plain;
                b.groups[g] = v;
                builds.push_back(b);
            }
    }
    std::vector<int> rights;
    for (int id = 0; id < kRightWeaponCount; ++id) rights.push_back(id);
    rights.push_back(kCpuRightWeapon.id);
    for (size_t i = 0; i < builds.size(); ++i) {
        SBuild& b = builds[i];
        b.right = rights[i % rights.size()];
        b.left = static_cast<int>(i % kLeftItemCount);
        char label[64];
        std::snprintf(label, sizeof label, "t%d_v%d%d%d%d%d%d_L%d_R%d", b.type, b.groups[0], b.groups[1], b.groups[2],
                      b.groups[3], b.groups[4], b.groups[5], b.left, b.right);
        b.label = label;
    }
    return builds;
}

// ---- Input patterns ----

struct SPattern {
    const char* label;
    std::vector<int> inputs;
    bool aloft;      // lifted and rising
    bool afterDash;  // the previous action was the robot's dash
};

const std::vector<SPattern>& Patterns() {
    static const std::vector<SPattern> patterns = {
        {"none", {}, false, false},
        {"forward", {kInForward}, false, false},
        {"back", {kInBack}, false, false},
        {"right", {kInRight}, false, false},
        {"left", {kInLeft}, false, false},
        {"boost", {kInBoost}, false, false},
        {"boost forward", {kInBoost, kInForward}, false, false},
        {"boost back", {kInBoost, kInBack}, false, false},
        {"boost right", {kInBoost, kInRight}, false, false},
        {"boost left", {kInBoost, kInLeft}, false, false},
        {"aloft", {}, true, false},
        {"after a dash", {}, false, true},
    };
    return patterns;
}

constexpr int kAloftPattern = 10;

// ---- What a build can reach ----

struct SStart {
    std::string name;
    int pattern;
};

void ApplyPatternExtras(CRobot& r, const SPattern& p) {
    if (p.aloft) {
        r.m_groundHeight = 3.0;
        r.m_velocity[1] = 0.2;
    }
    if (p.afterDash) r.m_previousAction = r.m_actionNames[kActDash];
}

// The build's standard names (slots 1 to 15), then everything a reached action hands over to
// in one step under some pattern, breadth first. Unregistered names are collected apart.
std::vector<SStart> ReachableStarts(const SBuild& b, std::set<std::string>* unregistered) {
    CRobotCatalog c;
    c.DecodeConfig(b.Code());
    std::vector<SStart> starts;
    std::set<std::string> seen;
    auto add = [&](const std::string& name, int pattern) {
        if (name.empty() || seen.count(name)) return;
        seen.insert(name);
        if (!FindActionScript(name)) {
            unregistered->insert(name);
            return;
        }
        starts.push_back({name, pattern});
    };
    {
        CRobot probe;
        c.SetupRobotType(&probe);
        // The aerial jump is only ever entered off the ground, so it starts there.
        for (int slot = 1; slot < kActionNameCount; ++slot)
            add(probe.m_actionNames[slot], slot == kActAerialJump ? kAloftPattern : 0);
    }
    for (size_t i = 0; i < starts.size(); ++i) {
        const std::string from = starts[i].name;
        for (size_t p = 0; p < Patterns().size(); ++p) {
            CRobot r;
            c.SetupRobotType(&r);
            RigLegs(r);
            r.m_ep = r.m_maxEp;
            r.SetAction(from);
            r.m_previousAction = r.m_actionNames[kActStance];
            for (int k : Patterns()[p].inputs) SetInput(r, k, kPadPressed);
            ApplyPatternExtras(r, Patterns()[p]);
            r.UpdateAction();
            if (r.m_currentAction != from) add(r.m_currentAction, static_cast<int>(p));
            add(r.m_nextAction, static_cast<int>(p));
        }
    }
    return starts;
}

// ---- The battle ----

bool Finite(double v) { return std::isfinite(v); }

// Stage 1's ring wall takes rays only from outside (its collision faces point away from the
// arena), so the cruising flight, which nothing turns, passes it; the other actions never get
// that far. Until the stage is mended the check is only that such a robot stays above the floor
// of the world.
bool LeavesThroughTheRing(const std::string&) { return false; }

int PadSlotOf(int input) {
    for (int s = 0; s < kPadSlots; ++s)
        if (kPadSlotToFlag[s] == input) return s;
    return -1;
}

struct SRunTotals {
    int actions = 0;
    int steps = 0;
    std::string lastFinal;
    std::vector<uint64_t> hashes;  // after each action's run
};

class ActionCatalogue : public BattleTest {
protected:
    // Robot 0 of the build against a standing type -1 robot, both freshly made.
    void Arrange(const SBuild& build) {
        // A battle used before keeps traces of its past in its projectile records, so each run
        // gets a new one.
        m_battle = std::make_unique<CBattle>();
        m_battle->LoadStage(1);
        CBattle& b = *m_battle;
        GameSrand(1);
        b.m_clock = 1800;
        b.m_robotCount = 2;
        b.BuildRobot(0, -1, build.Code());
        b.BuildRobot(1, -1, ParseBuildCode("29,0,2"));
        b.m_robots[0].m_teamCode = "AL";
        b.m_robots[1].m_teamCode = "BL";
        b.PlaceRobots();
        for (int k = 0; k < 2; ++k) {
            CRobot& r = b.m_robots[k];
            r.m_gravity = double(-0.02f);
            ASSERT_TRUE(r.PlaceOnGround(&b.m_stageObjects[0])) << k;
        }
        m_start = b.m_robots[0].m_frames[kRootFrame].GetLocalPosition();
        b.m_phase = kPhaseFight;
        const CMesh& ground = b.m_stageMeshes[0];
        m_boxMin = ground.GetBoxMin() * kStageScale;
        m_boxMax = ground.GetBoxMax() * kStageScale;
    }

    // One simulation step as the battle takes it, with the requests looked at between the
    // robots' step and the launch.
    void Step(const SPattern* held, bool check, const std::string& started) {
        CBattle& b = *m_battle;
        CPad& pad = b.m_slotPads[0];
        int now[kPadSlots] = {};
        if (held)
            for (int k : held->inputs) now[PadSlotOf(k)] = 1;
        for (int s = 0; s < kPadSlots; ++s) {
            const bool before = pad.m_values[s] >= 2;
            pad.m_values[s] = now[s] ? (before ? 3 : 2) : (before ? 1 : 0);
        }
        b.m_slotPads[1].Reset(0);
        CRobot& foe = b.m_robots[1];
        foe.m_hp = foe.m_maxHp;  // the opponent lives throughout
        for (int i = 0; i < b.m_robotCount; ++i) b.m_robots[i].ApplyPad(b.m_slotPads[i]);
        if (b.m_clock > kClockFloor) --b.m_clock;
        b.UpdateRobots();
        b.UpdateTargets();
        if (check) CheckRobot(b.m_robots[0], started);
        b.SpawnProjectiles();
        b.UpdateProjectiles();
        b.CheckProjectileCollisions();
        b.CheckProjectileHits();
    }

    void CheckRobot(const CRobot& r, const std::string& started) {
        SCOPED_TRACE(SjisToUtf8(started) + " now " + SjisToUtf8(r.m_currentAction));
        const Mat4& m = r.m_frames[kRootFrame].m_matrix;
        bool finite = Finite(r.m_twist) && Finite(r.m_twistTarget) && Finite(r.m_heldTwist);
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) finite = finite && Finite(m.m[i][j]);
        for (int i = 0; i < 3; ++i) finite = finite && Finite(r.m_velocity[i]) && Finite(r.m_turnRate[i]);
        finite = finite && Finite(r.m_moveSpeed[0]) && Finite(r.m_moveSpeed[1]) && Finite(r.m_groundHeight);
        ASSERT_TRUE(finite);
        ASSERT_GE(r.m_ep, 0);
        ASSERT_LE(r.m_ep, r.m_maxEp);
        const Vec3 p = r.m_frames[kRootFrame].GetLocalPosition();
        ASSERT_GE(p.y, -10.0f);
        // Inside the ground's box seen from above: jumps and flight rise over its highest face.
        if (!LeavesThroughTheRing(started)) {
            ASSERT_TRUE(p.x >= m_boxMin.x && p.x <= m_boxMax.x && p.z >= m_boxMin.z && p.z <= m_boxMax.z)
                << p.x << " " << p.z << " at frame " << r.m_actionFrame;
        }
        ASSERT_NE(FindActionScript(r.m_currentAction), nullptr);
        if (!r.m_nextAction.empty()) {
            ASSERT_NE(FindActionScript(r.m_nextAction), nullptr) << SjisToUtf8(r.m_nextAction);
        }
        if (!r.m_poseName.empty()) {
            ASSERT_NE(FindAnyKeyPose(r.m_poseName), nullptr) << SjisToUtf8(r.m_poseName);
        }
        if (!r.m_animName.empty()) {
            ASSERT_GE(FindAngleSequence(r.m_animName), 0) << SjisToUtf8(r.m_animName);
        }
        int raised = 0;
        for (const CShotSlot& s : r.m_shotSlots.slots) {
            if (!s.inUse) continue;
            ++raised;
            ASSERT_GE(FindKindRow(s.name.c_str()), 0) << SjisToUtf8(s.name);
        }
        ASSERT_LE(raised, kShotSlotCount);
    }

    // Back on its start, whole and full, in the stance: the next action starts from the same
    // footing whatever the last one did.
    void Refresh() {
        CBattle& b = *m_battle;
        CRobot& r = b.m_robots[0];
        r.m_frames[kRootFrame].SetPosition(m_start.x, m_start.y + 1.0f, m_start.z);
        ASSERT_TRUE(r.PlaceOnGround(&b.m_stageObjects[0]));
        r.m_hp = r.m_maxHp;
        r.m_ep = r.m_maxEp;
        r.ClearVelocity();
        r.m_nextAction.clear();
        r.SetAction(r.m_actionNames[kActStance]);
    }

    // Starts every action of `starts` on robot 0, holds its pattern for 30 steps, then lets go
    // for 300; `check` looks at every step.
    SRunTotals Run(const SBuild& build, const std::vector<SStart>& starts, bool check) {
        Arrange(build);
        SRunTotals t;
        if (HasFatalFailure()) return t;
        CRobot& r = m_battle->m_robots[0];
        for (const SStart& s : starts) {
            Refresh();
            const SPattern& p = Patterns()[s.pattern];
            r.SetAction(s.name);
            if (p.aloft) {
                const Vec3 at = r.m_frames[kRootFrame].GetLocalPosition();
                r.m_frames[kRootFrame].SetPosition(at.x, at.y + 4.0f, at.z);
                r.m_velocity[1] = 0.2;
            }
            if (p.afterDash) r.m_previousAction = r.m_actionNames[kActDash];
            for (int i = 0; i < 330; ++i) {
                Step(i < 30 ? &p : nullptr, check, s.name);
                if (HasFatalFailure()) return t;
            }
            t.steps += 330;
            ++t.actions;
            t.lastFinal = r.m_currentAction;
            t.hashes.push_back(m_battle->HashState());
            if (check) {
                const std::string& a = r.m_currentAction;
                const std::string* n = r.m_actionNames;
                EXPECT_TRUE(a == n[kActStance] || a == n[kActDestroyed] || a == n[kActVictory] || a == n[kActDefeat])
                    << SjisToUtf8(s.name) << " (" << p.label << ") ends in " << SjisToUtf8(a);
            }
        }
        return t;
    }

    Vec3 m_start, m_boxMin, m_boxMax;
};

// ---- The names the tables write ----

struct SNamed {
    std::string name;
    std::string where;
};

std::vector<SNamed> TableActionNames() {
    std::vector<SNamed> names;
    for (const RobotTypeRow& t : kRobotTypes) {
        const char* fields[] = {t.walkAction,    t.dashAction,    t.jumpAction,    t.aerialJumpAction,
                                t.stanceAction,  t.victoryAction, t.defeatAction,  t.backAction};
        for (const char* f : fields)
            if (f) names.push_back({f, "type " + std::to_string(t.type)});
    }
    for (int i = 0; i < kVariantEffectRowCount; ++i) {
        const VariantEffectRow& e = kVariantEffects[i];
        for (const ActionNameRow& a : e.actions)
            if (a.name) names.push_back({a.name, "variant of type " + std::to_string(e.type)});
    }
    for (const HandWeaponRow& w : kRightWeapons) names.push_back({w.action, "right hand " + std::to_string(w.id)});
    names.push_back({kCpuRightWeapon.action, "right hand 50"});
    for (const HandWeaponRow& w : kLeftItems) names.push_back({w.action, "left item " + std::to_string(w.id)});
    return names;
}

// The back weapon of type 33's core choices past the two the garage offers, and type 36's
// empty back slot, which no button queues.
bool KnownUnscripted(const std::string& name) { return name.empty() || name == "ショット＿シュバッツァーK2"; }

TEST(ActionCatalogueNames, EveryNameTheTablesWriteHasAScript) {
    int checked = 0;
    for (const SNamed& n : TableActionNames()) {
        if (KnownUnscripted(n.name)) continue;
        ++checked;
        EXPECT_NE(FindActionScript(n.name), nullptr) << SjisToUtf8(n.name) << " of " << n.where;
    }
    EXPECT_GT(checked, 40);
    std::string error;
    EXPECT_EQ(CheckActionRegistry(&error), 1) << error;
}

TEST(ActionCatalogueNames, UnscriptedNamesGiveWayToTheStance) {
    for (const char* name : {"", "ショット＿シュバッツァーK2"}) {
        SCOPED_TRACE(SjisToUtf8(name));
        auto r = std::make_unique<CRobot>();
        CRobotCatalog c;
        c.SetConfig(33, 0, 0, 0, 2, 0, 0, 0, 0, 7, 7, 7, 7, 7, 7);
        c.SetupRobotType(r.get());
        RigLegs(*r);
        EXPECT_EQ(r->m_actionNames[kActBack], "ショット＿シュバッツァーK2");
        r->SetAction(name);
        r->UpdateAction();
        EXPECT_EQ(r->m_currentAction, r->m_actionNames[kActStance]);
        EXPECT_EQ(r->m_actionFrame, 0);
        r->UpdateAction();
        EXPECT_EQ(r->m_currentAction, r->m_actionNames[kActStance]);
        EXPECT_EQ(r->m_actionFrame, 1);
    }
}

// Every registered action is reached by some build or started directly by the leftovers run.
std::vector<SStart> Leftovers() {
    std::set<std::string> reached, unregistered;
    for (const SBuild& b : CatalogueBuilds())
        for (const SStart& s : ReachableStarts(b, &unregistered)) reached.insert(s.name);
    std::vector<SStart> rest;
    for (int i = 0; i < GetActionScriptCount(); ++i) {
        const char* name = GetActionScript(i)->name;
        if (!reached.count(name)) rest.push_back({name, 0});
    }
    return rest;
}

TEST(ActionCatalogueNames, BuildsReachOnlyRegisteredNames) {
    std::set<std::string> unregistered;
    size_t reached = 0;
    for (const SBuild& b : CatalogueBuilds()) reached += ReachableStarts(b, &unregistered).size();
    for (const std::string& n : unregistered) EXPECT_TRUE(KnownUnscripted(n)) << SjisToUtf8(n);
    EXPECT_GT(reached, 0u);
    std::string left;
    for (const SStart& s : Leftovers()) left += SjisToUtf8(s.name) + " ";
    std::printf("started directly: %s\n", left.c_str());
}

// ---- The runs ----

class ActionCatalogueRun : public ActionCatalogue, public ::testing::WithParamInterface<int> {};

void Report(const char* label, const SRunTotals& t) {
    std::printf("%s: %d actions run, %d steps, final %s\n", label, t.actions, t.steps, SjisToUtf8(t.lastFinal).c_str());
}

TEST_P(ActionCatalogueRun, EveryReachableActionRunsSoundAndTheSameTwice) {
    const std::vector<SBuild> builds = CatalogueBuilds();
    const int index = GetParam();
    // The last index runs what no build reaches, on the plain second type.
    const bool rest = index == static_cast<int>(builds.size());
    const SBuild& build = rest ? builds[1] : builds[index];
    std::set<std::string> unregistered;
    const std::vector<SStart> starts = rest ? Leftovers() : ReachableStarts(build, &unregistered);
    ASSERT_FALSE(starts.empty());
    const SRunTotals first = Run(build, starts, true);
    ASSERT_FALSE(HasFatalFailure());
    const SRunTotals second = Run(build, starts, false);
    EXPECT_EQ(first.hashes, second.hashes);
    Report(rest ? "not reached by any build" : build.label.c_str(), first);
}

std::string BuildName(const ::testing::TestParamInfo<int>& info) {
    const std::vector<SBuild> builds = CatalogueBuilds();
    return info.param < static_cast<int>(builds.size()) ? builds[info.param].label : std::string("leftovers");
}

INSTANTIATE_TEST_SUITE_P(Builds, ActionCatalogueRun,
                         ::testing::Range(0, static_cast<int>(CatalogueBuilds().size()) + 1), BuildName);

}  // namespace
