// The way buttons reach a robot: a pad copied into its input flags and button values, and the
// way back from a CPU opponent's button values into a pad.
#include "pad.h"
#include "robot.h"

void CRobot::ApplyPad(const CPad& pad) {
    for (bool& f : m_input) f = false;
    for (int s = 0; s < kPadSlots; ++s) {
        int f = kPadSlotToFlag[s];
        m_input[f] = pad.m_values[s] > 1;  // pressed or held
        m_padState[f] = pad.m_values[s];
    }
}

void CRobot::ClearVirtualButtons() {
    for (int i = 0; i < kInputCount; ++i) {
        m_input[i] = false;
        m_padState[i] = 0;
    }
}
