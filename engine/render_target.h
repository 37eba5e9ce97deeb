// Render targets and the debug camera: a frame rendered into a texture instead of the back
// buffer, and the development camera flown by keyboard and mouse with its on-screen readouts.
#pragma once

#include "graphics.h"

class CRenderTarget {
public:
    CRenderTarget() = default;
    ~CRenderTarget() { Release(); }
    CRenderTarget(const CRenderTarget&) = delete;
    CRenderTarget& operator=(const CRenderTarget&) = delete;

    int Create(int width, int height);  // a texture in the back buffer's format and its own depth
    // Draws into the texture from now on; 0 (device targets unchanged) when not created or the
    // frame cannot begin.
    int Begin(uint32_t clearColor);
    void End();                         // back to the saved targets; only after a successful Begin
    void Release();

    GfxTexture* GetTexture() const { return m_texture; }
    int IsCreated() const { return m_created; }

private:
    void RestoreTargets();

    GfxTexture* m_texture = nullptr;
    GfxSurface* m_surface = nullptr;
    GfxSurface* m_depth = nullptr;
    GfxSurface* m_savedTarget = nullptr;
    GfxSurface* m_savedDepth = nullptr;
    int m_created = 0;
    int m_begun = 0;
};

// ---- Debug camera -------------------------------------------------------------------------------
void DebugCameraKeys(float speed);   // arrows turn; W S A D move, scaled to the frame rate
void DebugCameraMouse(float speed);  // the mouse turns; the cursor is kept in the middle half
void DrawFpsText(int x, int y);
void DrawCameraText(int x, int y);
void DrawKeyText(int x, int y);
void DrawMouseText(int x, int y);
void DrawJoystickText(int x, int y);
