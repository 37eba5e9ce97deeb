// Saved frames of the offline battles and the staff roll, to look at after a run: the first
// single stage fighting, the first team stage with its four paints, the team final's black
// boss, the sortie, and the staff roll a third of the way through.
#include "campaign.h"
#include "campaign_fixture.h"
#include "robot_presets.h"
#include "staff_roll.h"

#include "frame_loop.h"

#include <set>

#ifndef SCREENSHOT_DIR
#error "SCREENSHOT_DIR names the folder for saved frames"
#endif

namespace {

class CampaignPictures : public OfflineBattleTest {
protected:
    ScreenImage shot;

    // Each battle runs `frames` frames of its own and leaves its last frame in `shot`.
    void ShootAfter(int frames) {
        onBattle = [this, frames](CBattle* b) {
            for (int f = 0; f < frames; ++f) b->Run();
            shot = driver.ReadFrame();
        };
    }
    void Save(const char* name) {
        ASSERT_EQ(shot.width, 640);
        EXPECT_EQ(shot.SavePng(std::string(SCREENSHOT_DIR) + "/" + name), 1);
        // A battle frame is a scene, not a cleared screen.
        std::set<uint32_t> colours;
        for (int y = 0; y < 480; y += 8)
            for (int x = 0; x < 640; x += 8) colours.insert(shot.Pixel(x, y));
        EXPECT_GT(colours.size(), 50u) << name;
    }
    void Start(CCampaign* c) {
        c->m_playerCode = GetRobotConfigCode("DID-03A");
        c->m_partnerCode = GetRobotConfigCode("SRX-21");
    }
};

TEST_F(CampaignPictures, TeamIntroChoosingThePartner) {
    driver.Press(kKeyEnter).Wait(3).Press(kKeyDown).Wait(40).Capture(&shot).Press(kKeyEnter);
    CCampaign c;
    TeamCampaignIntro(&c);
    EXPECT_TRUE(driver.ScriptDone());
    EXPECT_EQ(c.m_playerCode, GetRobotConfigCode("DID-03"));
    EXPECT_EQ(c.m_partnerCode, GetRobotConfigCode("DID-03A"));
    EXPECT_EQ(c.m_result, 0);
    EXPECT_NE(driver.Log().find("VIZI-DUDU_V1.mid"), std::string::npos);
    Save("campaign_team_intro.png");
}

TEST_F(CampaignPictures, FirstSingleStageFighting) {
    ShootAfter(150);
    CCampaign c;
    Start(&c);
    SetupSingleStage(&c, 0);
    Save("campaign_single_stage1.png");
}

TEST_F(CampaignPictures, FirstTeamStageWithItsFourPaints) {
    ShootAfter(150);
    CCampaign c;
    Start(&c);
    SetupTeamStage(&c, 0);
    Save("campaign_team_stage1.png");
}

TEST_F(CampaignPictures, TeamFinalsBlackBoss) {
    ShootAfter(150);
    CCampaign c;
    Start(&c);
    RunTeamFinalStage(&c);
    Save("campaign_team_final.png");
}

TEST_F(CampaignPictures, Sortie) {
    ShootAfter(150);
    RunOfflineBattle(SortieBattle(GetRobotConfigCode("VNA-3")));
    Save("sortie.png");
}

TEST_F(CampaignPictures, StaffRollAtFrameSixHundred) {
    CStaffRoll roll;
    RunFrameLoop([&] { return roll.m_frameCount == 600; },
                 [&] {
                     roll.Update();
                     return 1;
                 });
    shot = driver.ReadFrame();
    ASSERT_EQ(shot.SavePng(std::string(SCREENSHOT_DIR) + "/staff_roll.png"), 1);
    // Line 7 stands at y 160, opaque white over the dark night; the picture's corner stays dark.
    int white = 0;
    for (int y = 160; y < 176; ++y)
        for (int x = 200; x < 400; ++x) white += (shot.Pixel(x, y) & 0xffffff) > 0xc0c0c0;
    EXPECT_GT(white, 50);
    uint32_t corner = shot.Pixel(620, 20);
    EXPECT_LT(((corner >> 16) & 0xff) + ((corner >> 8) & 0xff) + (corner & 0xff), 120u);
}

}  // namespace
