// The scancode table: key numbers saved in the settings must name the same physical keys.
#include "sys_input.h"

#include <gtest/gtest.h>

// Scancodes are USB HID usage numbers, the physical key positions.
TEST(KeyTable, PhysicalKeysGetTheirDirectInputNumbers) {
    struct {
        int usage, key;
    } const cases[] = {
        {41, 1},    // Escape
        {30, 2},    // 1
        {20, 16},   // Q
        {4, 30},    // A
        {29, 44},   // Z
        {40, 28},   // Enter
        {44, 57},   // Space
        {42, 14},   // Backspace
        {58, 59},   // F1
        {69, 88},   // F12
        {82, 200},  // Up
        {81, 208},  // Down
        {80, 203},  // Left
        {79, 205},  // Right
        {76, 211},  // Delete
        {88, 156},  // keypad Enter
        {228, 157}, // right Ctrl
        {135, 115}, // Ro (Japanese)
        {137, 125}, // Yen (Japanese)
    };
    for (const auto& c : cases) EXPECT_EQ(SysScancodeToKey(c.usage), c.key) << c.usage;
    EXPECT_EQ(SysScancodeToKey(0), 0);
    EXPECT_EQ(SysScancodeToKey(9999), 0);
}

TEST(KeyTable, EveryKeyMapsBackToItself) {
    int mapped = 0;
    for (int key = 0; key < kSysKeyCount; ++key) {
        int scancode = SysKeyToScancode(key);
        if (!scancode) continue;
        ++mapped;
        EXPECT_EQ(SysScancodeToKey(scancode), key) << key;
    }
    EXPECT_GT(mapped, 100);
    EXPECT_EQ(SysKeyToScancode(0), 0);  // code 0 never goes down: "no quit key" stays safe
}
