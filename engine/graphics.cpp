// The 3-D device: adapter, display mode and depth format choice, the device-type fallback,
// the capability log, the fixed transforms, the light and the per-frame begin and end.
#include "graphics.h"

#include "engine.h"
#include "math_ops.h"

#include "sys_window.h"

int g_adapter = 0;
int g_backBufferWidth = kScreenWidth;
int g_backBufferHeight = kScreenHeight;
uint32_t g_backBufferFormat = kFmtUnknown;
const char* g_deviceTypeName = "";
GfxPresentParams g_presentParams;
int g_maxPrimitiveCount = 0;
int g_maxTextureWidth = 0;
int g_maxTextureHeight = 0;
int g_lightOn = 0;

Mat4 g_matWorld = Mat4::Identity();
Mat4 g_matView = Mat4::Identity();
Mat4 g_matInvView = Mat4::Identity();
Mat4 g_matProj = Mat4::Identity();
Mat4 g_matScreen = Mat4::Identity();
Mat4 g_matViewProjScreen = Mat4::Identity();
Mat4 g_matInvViewProjScreen = Mat4::Identity();
ShapeTexRect g_shapeTexRect;

namespace {

int g_d3dUp = 0;          // the "Direct3D object" (the platform's display) was taken
GfxLight g_light;
const char* const kErrorTitle = "エラー";

}  // namespace

int InitDirect3D() {
    DebugSeparator();
    LogPrintf("InitDirect3D\n");
    if (GfxGetAdapterCount() <= 0) {
        SysMessageBox(kErrorTitle, "Direct3Dの初期化に失敗しました.");
        return 0;
    }
    g_d3dUp = 1;
    if (!CreateDevice(kScreenWidth, kScreenHeight)) return 0;
    LogDeviceCaps();
    SetupTransforms();
    SetDefaultRenderStates();
    SetDirectionalLight(1.0f, -1.0f, 1.0f, 0.5f, 0.5f, 0.5f, 0.0f);
    CreateTextFont(16, 0xFFFFFFFF, 400);
    return 1;
}

void FreeDirect3D() {
    if (!g_d3dUp && !GfxHasDevice()) return;
    DebugSeparator();
    LogPrintf("FreeDirect3D\n");
    ReleaseTextFont();
    GfxDestroyDevice();
    g_d3dUp = 0;
}

int CreateDevice(int width, int height) {
    g_backBufferWidth = width;
    g_backBufferHeight = height;
    SelectAdapter();
    SelectDisplayMode();
    if (g_windowed) SysShowWindow();
    struct Attempt {
        const char* name;
        int type, vertexProcessing;
    };
    static const Attempt kAttempts[] = {
        {"TnLHAL", kDevHal, kVpHardware},
        {"HAL", kDevHal, kVpSoftware},
        {"REF", kDevRef, kVpSoftware},
    };
    int ok = 0;
    for (const Attempt& a : kAttempts) {
        g_deviceTypeName = a.name;
        if (GfxCreateDevice(g_adapter, a.type, a.vertexProcessing, g_presentParams)) {
            ok = 1;
            break;
        }
    }
    if (!ok) {
        SysMessageBox(kErrorTitle, "3Dデバイスが作成できません.");
        return 0;
    }
    LogPrintf("デバイスタイプ = %s\n", g_deviceTypeName);
    if (!GfxHasSyncObjects()) LogPrintf("No GL sync objects (ARB_sync): the present's guard against freed fences is off\n");
    return 1;
}

void SelectAdapter() {
    int count = GfxGetAdapterCount();
    LogPrintf("アダプタ数 = %d\n", count);
    LogPrintf("アダプタID = ");
    if (count > 1 && HasCommandLineOption("-2nd")) {
        LogPrintf("1\n");
        g_adapter = 1;
    } else {
        LogPrintf("D3DADAPTER_DEFAULT\n");
        g_adapter = 0;
    }
}

