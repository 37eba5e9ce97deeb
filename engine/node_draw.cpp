// The node's draw variants: each hands its world matrix to the mesh.
#include "mesh.h"
#include "node.h"

void C3DObject::Draw() {
    if (!m_mesh || !m_visible) return;
    m_mesh->Draw(GetWorldMatrix());
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
