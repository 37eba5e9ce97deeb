// The phase sequencer with its banners and timed events, and the victory rules by mission.
// Only built robots (slots below the robot count) count anywhere here: an unbuilt slot never
// keeps a side alive or shares in a time-up sum.
#include "battle.h"

#include "input.h"
#include "music.h"

namespace {

const char* const kMissionLeader = "敵リーダー撃破";
const char* const kMissionWipeOut = "敵勢力撃滅";
const char* const kMissionSurvive = "サバイブ";

// Intro and ending timeline, in frames of the phase.
constexpr int kIntroMissionFrame = 45;
constexpr int kIntroViewFrame = 50;
constexpr int kIntroGoFrame = 90;
constexpr int kFinishFrames = 120;
constexpr int kEndingActionFrame = 30;
constexpr int kEndingFrames = 150;
constexpr int kLongBanner = 90;
constexpr int kShortBanner = 30;

bool HasCode(const CRobot& r, const char* code) { return r.m_teamCode == code; }
bool StartsWith(const std::string& s, char c) { return !s.empty() && s[0] == c; }

}  // namespace

// ---- Sequencer ------------------------------------------------------------------------------------

void CBattle::UpdateAnnouncements() {
    ++m_phaseFrames;
    switch (m_phase) {
    case kPhaseIntro: AnnounceIntro(); break;
    case kPhaseFight: AnnounceFight(); break;
    case kPhaseFreeCamera:
        if (GetKeyStatus(kKeyF1) == kButtonPressed) m_phase = kPhaseFight;
        break;
    case kPhaseFinish: AnnounceFinish(); break;
    case kPhaseWon: AnnounceEnding(1); break;
    case kPhaseLost: AnnounceEnding(0); break;
    default: break;
    }
    UpdatePhase();
}

void CBattle::AnnounceIntro() {
    if (m_phaseFrames == 1) {
        for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) m_robots[i].PlaceOnGround(&m_stageObjects[0]);
        const std::string& code = m_robots[m_ownIndex].m_teamCode;
        if (code == "AL") m_banner1.SetText("Ａチームリーダーです");
        else if (code == "AM") m_banner1.SetText("Ａチームメンバーです");
        else if (code == "BL") m_banner1.SetText("Ｂチームリーダーです");
        else if (code == "BM") m_banner1.SetText("Ｂチームメンバーです");
        m_banner2.SetText("ＲＥＤＹ");
        m_banner2.m_countdown = kLongBanner;
        m_view.SetStartView();
    }
    if (m_phaseFrames == kIntroMissionFrame) m_banner1.SetText("目標：" + m_mission);
    if (m_phaseFrames == kIntroViewFrame) m_view.SetViewMode(-1);
    if (m_phaseFrames == kIntroGoFrame) {
        m_banner2.SetText("ＧＯ！！");
        m_banner2.m_countdown = kShortBanner;
    }
    if (m_phaseFrames > kIntroGoFrame) {
        m_phase = kPhaseFight;
        m_phaseFrames = 0;
    }
}

// The battle's end and the cruise-missile volley are decided in the simulation step; what is
// left here only shows.
void CBattle::AnnounceFight() {
    if (m_phaseFrames == 1) PlayMusic(1);
    const CRobot& own = m_robots[m_ownIndex];
    if (own.m_hp < 1 && own.m_framesSinceDamage == 2) m_banner1.SetText("行動不能");
    if (IsAllyJustDown(m_ownIndex)) m_banner1.SetText("友軍機撃墜");
    if (m_clock == kLastTenSecondsClock) m_banner1.SetText("Last10sec!");
    if (m_clock == kLockOnWarningClock) m_banner1.SetText("ﾛｯｸｵﾝ警告!");
    if (m_clock == kWarningClock) m_banner2.SetText("Warning!");
    if (m_clock == kCruiseMissileClock) m_banner1.SetText("巡航ミサイル接近");
    if (GetKeyStatus(kKeyF1) == kButtonPressed) {
        UpdateInput();  // so the same press is not seen again by the free camera
        m_phase = kPhaseFreeCamera;
    }
}

void CBattle::FireCruiseMissiles() {
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) {
        CRobot& r = m_robots[i];
        if (r.m_hp <= 0) continue;
        Vec3 above = r.m_frames[kRootFrame].GetWorldPosition() + Vec3(0, 15.0f, 0);
        r.FireWeaponAt("巡航ミサイル", above, Vec3(0, -1.0f, 0.01f));
    }
}

