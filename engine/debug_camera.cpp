// The debug camera: flies the engine camera with the keyboard and mouse, and prints the frame
// rate, the camera and the input state with the engine's text.
#include "render_target.h"

#include "camera.h"
#include "engine.h"
#include "input.h"

#include <cstdio>

namespace {

// DirectInput codes of the keys the camera reads.
enum { kKeyW = 17, kKeyA = 30, kKeyS = 31, kKeyD = 32, kKeyZ = 44, kKeyX = 45, kKeyC = 46 };

struct MouseCamera {
    int ready = 0;
    int lastX = 0, lastY = 0;
    int centerX = 0, centerY = 0;
    float scaleX = 0, scaleY = 0;   // pixels per radian
} g_mouse;

int Down(int key) { return GetKeyStatus(key) > 1; }

void MoveByKeys(float v) {
    const float fps = g_frameTimer.m_fps;
    Vec3 m;
    if (Down(kKeyW)) m.z = v;
    if (Down(kKeyS)) m.z = -v;
    if (Down(kKeyD)) m.x = v;
    if (Down(kKeyA)) m.x = -v;
    if (m.x != 0 && m.z != 0) {
        m.x /= 1.4142135f;
        m.z /= 1.4142135f;
    }
    if (fps >= 1) TranslateView(m * 30.0f / fps);
}

}  // namespace

void DebugCameraKeys(float v) {
    const float t = v / 10 * 30 / g_frameTimer.m_fps;
    if (Down(kKeyUp)) RotateViewX(-t);
    if (Down(kKeyDown)) RotateViewX(t);
    if (Down(kKeyLeft)) RotateViewY(-t);
    if (Down(kKeyRight)) RotateViewY(t);
    MoveByKeys(v);
}

void DebugCameraMouse(float v) {
    if (!g_mouse.ready) {
        g_mouse.ready = 1;
        g_mouse.centerX = kScreenWidth / 2;
        g_mouse.centerY = kScreenHeight / 2;
        g_mouse.scaleX = kScreenWidth / 1.0471976f;
        g_mouse.scaleY = kScreenHeight / 1.5707964f;
        GetMousePos(&g_mouse.lastX, &g_mouse.lastY);
    }
    int x = 0, y = 0;
    GetMousePos(&x, &y);
    RotateViewAxis((g_mouse.lastX - x) / g_mouse.scaleX);
    RotateViewX((y - g_mouse.lastY) / g_mouse.scaleY);
    if (x < kScreenWidth * 0.25f || x > kScreenWidth * 0.75f) {
        x = g_mouse.centerX;
        SetMousePos(x, y);
    }
    g_mouse.lastX = x;
    g_mouse.lastY = y;
    MoveByKeys(v);
}

void DrawFpsText(int x, int y) { DrawTextFormat(x, y, "%.1f", g_frameTimer.m_fps); }

void DrawCameraText(int x, int y) {
    const Vec3 e = GetCameraPosition(), d = GetCameraDirection();
    DrawTextFormat(x, y, "%.1f (%.1f, %.1f, %.1f)->(%.1f,%.1f,%.1f)", g_frameTimer.m_fps, e.x, e.y, e.z, d.x, d.y, d.z);
}

void DrawKeyText(int x, int y) {
    DrawTextFormat(x, y, "Up=%d Down=%d Left=%d Right=%d Z=%d X=%d C=%d", GetKeyStatus(kKeyUp), GetKeyStatus(kKeyDown),
                   GetKeyStatus(kKeyLeft), GetKeyStatus(kKeyRight), GetKeyStatus(kKeyZ), GetKeyStatus(kKeyX),
                   GetKeyStatus(kKeyC));
}

void DrawMouseText(int x, int y) {
    DrawTextFormat(x, y, "X=%d Y=%d Left=%d Right=%d Middle=%d Wheel=%d", GetMouseX(), GetMouseY(), GetMouseButton(0),
                   GetMouseButton(1), GetMouseButton(2), GetMouseWheel());
}

void DrawJoystickText(int x, int y) {
    char text[256];
    int n = std::snprintf(text, sizeof(text), "Up=%d Down=%d Left=%d Right=%d\n", GetJoystickButton(0, 0),
                          GetJoystickButton(0, 1), GetJoystickButton(0, 2), GetJoystickButton(0, 3));
    for (int b = 0; b < 8 && n > 0 && n < (int)sizeof(text); ++b)
        n += std::snprintf(text + n, sizeof(text) - (size_t)n, "B%d=%d ", b, GetJoystickButton(0, 6 + b));
    DrawTextAt(x, y, text);
}
