// The graphics device: a stand-in for the Direct3D 8 device over OpenGL fixed function.
// Formats, render states, stage states, primitive types and vertex formats keep Direct3D's
// numbering (logs and stored values keep their meaning); matrices are the engine's row-vector,
// left-handed ones and are given as they are. The game draws into a 640 x 480 off-screen
// framebuffer that Present scales 4:3 into the window.
#pragma once

#include "sys_math.h"

#include <cstdint>

// ---- Formats -------------------------------------------------------------------------------
enum GfxFormat : uint32_t {
    kFmtUnknown = 0,
    kFmtR8G8B8 = 20,
    kFmtA8R8G8B8 = 21,
    kFmtX8R8G8B8 = 22,
    kFmtR5G6B5 = 23,
    kFmtX1R5G5B5 = 24,
    kFmtA1R5G5B5 = 25,
    kFmtA4R4G4B4 = 26,
    kFmtR3G3B2 = 27,
    kFmtA8 = 28,
    kFmtA8R3G3B2 = 29,
    kFmtX4R4G4B4 = 30,
    kFmtD16Lockable = 70,
    kFmtD32 = 71,
    kFmtD15S1 = 73,
    kFmtD24S8 = 75,
    kFmtD24X8 = 77,
    kFmtD24X4S4 = 79,
    kFmtD16 = 80,
};

// ---- Render states (value meanings as Direct3D's) -------------------------------------------
enum GfxRenderState : uint32_t {
    kRsZEnable = 7,
    kRsFillMode = 8,
    kRsShadeMode = 9,
    kRsZWriteEnable = 14,
    kRsAlphaTestEnable = 15,
    kRsSrcBlend = 19,
    kRsDestBlend = 20,
    kRsCullMode = 22,
    kRsZFunc = 23,
    kRsAlphaRef = 24,
    kRsAlphaFunc = 25,
    kRsDitherEnable = 26,
    kRsAlphaBlendEnable = 27,
    kRsFogEnable = 28,
    kRsSpecularEnable = 29,
    kRsFogColor = 34,
    kRsFogTableMode = 35,
    kRsFogStart = 36,   // float bit pattern
    kRsFogEnd = 37,     // float bit pattern
    kRsFogDensity = 38, // float bit pattern
    kRsTextureFactor = 60,
    kRsLighting = 137,
    kRsAmbient = 139,
    kRsFogVertexMode = 140,
    kRsColorVertex = 141,
    kRsNormalizeNormals = 143,
    kRsPointSize = 154,  // float bit pattern
    kRsBlendOp = 171,
    kRsStateCount = 176,  // table size; every state below this is stored
};

enum GfxBlend : uint32_t {
    kBlendZero = 1, kBlendOne, kBlendSrcColor, kBlendInvSrcColor, kBlendSrcAlpha, kBlendInvSrcAlpha,
    kBlendDestAlpha, kBlendInvDestAlpha, kBlendDestColor, kBlendInvDestColor, kBlendSrcAlphaSat,
};
enum GfxCmp : uint32_t {
    kCmpNever = 1, kCmpLess, kCmpEqual, kCmpLessEqual, kCmpGreater, kCmpNotEqual, kCmpGreaterEqual, kCmpAlways,
};
enum GfxCull : uint32_t { kCullNone = 1, kCullCw = 2, kCullCcw = 3 };
enum GfxShade : uint32_t { kShadeFlat = 1, kShadeGouraud = 2, kShadePhong = 3 };
enum GfxFill : uint32_t { kFillPoint = 1, kFillWireframe = 2, kFillSolid = 3 };
enum GfxFogMode : uint32_t { kFogNone = 0, kFogExp = 1, kFogExp2 = 2, kFogLinear = 3 };
enum GfxBlendOp : uint32_t { kBlendOpAdd = 1, kBlendOpSubtract, kBlendOpRevSubtract, kBlendOpMin, kBlendOpMax };

// ---- Texture stage states ----------------------------------------------------------------
constexpr int kGfxMaxStages = 2;  // what the engine draws with: one texture, or two coordinate sets

