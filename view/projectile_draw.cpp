// Projectiles drawn by state and kind label: the flight mesh fading or pulsing, the hit and
// terrain effects turning and growing, the launch flash and the trail particles. Every turn,
// scale and alpha goes on a copy of the node, so the records stay exactly as the simulation
// left them; the turns that spin an effect grow with its frame counter instead of piling up
// on the node.
#include "projectile.h"

#include "camera.h"

#include <algorithm>

namespace {

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

// Scale of the growing hit effect (mode 2): n / 10, at least 0.01, at most 1.
float GrowScale(int n) {
    float s = float(n) * 0.1f;
    if (s <= 0) s = 0.01f;
    return std::min(s, 1.0f);
}

// The flight mesh's alpha and scale by kind label (scale 1 when the label leaves it).
void BodyLook(const std::string& label, int n, int lifetime, float* alpha, float* scale) {
    *scale = 1.0f;
    if (label == "ブースト" || label == "ブースト（上昇" || label == "ブースト（右" || label == "ブースト（左")
        *alpha = 1 - n / 6.0f;
    else if (label == "被弾") *alpha = 1 - n / 10.0f;
    else if (label == "ダッシュ") *alpha = 1 - n / 6.0f;
    else if (label == "ダッシュ２") *alpha = Clamp01((1 - n / 7.0f) * 0.5f);
    else if (label == "ターン") *alpha = lifetime ? 1 - float(n) / float(lifetime) : 0.0f;
    else if (label == "シールド") *alpha = Clamp01(1 - n / 5.0f);
    else if (label == "ボム") *alpha = 1.0f;
    else if (label == "ブレード") *alpha = 1 - n / 12.0f;
    else if (label == "ビーム") *scale = float(n % 2 + 5) / 6.0f;
    else if (label == "撃破") {
        float f = float(n % 30) / 30.0f;
        *scale = 1 + f * 0.3f;
        *alpha = 1 - f * 0.8f;
    } else *alpha = 1.0f;
}

}  // namespace

void CProjectile::DrawNode(C3DObject& node) {
    if (m_drawMode == 0) node.Draw();
    else if (m_drawMode == 1) node.DrawWithAlpha();
}

void CProjectile::Draw() {
    const int n = m_frame;
    const int state = GetStateCode();
    if (state == kStateFlying || (state == kStateHit && n == 0)) {
        C3DObject body = m_flight;
        float alpha = body.m_alpha, scale = 1.0f;
        BodyLook(m_label, n, m_lifetime, &alpha, &scale);
        body.SetAlpha(alpha);
        if (scale != 1.0f) body.SetScale(scale);
        // The hit spark faces the camera: each player's own, so only the drawing may read it.
        if (GetLabelCode() == kLabelSpark) body.SetOrientation(GetCameraDirection(), Vec3(0, 1, 0));
        DrawNode(body);
    }
    const float spin = 1.1f * float(n + 1);
    if (state == kStateHit) {
        C3DObject hit = m_hit;
        switch (m_hitMode) {
        case 0:
            hit.RotateY(spin);
            if (n % 5 == 0 || n % 5 == 2) DrawNode(hit);
            break;
        case 2:
            hit.SetScale(GrowScale(n));
            hit.RotateY(spin);
            DrawNode(hit);
            break;
        case 4:
            hit.RotateY(spin);
            DrawNode(hit);
            break;
        case 5:
            hit.SetScale(n * 0.5f + 1);
            hit.RotateY(spin);
            hit.SetAlpha(Clamp01(1 - n / 5.1f));
            DrawNode(hit);
            break;
        default: DrawNode(hit); break;
        }
    } else if (state == kStateTerrain) {
        C3DObject terrain = m_terrain;
        switch (m_hitMode) {
        case 0:
            terrain.RotateY(spin);
            if (n % 5 == 0 || n % 5 == 2) DrawNode(terrain);
            break;
        case 2:
            terrain.SetScale(GrowScale(n));
            terrain.RotateY(spin);
            DrawNode(terrain);
            break;
        case 5:
            terrain.SetScale((n - 1) * 0.5f + 1);
            terrain.RotateY(spin);
            terrain.SetAlpha(1 - (n - 1) / 5.0f);
            DrawNode(terrain);
            break;
        default: DrawNode(terrain); break;
        }
    }
}

void CProjectile::DrawTrail() {
    if (GetStateCode() != kStateFlying) return;
    const int n = m_frame;
    if (m_trailMode == 1) {
        if (n == 1 || n == 3) m_trail.Draw();
    } else if (m_trailMode == 2) {
        if (n > 10) return;
        C3DObject flash = m_trail;
        float s = n * 0.2f;
        flash.SetScale(s > 0 ? s : 0.01f);
        flash.SetAlpha(1 - n / 10.0f);
        flash.DrawWithAlpha();
    } else if (m_trailMode == 3 || m_trailMode == 4) {
        const int count = std::clamp(m_particleCount, 0, kTrailParticles);
        for (int i = 0; i < count; ++i) m_particles[i].Draw(m_trail);
    }
}

void CTrailParticle::Draw(C3DObject& node) const {
    if (m_hidden) return;
    C3DObject puff = node;
    puff.SetOrientation(m_direction, Vec3(0, 1, 0));
    puff.SetLocalPosition(m_position.x, m_position.y, m_position.z);
    puff.SetScale(m_scale);
    puff.SetAlpha(m_alpha);
    puff.DrawWithAlpha();
}
