// Pictures of one weapon action at a time on stage 1: the action is started on the attacker of
// a fresh two-robot battle, the battle steps, and at three chosen action frames the world is
// drawn from a camera that follows the attacker. One row of a contact sheet per action.
#pragma once

#include "contact_sheet.h"
#include "stage_duel.h"

#include "camera.h"
#include "sys_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

// Where the camera stands: beside the attacker (cuts and blows read in profile) or behind its
// shoulder looking down the range (shots in flight).
enum EPictureView { kViewSide, kViewBehind };

struct SActionPictures {
    const char* build;   // the attacker's frame type, left item and right weapon (and variants)
    const char* action;
    float lift;          // started this far above the floor (actions that start aloft)
    float ahead;         // the target stands this far in front
    int frames[3];       // the action frames drawn: wind-up, strike, follow-through
    int view;
    std::vector<int> held;  // pad slots held while it runs
    bool bySteps = false;   // `frames` count the action's steps (for the guns' looping counter)
};

// The stand-in robots painted so they read apart: the attacker orange and blue, the target
// pale blue and white.
inline std::string Painted(const char* build, const char* paint) {
    std::string code = build;
    int fields = 1;
    for (char c : code) fields += c == ',';
    for (; fields < 9; ++fields) code += ",0";
    return code + "," + paint;
}

inline void LookAtAttacker(CRobot& r, int view, Vec3* eye, Vec3* target) {
    const C3DObject& root = r.m_frames[kRootFrame];
    const Vec3 p = root.GetWorldPosition();
    Vec3 ahead = -root.GetWorldAxisZ();
    ahead.y = 0;
    ahead = Vec3Normalize(ahead);
    const Vec3 up(0, 1, 0);
    const Vec3 side = Vec3Cross(up, ahead);
    if (view == kViewSide) {
        *eye = p + side * 5.0f + up * 1.4f + ahead * 2.0f;
        *target = p + up * 0.9f + ahead * 2.0f;
    } else {
        *eye = p - ahead * 5.0f + side * 2.2f + up * 3.0f;
        *target = p + ahead * 4.0f + up * 0.6f;
    }
}

// The names of the three moments on the tiles.
const char* const kBlowMoments[3] = {"wind-up", "strike", "follow-through"};
const char* const kShotMoments[3] = {"aim", "fire", "in flight"};

// Runs `row` and adds its three tiles to `sheet`; a moment the action never reached leaves a
// gap and a failure. The number of tiles that showed some of the attacker's projectiles.
inline int AddActionRow(CContactSheet& sheet, const SActionPictures& row, const char* const* moments) {
    SCOPED_TRACE(SjisToUtf8(row.action));
    CStageDuel duel;
    EXPECT_EQ(duel.Setup(Painted(row.build, "7,5,1,1,2,6").c_str(), Painted("29,0,2", "2,4,7,6,6,6").c_str(), row.ahead),
              1);
    CRobot& r = duel.Attacker();
    if (row.lift > 0) duel.Lift(row.lift);
    r.SetAction(row.action);
    bool drawn[3] = {false, false, false};
    int withShots = 0;
    for (int step = 0; step < 900; ++step) {
        duel.Step(row.held);
        if (r.m_currentAction != row.action) break;
        const int moment = row.bySteps ? step + 1 : r.m_actionFrame;
        for (int k = 0; k < 3; ++k) {
            if (drawn[k] || moment != row.frames[k]) continue;
            drawn[k] = true;
            Vec3 eye, target;
            LookAtAttacker(r, row.view, &eye, &target);
            char line[48];
            std::snprintf(line, sizeof line, "\n%s%d %s", row.bySteps ? "step " : "f", row.frames[k], moments[k]);
            sheet.AddTile(row.action + std::string(line), duel.Battle().m_clearColor, eye, target,
                          [&] { duel.Draw(); });
            withShots += duel.FlyingShots() > 0;
        }
    }
    // Tiles go in order; a missed moment leaves its place empty so the rows stay aligned.
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(drawn[k]) << "never reached frame " << row.frames[k];
        if (!drawn[k]) sheet.Skip();
    }
    return withShots;
}

// Every row on pages of four (<name>_00.png ...); each row must show some of the attacker's
// projectiles, and every tile must be there.
inline void WriteActionSheet(const char* name, const std::vector<SActionPictures>& rows, const char* const* moments) {
    CContactSheet sheet(name, 3, 4);
    for (const SActionPictures& row : rows) EXPECT_GE(AddActionRow(sheet, row, moments), 1) << SjisToUtf8(row.action);
    EXPECT_EQ(sheet.TileCount(), 3 * static_cast<int>(rows.size()));
    EXPECT_EQ(sheet.Save(), (static_cast<int>(rows.size()) + 3) / 4);
}