int SelectDisplayMode() {
    int n = GfxGetAdapterModeCount(g_adapter);
    LogPrintf("アダプタのモード数 = %d\n", n);
    GfxDisplayMode desktop;
    GfxGetAdapterDisplayMode(g_adapter, &desktop);
    LogPrintf("現在のモード = %d x %d %s\n", desktop.width, desktop.height, FormatName(desktop.format));
    int found = 0;
    uint32_t alternative = kFmtUnknown;
    for (int i = 0; i < n; ++i) {
        GfxDisplayMode m;
        if (!GfxEnumAdapterModes(g_adapter, i, &m)) continue;
        if (m.width != g_backBufferWidth || m.height != g_backBufferHeight) continue;
        if (m.format == desktop.format) {
            found = 1;
            break;
        }
        alternative = m.format;
    }
    LogPrintf("ウインドウ化 = ");
    if (found) {
        g_backBufferFormat = desktop.format;
        if (HasCommandLineOption("-win")) {
            LogPrintf("ON\n");
            g_windowed = 1;
        } else {
            LogPrintf("OFF\n");
            g_windowed = 0;
        }
    } else {
        g_backBufferFormat = alternative;
        LogPrintf("OFF(フォーマット変更)\n");
        g_windowed = 0;
    }
    LogPrintf("選択されたモード = %d x %d %s ", g_backBufferWidth, g_backBufferHeight, FormatName(g_backBufferFormat));
    g_presentParams = GfxPresentParams{};
    g_presentParams.width = g_backBufferWidth;
    g_presentParams.height = g_backBufferHeight;
    g_presentParams.format = g_backBufferFormat;
    g_presentParams.windowed = g_windowed;
    g_presentParams.autoDepthStencil = 1;
    g_presentParams.depthFormat = SelectDepthFormat(g_backBufferFormat);
    LogPrintf("(%s)\n", FormatName(g_presentParams.depthFormat));
    return 1;
}

uint32_t SelectDepthFormat(uint32_t format) {
    static const uint32_t kOrder[] = {kFmtD16, kFmtD15S1, kFmtD24X8, kFmtD24S8, kFmtD24X4S4, kFmtD32};
    for (uint32_t d : kOrder)
        if (GfxCheckDepthStencilMatch(g_adapter, format, d)) return d;
    return kFmtUnknown;
}

const char* FormatName(uint32_t format) {
    switch (format) {
        case kFmtR8G8B8: return "D3DFMT_R8G8B8";
        case kFmtA8R8G8B8: return "D3DFMT_A8R8G8B8";
        case kFmtX8R8G8B8: return "D3DFMT_X8R8G8B8";
        case kFmtR5G6B5: return "D3DFMT_R5G6B5";
        case kFmtX1R5G5B5: return "D3DFMT_X1R5G5B5";
        case kFmtA1R5G5B5: return "D3DFMT_A1R5G5B5";
        case kFmtA4R4G4B4: return "D3DFMT_A4R4G4B4";
        case kFmtR3G3B2: return "D3DFMT_R3G3B2";
        case kFmtA8: return "D3DFMT_A8";
        case kFmtA8R3G3B2: return "D3DFMT_A8R3G3B2";
        case kFmtX4R4G4B4: return "D3DFMT_X4R4G4B4";
        case kFmtD16Lockable: return "D3DFMT_D16_LOCKABLE";
        case kFmtD32: return "D3DFMT_D32";
        case kFmtD15S1: return "D3DFMT_D15S1";
        case kFmtD24S8: return "D3DFMT_D24S8";
        case kFmtD24X8: return "D3DFMT_D24X8";
        case kFmtD24X4S4: return "D3DFMT_D24X4S4";
        case kFmtD16: return "D3DFMT_D16";
        default: return "D3DFMT_UNKNOWN";
    }
}

void LogDeviceCaps() {
    GfxCaps c;
    GfxGetCaps(&c);
    g_maxPrimitiveCount = c.maxPrimitiveCount;
    g_maxTextureWidth = c.maxTextureWidth;
    g_maxTextureHeight = c.maxTextureHeight;
    LogPrintf("最大プリミティブ = %d\n最大ライト = %d\nフォグ{\n\t頂点 = %d\n\tピクセル = %d\n\t範囲 = %d\n}\n",
              c.maxPrimitiveCount, c.maxActiveLights, c.fogVertex, c.fogTable, c.fogRange);
    LogPrintf("テクスチャー{\n\t利用可能メモリ = %d KB\n\t最大サイズ = %d x %d\n\t最大ステージ = %d\n",
              (int)(GfxGetAvailableTextureMem() / 1024), c.maxTextureWidth, c.maxTextureHeight,
              c.maxSimultaneousTextures);
    LogPrintf("\tアルファブレンド = %d\n\tミップマップ = %d\n\tバンプマップ = %d\n}\n", c.textureAlpha, c.mipmap,
              c.bumpEnvMap);
}

void SetupTransforms() {
    g_matWorld = Mat4::Identity();
    GfxSetTransform(kTsWorld, g_matWorld);
    g_matView = MatrixLookAtLH(Vec3(0, 0, -1), Vec3(0, 0, 0), Vec3(0, 1, 0));
    GfxSetTransform(kTsView, g_matView);
    g_matProj = MatrixPerspectiveFovLH(kPi / 4, (float)g_backBufferWidth / (float)g_backBufferHeight, 0.1f, 100.0f);
    GfxSetTransform(kTsProjection, g_matProj);
    g_matScreen = Mat4::Identity();
    g_matScreen.m[0][0] = g_backBufferWidth / 2.0f;
    g_matScreen.m[1][1] = -g_backBufferHeight / 2.0f;
    g_matScreen.m[3][0] = g_backBufferWidth / 2.0f;
    g_matScreen.m[3][1] = g_backBufferHeight / 2.0f;
    // NOTE: the clip status has no counterpart here: GL clips against the view volume anyway.
    g_shapeTexRect = ShapeTexRect{};
}

