// The 3-D device of the engine: start-up and shut-down, the frame, the frame matrices, the
// light, the render-state wrappers the whole game uses, and text on the global font.
// Device calls beyond these wrappers go straight to the platform device (sys_graphics.h).
#pragma once

#include "debug_log.h"
#include "sys_graphics.h"
#include "sys_math.h"

#include <cstdint>

// ---- Device ---------------------------------------------------------------------------------
int InitDirect3D();   // 1 when the device is up; shows "エラー" and returns 0 when it is not
void FreeDirect3D();
int CreateDevice(int width, int height);
void SelectAdapter();
int SelectDisplayMode();
uint32_t SelectDepthFormat(uint32_t format);  // first usable of D16, D15S1, D24X8, D24S8, D24X4S4, D32
const char* FormatName(uint32_t format);      // "D3DFMT_..." ("D3DFMT_UNKNOWN" for the rest)
void LogDeviceCaps();
void SetupTransforms();
void SetDefaultRenderStates();
uint32_t PixelToArgb(uint32_t pixel, uint32_t format);  // alpha 0xFF; 0 for other formats

extern int g_adapter;
extern int g_backBufferWidth;    // 640
extern int g_backBufferHeight;   // 480
extern uint32_t g_backBufferFormat;
extern const char* g_deviceTypeName;  // "TnLHAL", "HAL" or "REF"
extern GfxPresentParams g_presentParams;
extern int g_maxPrimitiveCount;
extern int g_maxTextureWidth;    // text textures are cut to these
extern int g_maxTextureHeight;

// ---- Frame ----------------------------------------------------------------------------------
int BeginFrame(uint32_t clearColor);  // 1: draw this frame; 0: skip it. Colour 0 keeps the target
void EndFrame();                      // ends the scene and presents

// Frame matrices (row vectors). The camera writes the view; BeginFrame derives the rest.
extern Mat4 g_matWorld;
extern Mat4 g_matView;
extern Mat4 g_matInvView;
extern Mat4 g_matProj;
extern Mat4 g_matScreen;              // projected -1..1 to pixels, y downwards
extern Mat4 g_matViewProjScreen;      // view x projection x screen
extern Mat4 g_matInvViewProjScreen;

// Texture rectangle of the textured outline shapes (u and v from 0 to 1 at start-up).
struct ShapeTexRect {
    float ua = 0, ub = 1, va = 0, vb = 1;
};
extern ShapeTexRect g_shapeTexRect;

// ---- Light ----------------------------------------------------------------------------------
void SetDirectionalLight(float dx, float dy, float dz, float r, float g, float b, float a);
void GetLight(Vec3* direction, Color4* color);  // the normalised direction and the diffuse colour
void EnableLight(int on);
void GetShadowMatrix(Mat4* out, const Vec3& point, const Vec3& normal);
extern int g_lightOn;

// ---- Render-state wrappers -------------------------------------------------------------------
void SetDeviceRenderState(uint32_t state, uint32_t value);
void SetLighting(int on);
void SetAmbient(uint32_t color);
void SetSpecularEnable(int on);
void SetShadeMode(uint32_t mode);
void SetCullMode(int on);             // counter-clockwise culling when on, none when off
void SetZEnable(int on);
void SetZWriteEnable(int on);
void SetAlphaTest(int on, uint32_t func, uint32_t ref);
void SetAlphaBlend(int on, uint32_t src, uint32_t dest);
void SetVertexFog(int on, uint32_t color, float start, float end);  // linear, over the eye distance
void SetTableFog(int on, uint32_t color, float start, float end);
void DeviceSetTextureStageState(int stage, uint32_t type, uint32_t value);
void SetColorStageOps(int stage, uint32_t op, uint32_t arg1, uint32_t arg2);
void SetAlphaStageOps(int stage, uint32_t op, uint32_t arg1, uint32_t arg2);
void SetTextureFilter(int stage, uint32_t filter);
void SetDeviceTexture(int stage, GfxTexture* texture);
void DeviceSetTransform(const Mat4& world);
void DeviceLightEnable(int index, int on);
inline uint32_t FloatBits(float f) { return __builtin_bit_cast(uint32_t, f); }

// ---- Sprites -----------------------------------------------------------------------------------
void BeginSprites();   // sprites also draw outside a Begin/End pair
void EndSprites();

// ---- Text on the global font ("ＭＳ ゴシック") ----------------------------------------------------
constexpr int kTextFormatBuffer = 2400;   // DrawTextFormat cuts longer output (at a character start)
void CreateTextFont(int height, uint32_t color, int weight);
void ReleaseTextFont();
void BeginText();
void EndText();
int DrawTextAt(int x, int y, const char* text);  // height drawn; clipped to the back buffer
int DrawTextFormat(int x, int y, const char* format, ...) VAV_PRINTF(3, 4);
extern int g_textHeight;
extern uint32_t g_textColor;
