// CRenderTarget: the device's targets are swapped for the texture's and put back exactly.
#include "render_target.h"

int CRenderTarget::Create(int width, int height) {
    Release();
    m_texture = GfxCreateTexture(width, height, 1, kUsageRenderTarget, g_backBufferFormat, kPoolDefault);
    m_depth = GfxCreateDepthStencil(width, height, g_presentParams.depthFormat);
    if (!m_texture || !m_depth) {
        Release();
        return 0;
    }
    m_created = 1;
    return 1;
}

int CRenderTarget::Begin(uint32_t clearColor) {
    if (!m_created || m_begun) return 0;
    m_savedTarget = GfxGetRenderTarget();
    m_savedDepth = GfxGetDepthStencil();
    m_surface = GfxGetSurfaceLevel(m_texture, 0);
    if (!m_surface || !GfxSetRenderTarget(m_surface, m_depth) || !BeginFrame(clearColor)) {
        // The frame could not begin: the device must not be left drawing into the texture.
        RestoreTargets();
        return 0;
    }
    m_begun = 1;
    return 1;
}

void CRenderTarget::End() {
    if (!m_created || !m_begun) return;
    GfxEndScene();
    RestoreTargets();
    m_begun = 0;
}

void CRenderTarget::RestoreTargets() {
    if (m_savedTarget) GfxSetRenderTarget(m_savedTarget, m_savedDepth);
    GfxReleaseSurface(m_surface);
    GfxReleaseSurface(m_savedTarget);
    GfxReleaseSurface(m_savedDepth);
    m_surface = m_savedTarget = m_savedDepth = nullptr;
}

void CRenderTarget::Release() {
    End();
    m_created = 0;
    GfxRelease(m_texture);
    GfxReleaseSurface(m_depth);
    m_texture = nullptr;
    m_depth = nullptr;
}