enum GfxStageState : uint32_t {
    kTssColorOp = 1,
    kTssColorArg1 = 2,
    kTssColorArg2 = 3,
    kTssAlphaOp = 4,
    kTssAlphaArg1 = 5,
    kTssAlphaArg2 = 6,
    kTssTexCoordIndex = 11,
    kTssAddressU = 13,
    kTssAddressV = 14,
    kTssMagFilter = 16,
    kTssMinFilter = 17,
    kTssMipFilter = 18,
    kTssStateCount = 29,
};
enum GfxTextureOp : uint32_t {
    kTopDisable = 1, kTopSelectArg1, kTopSelectArg2, kTopModulate, kTopModulate2x, kTopModulate4x,
    kTopAdd, kTopAddSigned, kTopAddSigned2x, kTopSubtract, kTopAddSmooth, kTopBlendDiffuseAlpha,
    kTopBlendTextureAlpha,
};
enum GfxTextureArg : uint32_t {
    kTaDiffuse = 0, kTaCurrent = 1, kTaTexture = 2, kTaTFactor = 3, kTaSpecular = 4,
    kTaComplement = 0x10, kTaAlphaReplicate = 0x20,
};
enum GfxFilter : uint32_t { kFilterNone = 0, kFilterPoint = 1, kFilterLinear = 2, kFilterAnisotropic = 3 };
enum GfxAddress : uint32_t { kAddressWrap = 1, kAddressMirror = 2, kAddressClamp = 3, kAddressBorder = 4 };

// ---- Vertex formats and primitives ----------------------------------------------------------
enum GfxFvf : uint32_t {
    kFvfXyz = 0x002,
    kFvfXyzRhw = 0x004,   // screen pixels, z 0..1, 1/w: no transform, no lighting
    kFvfNormal = 0x010,
    kFvfPSize = 0x020,
    kFvfDiffuse = 0x040,  // ARGB
    kFvfSpecular = 0x080,
    kFvfTex1 = 0x100,
    kFvfTex2 = 0x200,
    kFvfTexCountMask = 0xF00,
};
int GfxVertexSize(uint32_t fvf);  // bytes per vertex; 0 for a format the device cannot draw

enum GfxPrimitive : uint32_t {
    kPtPointList = 1, kPtLineList, kPtLineStrip, kPtTriangleList, kPtTriangleStrip, kPtTriangleFan,
};
int GfxVertexCount(uint32_t type, int primitives);  // vertices that many primitives use

// ---- Adapters, modes and the device -------------------------------------------------------
struct GfxDisplayMode {
    int width = 0, height = 0, refreshRate = 0;
    uint32_t format = kFmtUnknown;
};
enum GfxDeviceType { kDevHal = 1, kDevRef = 2 };
enum GfxVertexProcessing { kVpHardware = 1, kVpSoftware = 2 };

struct GfxPresentParams {
    int width = 0, height = 0;
    uint32_t format = kFmtUnknown;
    int windowed = 0;
    int autoDepthStencil = 0;
    uint32_t depthFormat = kFmtUnknown;
};

struct GfxCaps {
    int maxPrimitiveCount = 0;
    int maxActiveLights = 0;
    int fogVertex = 0, fogTable = 0, fogRange = 0;
    int maxTextureWidth = 0, maxTextureHeight = 0;
    int maxSimultaneousTextures = 0;
    int textureAlpha = 0, mipmap = 0, bumpEnvMap = 0;
    int hardwareTnl = 0;
};

int GfxGetAdapterCount();
int GfxGetAdapterModeCount(int adapter);
int GfxEnumAdapterModes(int adapter, int index, GfxDisplayMode* mode);  // 1 when index exists
int GfxGetAdapterDisplayMode(int adapter, GfxDisplayMode* mode);         // the desktop mode
int GfxCheckDepthStencilMatch(int adapter, uint32_t targetFormat, uint32_t depthFormat);  // 1 usable

int GfxCreateDevice(int adapter, int type, int vertexProcessing, const GfxPresentParams& params);
void GfxDestroyDevice();
int GfxHasDevice();
int GfxHasSyncObjects();  // 0: the driver gives none, and the present holds no finished batch
void GfxGetCaps(GfxCaps* caps);
uint32_t GfxGetAvailableTextureMem();  // bytes
const GfxPresentParams& GfxGetPresentParams();

enum GfxCooperativeLevel { kGfxOk = 0, kGfxDeviceLost = 1, kGfxDeviceNotReset = 2 };
int GfxTestCooperativeLevel();

