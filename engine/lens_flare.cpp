// The sun-glare effect: a glare quad at the light and, when the camera looks towards the light,
// a row of flare discs on the line from the light through the eye, and a white veil.
#include "shapes.h"

#include "camera.h"
#include "math_ops.h"

#include "sys_rand.h"

void DrawLensFlare(float x, float y, float z, float size, int flash) {
    const Vec3 light(x, y, z);
    SetAlphaBlend(1, kBlendSrcAlpha, kBlendOne);
    SetBillboardWorld(x, y, z);
    DrawBox2D(0, 0, 0, size, size, ((uint32_t)(0xC0 + GameRand() % 64) << 24) | 0xFFE080);

    const Vec3 eye = GetCameraPosition(), dir = GetCameraDirection();
    const Vec3 step = (light - eye) / 5.0f - dir * 5.0f;
    const float c = Vec3Dot(Vec3Normalize(light - eye), Vec3Normalize(dir));
    if (c <= 0.76f) {
        SetAlphaBlend(1, kBlendSrcAlpha, kBlendInvSrcAlpha);
        return;
    }
    float alpha = 0;
    if ((1400 + GameRand() * 800 / 32767) * (c - 0.9f) >= 0) alpha = (1400 + GameRand() * 800 / 32767) * (c - 0.9f);
    const uint32_t a = (uint32_t)(int)alpha << 24;

    SetDeviceTexture(0, nullptr);
    struct Element {
        int hexagon;
        float divisor;
        uint32_t center, rim;
    };
    const Element kElements[6] = {
        {0, 10, a, a + 0x804000},   {1, 8, a, a + 0x806000},     {0, 13, a, a + 0x8001040},
        {0, 7, a, a + 0x8006020},   {0, 20, a + 0x8040, a},       {0, 2, 0, a + 0x2000},
    };
    Vec3 p = light;
    for (const Element& e : kElements) {
        p -= step;
        SetBillboardWorld(p.x, p.y, p.z);
        if (e.hexagon)
            DrawHexagon2D(0, 0, 0, size / e.divisor, e.center, e.rim);
        else
            DrawCircle2D(0, 0, 0, size / e.divisor, e.center, e.rim);
    }
    SetAlphaBlend(1, kBlendSrcAlpha, kBlendInvSrcAlpha);
    if (flash && c > 0.85f) {
        float f = (c - 0.9f) * 1000.0f;
        if (f < 0) f = 0;
        DrawRect2D(0, 0, 640, 480, ((uint32_t)(int)f << 24) | 0xFFFFFF);
        SetAlphaBlend(1, kBlendSrcAlpha, kBlendInvSrcAlpha);
    }
}
