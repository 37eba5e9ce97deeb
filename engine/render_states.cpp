// The render-state wrappers: the names by which the whole game sets device states.
#include "graphics.h"

void SetDeviceRenderState(uint32_t state, uint32_t value) { GfxSetRenderState(state, value); }
void SetLighting(int on) { GfxSetRenderState(kRsLighting, on ? 1 : 0); }
void SetAmbient(uint32_t color) { GfxSetRenderState(kRsAmbient, color); }
void SetSpecularEnable(int on) { GfxSetRenderState(kRsSpecularEnable, on ? 1 : 0); }
void SetShadeMode(uint32_t mode) { GfxSetRenderState(kRsShadeMode, mode); }
void SetCullMode(int on) { GfxSetRenderState(kRsCullMode, on ? kCullCcw : kCullNone); }
void SetZEnable(int on) { GfxSetRenderState(kRsZEnable, on ? 1 : 0); }
void SetZWriteEnable(int on) { GfxSetRenderState(kRsZWriteEnable, on ? 1 : 0); }

void SetAlphaTest(int on, uint32_t func, uint32_t ref) {
    GfxSetRenderState(kRsAlphaTestEnable, on ? 1 : 0);
    if (!on) return;
    GfxSetRenderState(kRsAlphaFunc, func);
    GfxSetRenderState(kRsAlphaRef, ref);
}

void SetAlphaBlend(int on, uint32_t src, uint32_t dest) {
    GfxSetRenderState(kRsAlphaBlendEnable, on ? 1 : 0);
    if (!on) return;
    GfxSetRenderState(kRsSrcBlend, src);
    GfxSetRenderState(kRsDestBlend, dest);
}

// Linear fog through the given mode state (vertex or table). The device takes the fog
// distances as the bit patterns of the floats.
static void SetLinearFog(uint32_t modeState, int on, uint32_t color, float start, float end) {
    GfxSetRenderState(kRsFogEnable, on ? 1 : 0);
    if (!on) return;
    GfxSetRenderState(kRsFogColor, color);
    GfxSetRenderState(modeState, kFogLinear);
    GfxSetRenderState(kRsFogStart, FloatBits(start));
    GfxSetRenderState(kRsFogEnd, FloatBits(end));
}

void SetVertexFog(int on, uint32_t color, float start, float end) { SetLinearFog(kRsFogVertexMode, on, color, start, end); }
void SetTableFog(int on, uint32_t color, float start, float end) { SetLinearFog(kRsFogTableMode, on, color, start, end); }

void DeviceSetTextureStageState(int stage, uint32_t type, uint32_t value) { GfxSetTextureStageState(stage, type, value); }

void SetColorStageOps(int stage, uint32_t op, uint32_t arg1, uint32_t arg2) {
    GfxSetTextureStageState(stage, kTssColorOp, op);
    GfxSetTextureStageState(stage, kTssColorArg1, arg1);
    GfxSetTextureStageState(stage, kTssColorArg2, arg2);
}

void SetAlphaStageOps(int stage, uint32_t op, uint32_t arg1, uint32_t arg2) {
    GfxSetTextureStageState(stage, kTssAlphaOp, op);
    GfxSetTextureStageState(stage, kTssAlphaArg1, arg1);
    GfxSetTextureStageState(stage, kTssAlphaArg2, arg2);
}

void SetTextureFilter(int stage, uint32_t filter) {
    GfxSetTextureStageState(stage, kTssMagFilter, filter);
    GfxSetTextureStageState(stage, kTssMinFilter, filter);
    GfxSetTextureStageState(stage, kTssMipFilter, filter);
}

void SetDeviceTexture(int stage, GfxTexture* texture) { GfxSetTexture(stage, texture); }
void DeviceSetTransform(const Mat4& world) { GfxSetTransform(kTsWorld, world); }
void DeviceLightEnable(int index, int on) { GfxLightEnable(index, on); }