// Test hooks: what the display and drivers report, so every start-up path runs headless.
void GfxTestSetDeviceFailures(int tnlHal, int hal, int ref);  // 1 makes that creation fail
void GfxTestSetDisplay(int adapters, uint32_t desktopFormat, const GfxDisplayMode* modes, int count);
void GfxTestSetCooperativeLevel(int level);
void GfxTestResetDisplay();  // back to what the platform really has

// ---- Frame -----------------------------------------------------------------------------------
int GfxBeginScene();   // 0 when a scene is already open or there is no device
int GfxEndScene();
void GfxPresent();     // scales the frame 4:3 into the window with black bars

enum GfxClearFlags { kClearTarget = 1, kClearZBuffer = 2, kClearStencil = 4 };
void GfxClear(uint32_t flags, uint32_t color, float z, uint32_t stencil);

struct GfxViewport {
    int x = 0, y = 0, width = 0, height = 0;
    float minZ = 0, maxZ = 1;
};
void GfxSetViewport(const GfxViewport& vp);
void GfxGetViewport(GfxViewport* vp);

// ---- Transforms, states, materials and lights -------------------------------------------
enum GfxTransformType { kTsView = 2, kTsProjection = 3, kTsWorld = 256 };
void GfxSetTransform(int which, const Mat4& m);
void GfxGetTransform(int which, Mat4* m);

void GfxSetRenderState(uint32_t state, uint32_t value);
uint32_t GfxGetRenderState(uint32_t state);
void GfxSetTextureStageState(int stage, uint32_t type, uint32_t value);
uint32_t GfxGetTextureStageState(int stage, uint32_t type);

struct GfxMaterial {
    Color4 diffuse, ambient, specular, emissive;
    float power = 0;
};
void GfxSetMaterial(const GfxMaterial& m);
void GfxGetMaterial(GfxMaterial* m);

enum GfxLightType { kLightPoint = 1, kLightSpot = 2, kLightDirectional = 3 };
struct GfxLight {
    uint32_t type = 0;
    Color4 diffuse, specular, ambient;
    Vec3 position, direction;
    float range = 0, falloff = 0, attenuation0 = 0, attenuation1 = 0, attenuation2 = 0, theta = 0, phi = 0;
};
constexpr int kGfxMaxLights = 8;
void GfxSetLight(int index, const GfxLight& light);
void GfxGetLight(int index, GfxLight* light);
void GfxLightEnable(int index, int on);

// ---- Textures and surfaces -------------------------------------------------------------------
struct GfxTexture;   // reference-counted like a Direct3D texture
struct GfxSurface;   // a texture level, the back buffer or a depth surface

enum GfxUsage { kUsageRenderTarget = 1, kUsageDepthStencil = 2 };
enum GfxPool { kPoolDefault = 0, kPoolManaged = 1, kPoolSystemMem = 2 };
enum GfxResourceType { kRtypeSurface = 1, kRtypeTexture = 3 };

struct GfxSurfaceDesc {
    uint32_t format = kFmtUnknown;
    uint32_t type = 0, usage = 0, pool = 0;
    uint32_t size = 0;
    int multiSampleType = 0;
    int width = 0, height = 0;
};

// levels 0 = the full chain down to 1 x 1. Formats: A8R8G8B8, X8R8G8B8, A4R4G4B4, R5G6B5,
// X1R5G5B5, A1R5G5B5. Null on a bad size or format.
GfxTexture* GfxCreateTexture(int width, int height, int levels, uint32_t usage, uint32_t format, int pool);
void GfxAddRef(GfxTexture* t);
void GfxRelease(GfxTexture* t);
int GfxGetLevelCount(GfxTexture* t);
int GfxGetLevelDesc(GfxTexture* t, int level, GfxSurfaceDesc* desc);
void* GfxLockRect(GfxTexture* t, int level, int* pitch);  // the level's texels; null on failure
void GfxUnlockRect(GfxTexture* t, int level);              // uploads what was written
void GfxSetTexture(int stage, GfxTexture* t);             // null: no texture on the stage
GfxTexture* GfxGetTexture(int stage);

GfxSurface* GfxGetSurfaceLevel(GfxTexture* t, int level);  // a new reference
GfxSurface* GfxCreateDepthStencil(int width, int height, uint32_t format);
GfxSurface* GfxGetRenderTarget();                          // a new reference
GfxSurface* GfxGetDepthStencil();                          // a new reference
int GfxSetRenderTarget(GfxSurface* target, GfxSurface* depth);
void GfxReleaseSurface(GfxSurface* s);
int GfxGetSurfaceDesc(GfxSurface* s, GfxSurfaceDesc* desc);

