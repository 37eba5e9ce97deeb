// CVertexBuffer: one device vertex buffer in one of the engine's vertex formats.
#include "shapes.h"

#include <cstring>

int CVertexBuffer::Create(const void* vertices, uint32_t fvf, uint32_t bytes) {
    Release();
    const int stride = FvfStride(fvf);
    if (stride == 0) return 0;
    m_buffer = GfxCreateVertexBuffer((int)bytes, fvf);
    if (!m_buffer) return 0;
    m_fvf = fvf;
    m_stride = (uint32_t)stride;
    m_count = bytes / (uint32_t)stride;
    void* data = GfxLockVertexBuffer(m_buffer);
    if (!data) {
        Release();
        return 0;
    }
    if (vertices) std::memcpy(data, vertices, bytes);
    GfxUnlockVertexBuffer(m_buffer);
    return 1;
}

void CVertexBuffer::Release() {
    if (m_buffer) GfxReleaseVertexBuffer(m_buffer);
    m_buffer = nullptr;
    m_fvf = m_stride = m_count = 0;
}

int CVertexBuffer::Lock(void** data) {
    *data = m_buffer ? GfxLockVertexBuffer(m_buffer) : nullptr;
    return *data ? 1 : 0;
}

void CVertexBuffer::Unlock() {
    if (m_buffer) GfxUnlockVertexBuffer(m_buffer);
}

void CVertexBuffer::Draw(uint32_t primitive, int n) {
    if (!m_buffer) return;
    GfxSetStreamSource(m_buffer, (int)m_stride);
    GfxSetVertexShader(m_fvf);
    GfxDrawPrimitive(primitive, 0, n);
}

void CVertexBuffer::DrawPointList() { Draw(kPtPointList, (int)m_count); }
void CVertexBuffer::DrawLineList() { Draw(kPtLineList, (int)m_count / 2); }
void CVertexBuffer::DrawLineStrip(int n) { Draw(kPtLineStrip, n); }
void CVertexBuffer::DrawTriangleList() { Draw(kPtTriangleList, (int)m_count / 3); }
void CVertexBuffer::DrawTriangleStrip(int n) { Draw(kPtTriangleStrip, n); }
void CVertexBuffer::DrawTriangleFan(int n) { Draw(kPtTriangleFan, n); }
