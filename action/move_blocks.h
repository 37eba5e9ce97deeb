// The building blocks of the movement scripts: direction twist, walk, free and latched
// speeds, the latch of the direction, dash effects, pose keys, footsteps and the landing
// check. Each script step is a short list of these.
#pragma once

class CRobot;

// A key pose set when the frame (or the frame modulo a loop's period) equals `frame`.
struct SPoseKey {
    int frame;
    const char* pose;
    int frames;
};

// T: the twist target from the held directions (first matching row); none held leaves it.
void TwistFromDirections(CRobot& r);
// W: 0.7 of the stat on both axes for a diagonal, the full stat on one axis otherwise; only
// while the frame is above 0.
void WalkSpeed(CRobot& r, double stat);
// W1: each held direction sets its own axis to the full stat; later ones win on an axis.
void FreeSpeed(CRobot& r, double stat);
// L: latch the twist target when `latchNow`, otherwise restore it from the latch.
void LatchTwist(CRobot& r, int latchNow);
// S: the speeds of the latched direction, compared exactly with the eight twist values.
void LatchedSpeed(CRobot& r, double stat);
// An effect from the body, aimed down the root's Z axis with the root turned by `turn` for the
// moment; `bodyAim` takes the body's Z axis instead. The root is restored exactly.
void FireTurnedEffect(CRobot& r, const char* kind, float turn, int bodyAim);
// E: the dash puff at frame 1 (turned by the twist target) and a boost flame on odd frames
// (turned by the current twist).
void DashEffects(CRobot& r);
// P: the key of the loop whose frame equals `phase`.
void PoseKeys(CRobot& r, int phase, const SPoseKey* keys, int count);
// F: the footstep when the frame modulo the period is 0; a period of 0 means none.
void Footsteps(CRobot& r, int period);
// G: after `afterFrame`, touching the ground while falling stops the robot and queues the
// stagger.
void LandingCheck(CRobot& r, int afterFrame);

template <int N>
constexpr int CountOf(const SPoseKey (&)[N]) { return N; }
