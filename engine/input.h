// Keyboard, mouse and joysticks (placeholder until input is built).
#pragma once

int InitDirectInput();   // 1 when the device is up
void FreeInput();
void UpdateInput();  // polls keyboard, mouse and joysticks once a frame
