// The offline battle's one path from description to result, shared by the campaign stages and
// the garage's sortie, so that every offline battle is set up in the same order.
#include "offline_battle.h"

#include "battle.h"
#include "frame_loop.h"
#include "loading_screen.h"
#include "robot_presets.h"

#include "engine.h"
#include "frame_timer.h"

#include <memory>

const char kOfflineMission[] = "敵勢力撃滅";

namespace {

OfflineBattleHook g_hook;

bool InPlay(const SOfflineBattle& setup, int slot) { return slot >= 0 && slot < setup.robotCount; }

}  // namespace

void SetOfflineBattleHook(OfflineBattleHook hook) { g_hook = std::move(hook); }

SOfflineBattle SortieBattle(const std::string& code) {
    SOfflineBattle battle;
    battle.robotCount = 2;
    battle.stage = kSortieStage;
    battle.clock = kSortieClock;
    battle.slots[0].code = code;
    battle.slots[0].cpuType = 0;
    battle.slots[1].code = code;
    battle.slots[1].cpuType = kSortieAiType;
    battle.slots[1].mainColor = kSortiePaint[0];
    battle.slots[1].subColor = kSortiePaint[1];
    return battle;
}

void SetupOfflineBattle(CBattle* battle, const SOfflineBattle& setup) {
    int count = setup.robotCount < 1 ? 1 : setup.robotCount > kMaxRobots ? kMaxRobots : setup.robotCount;
    battle->m_robotCount = count;
    battle->m_mission = kOfflineMission;
    for (int i = 0; i < count; ++i) battle->BuildRobot(i, setup.slots[i].cpuType, setup.slots[i].code);
    battle->LoadStage(setup.stage);
    battle->m_clock = setup.clock;
    for (int i = 0; i < count; ++i)
        if (setup.slots[i].team) battle->m_robots[i].m_teamCode = setup.slots[i].team;
    if (InPlay(setup, setup.placedSlot)) {
        const Vec3& p = setup.placedAt;
        battle->m_robots[setup.placedSlot].m_frames[kRootFrame].SetLocalPosition(p.x, p.y, p.z);
    }
    for (int i = 0; i < count; ++i) {
        int target = setup.slots[i].target;
        if (InPlay(setup, target)) battle->m_robots[i].m_target = &battle->m_robots[target];
    }
    if (InPlay(setup, setup.overrideSlot)) {
        CRobot& robot = battle->m_robots[setup.overrideSlot];
        const SStatOverride& s = setup.stats;
        robot.m_maxEp = s.maxEp;
        robot.m_epPerStep = s.epPerStep;
        robot.m_dashStartEnergy = s.dashStartEnergy;
        robot.m_dashStepEnergy = s.dashStepEnergy;
        robot.m_walkSpeed = s.walkSpeed;
        robot.m_dashSpeed = s.dashSpeed;
        robot.m_turnSpeed = s.turnSpeed;
    }
    for (int i = 0; i < count; ++i) {
        const SOfflineSlot& slot = setup.slots[i];
        if (slot.mainColor != kNoPaint && slot.subColor != kNoPaint)
            SetRobotColors(&battle->m_robots[i], slot.mainColor, slot.subColor);
    }
}

int RunOfflineBattle(const SOfflineBattle& setup) {
    if (g_quit) return kResultNone;
    ShowLoadingScreen();
    // The battle holds six robots and a hundred projectiles: too large for a stack frame.
    auto battle = std::make_unique<CBattle>();
    SetupOfflineBattle(battle.get(), setup);
    battle->Start();
    if (g_hook) {
        int result = g_hook(battle.get());
        if (result != kPlayBattle) return result;
    }
    RunBattleLoop([&] { return battle->IsOver() != 0; },
                  [&] {
                      battle->Run();
                      if (setup.afterFrame) setup.afterFrame();
                  },
                  [&] { return battle->m_skipCount; });
    return battle->GetResult();
}
