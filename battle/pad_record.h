// CPadRecord: a battle as its set-up and the key texts of every step, the same twelve digits per
// robot that an online battle exchanges. Replaying the keys from the same set-up computes the
// same battle bit for bit; the file is plain text with a checksum, so damage is refused.
#pragma once

#include "pad.h"
#include "robot.h"

#include <cstdint>
#include <string>

class CBattle;

constexpr int kPadRecordVersion = 1;
constexpr long kPadRecordMaxBytes = 64L << 20;  // far above a ten-minute battle of six robots

// What a battle scene may set on a robot after building it.
struct SRecordSlot {
    std::string code;  // build code bytes; "" for a robot left unbuilt
    std::string team;
    Mat4 root;         // the root frame's matrix: start position and facing
    int target = -1;   // slot, -1 none
    int hp = 0, maxHp = 0, ap = 0, maxAp = 0, vp = 0, maxVp = 0, ep = 0, maxEp = 0;
    int epPerStep = 0, dashStartEnergy = 0, dashStepEnergy = 0;
    double walkSpeed = 0, dashSpeed = 0, turnSpeed = 0;
};

class CPadRecord {
public:
    // ---- Set-up ----
    // The battle as set up before its first frame; the robots' codes are given, since a built
    // robot does not keep its code.
    void CaptureSetup(const CBattle& battle, int stage, const std::string codes[kMaxRobots]);
    // A fresh battle set up as recorded (robots built, stage loaded). 0 with a message when the
    // result is not the recorded battle (other robot or stage files, say).
    int ApplySetup(CBattle* battle, std::string* error) const;

    // ---- Steps ----
    void AddStep(CPad pads[kMaxRobots]);  // each built slot's key text
    int StepCount() const;
    void LoadStep(int step, CPad pads[kMaxRobots]) const;  // step from 0; pads from key texts only
    void SetEnd(int steps, int result, uint64_t lastHash);  // the recorded battle reached its result

    // ---- File ----
    std::string ToText() const;
    int FromText(const std::string& text, std::string* error);  // 1, or 0 and a message
    int Save(const std::string& path, std::string* error) const;
    int Load(const std::string& path, std::string* error);

    int m_stage = 1;
    std::string m_mission;
    int m_clock = 0;
    int m_robotCount = 0;
    int m_ownIndex = 0;
    SRecordSlot m_slots[kMaxRobots];
    uint64_t m_setupHash = 0;
    std::string m_keys;  // kPadSlots digits per robot per step, robot 0 first
    int m_endSteps = -1; // -1: the recording stopped before the battle's result
    int m_endResult = 0;
    uint64_t m_endHash = 0;
};
