// The node's draw variants: each hands its world matrix to the mesh.
#include "mesh.h"
#include "node.h"
#include "texture.h"

void C3DObject::Draw() {
    if (!m_mesh || !m_visible) return;
    m_mesh->Draw(GetWorldMatrix());
}

void C3DObject::DrawWithTexture() {
    if (!m_mesh || !m_visible || !m_texture) return;  // only meaningful with an override texture
    m_mesh->DrawWithTexture(GetWorldMatrix(), m_texture->GetTexture());
}

void C3DObject::DrawWithAlpha() {
    if (!m_mesh || !m_visible) return;
    m_mesh->DrawWithAlpha(GetWorldMatrix(), m_alpha);
}

void C3DObject::DrawAddAlpha() {
    if (!m_mesh || !m_visible) return;
    m_mesh->DrawAddAlpha(GetWorldMatrix(), m_alphaDelta);
}

void C3DObject::DrawShadow(const Mat4& shadow) {
    if (!m_mesh || !m_visible) return;
    m_mesh->DrawWithMaterial(GetWorldMatrix() * shadow, &GetShadowMaterial());
}