// ARGB of a pixel of the current render target (x right, y down); 0 outside it.
uint32_t GfxReadPixel(int x, int y);
// The rectangle as ARGB rows, top row first; 1 on success.
int GfxReadPixels(int x, int y, int width, int height, uint32_t* argb);

// ---- Drawing from memory -----------------------------------------------------------------
void GfxSetVertexShader(uint32_t fvf);   // the vertex format of the next draws
uint32_t GfxGetVertexShader();
void GfxDrawPrimitiveUP(uint32_t type, int primitives, const void* vertices, int stride);
void GfxDrawIndexedPrimitiveUP(uint32_t type, int minIndex, int vertexCount, int primitives,
                               const void* indices, int indexBits, const void* vertices, int stride);
// Test hook: sees every non-indexed draw (format, primitive type and count, the vertices).
using GfxDrawRecorder = void (*)(uint32_t fvf, uint32_t type, int primitives, const void* vertices, int stride,
                                 int vertexCount);
void GfxTestSetDrawRecorder(GfxDrawRecorder recorder);

// ---- Vertex buffers --------------------------------------------------------------------------
struct GfxVertexBuffer;
GfxVertexBuffer* GfxCreateVertexBuffer(int bytes, uint32_t fvf);
void GfxReleaseVertexBuffer(GfxVertexBuffer* vb);
void* GfxLockVertexBuffer(GfxVertexBuffer* vb);
void GfxUnlockVertexBuffer(GfxVertexBuffer* vb);
void GfxSetStreamSource(GfxVertexBuffer* vb, int stride);
void GfxDrawPrimitive(uint32_t type, int startVertex, int primitives);

// ---- Index buffers ---------------------------------------------------------------------------
// Indices of 16 or 32 bits, drawn with the stream's vertices: index i reads vertex baseVertex + i.
// A draw whose indices reach past the stream's vertices draws nothing.
struct GfxIndexBuffer;
GfxIndexBuffer* GfxCreateIndexBuffer(int count, int indexBits);
void GfxReleaseIndexBuffer(GfxIndexBuffer* ib);
void* GfxLockIndexBuffer(GfxIndexBuffer* ib);
void GfxUnlockIndexBuffer(GfxIndexBuffer* ib);
void GfxSetIndices(GfxIndexBuffer* ib, int baseVertex);
// The indices from startIndex on; all of them lie in [minIndex, minIndex + vertexCount).
void GfxDrawIndexedPrimitive(uint32_t type, int minIndex, int vertexCount, int startIndex, int primitives);

// ---- Sprites ---------------------------------------------------------------------------------
// One textured rectangle in screen pixels with its own 2-D states (blending on, no depth, no
// lighting, texture times colour), leaving the device's states as they were. The source
// rectangle is scaled about its top-left corner, turned about the (scaled) centre and moved.
struct GfxSpriteDraw {
    int srcLeft = 0, srcTop = 0, srcRight = 0, srcBottom = 0;
    float scaleX = 1, scaleY = 1;
    float centerX = 0, centerY = 0;
    float rotation = 0;
    float x = 0, y = 0;
    uint32_t color = 0xFFFFFFFF;
};
void GfxDrawSprite(GfxTexture* t, const GfxSpriteDraw& d);
// Test hook: sees every sprite drawn, with its texture and placement.
using GfxSpriteRecorder = void (*)(GfxTexture* t, const GfxSpriteDraw& d);
void GfxTestSetSpriteRecorder(GfxSpriteRecorder recorder);

// A coverage image (one byte a pixel, 0 transparent .. 255 opaque) drawn at (x, y) in one colour,
// clipped to the rectangle [clipLeft, clipRight) x [clipTop, clipBottom). Text uses it.
void GfxDrawCoverage(const unsigned char* coverage, int width, int height, int x, int y, uint32_t color,
                     int clipLeft, int clipTop, int clipRight, int clipBottom);
// Test hook: sees every coverage image drawn with the text GfxRenderText last laid out for it
// ("" when the image came from elsewhere), its position and colour.
using GfxTextRecorder = void (*)(const char* text, int x, int y, uint32_t color);
void GfxTestSetTextRecorder(GfxTextRecorder recorder);