void SetDefaultRenderStates() {
    SetLighting(1);
    SetAmbient(0xFF808080);
    SetSpecularEnable(0);
    SetShadeMode(kShadeGouraud);
    SetCullMode(1);
    SetZEnable(1);
    SetZWriteEnable(1);
    SetVertexFog(0, 0, 0, 0);
    SetTableFog(0, 0, 0, 0);
    SetAlphaBlend(1, kBlendSrcAlpha, kBlendInvSrcAlpha);
    SetColorStageOps(0, kTopModulate, kTaTexture, kTaDiffuse);
    SetAlphaStageOps(0, kTopModulate, kTaTexture, kTaDiffuse);
    SetTextureFilter(0, kFilterPoint);
    GfxClear(kClearTarget | kClearZBuffer, 0, 1.0f, 0);
}

// ---- Frame ------------------------------------------------------------------------------------

int BeginFrame(uint32_t clearColor) {
    switch (GfxTestCooperativeLevel()) {
        case kGfxDeviceLost:
            LogPrintf("3Dデバイスがロストしています.\n");
            return 0;
        case kGfxDeviceNotReset:
            LogPrintf("3Dデバイスのリセットが必要です.\n");
            CloseMainWindow();
            return 0;
        default:
            break;
    }
    if (!GfxBeginScene()) return 0;
    GfxClear(kClearZBuffer | kClearStencil | (clearColor ? kClearTarget : 0), clearColor, 1.0f, 0);
    GfxSetTransform(kTsView, g_matView);
    MatrixInverse(&g_matInvView, g_matView);
    g_matViewProjScreen = g_matView * g_matProj * g_matScreen;
    MatrixInverse(&g_matInvViewProjScreen, g_matViewProjScreen);
    return 1;
}

void EndFrame() {
    GfxEndScene();
    GfxPresent();
}

// ---- Light ------------------------------------------------------------------------------------

void SetDirectionalLight(float dx, float dy, float dz, float r, float g, float b, float a) {
    g_light = GfxLight{};
    g_light.type = kLightDirectional;
    g_light.diffuse = Color4(r, g, b, a);
    g_light.range = 1000.0f;
    g_light.direction = Vec3Normalize(Vec3(dx, dy, dz));
    GfxSetLight(0, g_light);
    GfxLightEnable(0, 1);
    g_lightOn = 1;
}

void GetLight(Vec3* direction, Color4* color) {
    if (direction) *direction = g_light.direction;
    if (color) *color = g_light.diffuse;
}

void EnableLight(int on) {
    GfxLightEnable(0, on);
    g_lightOn = on ? 1 : 0;
}

void GetShadowMatrix(Mat4* out, const Vec3& point, const Vec3& normal) {
    const Vec3& d = g_light.direction;
    *out = MatrixShadow(Vec4(-d.x, -d.y, -d.z, 0.0f), PlaneFromPointNormal(point, normal));
}

// ---- Pixel formats ------------------------------------------------------------------------------

namespace {
// A channel of `bits` bits widened to 8 (top bits repeated below), capped at 255.
uint32_t Widen(uint32_t v, int bits) {
    uint32_t w = (v << (8 - bits)) | (bits < 8 ? (v << (8 - bits)) >> bits : 0);
    return w > 255 ? 255 : w;
}
}  // namespace

uint32_t PixelToArgb(uint32_t p, uint32_t format) {
    uint32_t r, g, b;
    switch (format) {
        case kFmtR8G8B8:
        case kFmtA8R8G8B8:
        case kFmtX8R8G8B8:
            return 0xFF000000u | (p & 0xFFFFFF);
        case kFmtR5G6B5:
            r = Widen((p >> 11) & 31, 5), g = Widen((p >> 5) & 63, 6), b = Widen(p & 31, 5);
            break;
        case kFmtX1R5G5B5:
        case kFmtA1R5G5B5:
            r = Widen((p >> 10) & 31, 5), g = Widen((p >> 5) & 31, 5), b = Widen(p & 31, 5);
            break;
        case kFmtA4R4G4B4:
            r = Widen((p >> 8) & 15, 4), g = Widen((p >> 4) & 15, 4), b = Widen(p & 15, 4);
            break;
        default:
            return 0;
    }
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}