void CBattle::AnnounceFinish() {
    if (m_phaseFrames == 1) {
        m_banner2.SetText("Ｆｉｎｓｈ");
        m_banner2.m_countdown = kLongBanner;
        m_view.SetFinishView(m_clock);
        m_resultText = IsPlayerWinner() ? "WIN!" : "LOSE";
    }
    if (m_phaseFrames > kFinishFrames) {
        m_phase = IsPlayerWinner() ? kPhaseWon : kPhaseLost;
        m_phaseFrames = 0;
    }
}

void CBattle::AnnounceEnding(int won) {
    if (m_phaseFrames == 1) {
        m_banner2.SetText(won ? "ＷＩＮ！" : "ＬＯＯＳ");
        m_banner2.m_countdown = kLongBanner;
        m_banner1.SetText(won ? "作戦目標クリアー" : "作戦失敗");
        if (won) m_view.SetWinView();
        else m_view.SetLoseView();
    }
    if (m_phaseFrames == kEndingActionFrame) {
        for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) {
            CRobot& r = m_robots[i];
            bool cheers = IsSameTeam(i, -1) == (won != 0);
            const std::string& action = r.m_actionNames[cheers ? kActVictory : kActDefeat];
            if (r.m_currentAction != action) r.SetNextAction(action);
        }
        StopMusic();
    }
    if (m_phaseFrames > kEndingFrames) {
        m_result = won ? kResultWon : kResultLost;
        m_over = 1;
    }
}

// ---- Victory rules --------------------------------------------------------------------------------

int CBattle::OwnSide() { return StartsWith(m_robots[m_ownIndex].m_teamCode, 'B') ? 2 : 1; }

int CBattle::GetOwnLeader() {
    const char* code = OwnSide() == 2 ? "BL" : "AL";
    int leader = 0;
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i)
        if (HasCode(m_robots[i], code)) leader = i;
    return leader;
}

int CBattle::GetEnemyLeader() {
    const char* code = OwnSide() == 2 ? "AL" : "BL";
    int leader = 0;
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i)
        if (HasCode(m_robots[i], code)) leader = i;
    return leader;
}

bool CBattle::IsTeamAWiped() {
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) {
        const CRobot& r = m_robots[i];
        if ((HasCode(r, "AL") || HasCode(r, "AM")) && r.m_hp > 0) return false;
    }
    return true;
}

bool CBattle::IsTeamBWiped() {
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) {
        const CRobot& r = m_robots[i];
        if ((HasCode(r, "BL") || HasCode(r, "BM")) && r.m_hp > 0) return false;
    }
    return true;
}

bool CBattle::IsAllyJustDown(int ownSlot) {
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) {
        if (i == ownSlot || !IsSameTeam(i, m_ownIndex)) continue;
        if (m_robots[i].m_hp < 1 && m_robots[i].m_framesSinceDamage == 2) return true;
    }
    return false;
}

bool CBattle::IsBattleOver() {
    if (m_clock == 0) return true;
    if (m_mission == kMissionLeader) return m_robots[GetOwnLeader()].m_hp < 1 || m_robots[GetEnemyLeader()].m_hp < 1;
    if (m_mission == kMissionWipeOut) return IsTeamAWiped() || IsTeamBWiped();
    if (m_mission == kMissionSurvive) {
        int alive = 0;
        for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i)
            if (m_robots[i].m_hp > 0) ++alive;
        return alive <= 1;
    }
    return false;
}

bool CBattle::IsPlayerWinner() {
    if (m_clock != 0) {
        if (m_mission == kMissionLeader)
            return m_robots[GetOwnLeader()].m_hp > 0 && m_robots[GetEnemyLeader()].m_hp < 1;
        if (m_mission == kMissionWipeOut) return OwnSide() == 1 ? !IsTeamAWiped() : !IsTeamBWiped();
        if (m_mission == kMissionSurvive) return m_robots[m_ownIndex].m_hp > 0;
        return false;
    }
    // Time up: the side with the larger sum of HP percentages wins; a tie goes to side B.
    float sumA = 0, sumB = 0;
    for (int i = 0; i < m_robotCount && i < kMaxRobots; ++i) {
        const CRobot& r = m_robots[i];
        int share = r.m_maxHp > 0 ? r.m_hp * 100 / r.m_maxHp : 0;
        if (StartsWith(r.m_teamCode, 'A')) sumA += float(share);
        else if (StartsWith(r.m_teamCode, 'B')) sumB += float(share);
    }
    char winner = sumA > sumB ? 'A' : 'B';
    return StartsWith(m_robots[m_ownIndex].m_teamCode, winner);
}
