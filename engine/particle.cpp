// Particles: spawning from the engine's 15-bit generator, ageing and drawing as a triangle list
// in a frame at the emitter with the camera's axes.
#include "particle.h"

#include "frame_timer.h"
#include "graphics.h"
#include "sys_rand.h"

#include <cstddef>

namespace {

float RandRange(float min, float max) {
    return min + static_cast<float>(GameRand()) * (max - min) / static_cast<float>(kRandMax);
}

// max itself is never drawn; a range with nothing above its minimum gives the minimum.
uint8_t RandByte(uint8_t min, uint8_t max) {
    if (max <= min) return min;
    return static_cast<uint8_t>(min + GameRand() % (max - min));
}

}  // namespace

void CParticleSystem::Spawn(Particle* p, const ParticleSettings& s) {
    p->life = RandRange(s.lifeMin, s.lifeMax);
    p->age = 0;
    p->red = RandByte(s.redMin, s.redMax);
    p->green = RandByte(s.greenMin, s.greenMax);
    p->blue = RandByte(s.blueMin, s.blueMax);
    p->alpha = RandByte(s.alphaMin, s.alphaMax);
    p->alphaRate = RandRange(s.alphaRateMin, s.alphaRateMax);
    p->halfSize = RandRange(s.sizeMin, s.sizeMax);
    p->sizeRate = RandRange(s.sizeRateMin, s.sizeRateMax);
    p->position = Vec3();
    float speed = RandRange(s.speedMin, s.speedMax);
    float dz = RandRange(m_dirMin.z, m_dirMax.z);
    float dy = RandRange(m_dirMin.y, m_dirMax.y);
    float dx = RandRange(m_dirMin.x, m_dirMax.x);
    p->velocity = Vec3(dx, dy, dz) * speed;
}

void CParticleSystem::Create(int count, float x, float y, float z, const ParticleSettings& s) {
    Free();
    m_position = Vec3(x, y, z);
    if (count <= 0) return;
    if (count > kMaxParticles) count = kMaxParticles;
    m_particles.assign(count, Particle());
    m_vertices.assign(static_cast<size_t>(count) * 6, Vertex());
    for (Particle& p : m_particles) Spawn(&p, s);
}

void CParticleSystem::Respawn(const ParticleSettings& s) {
    for (Particle& p : m_particles)
        if (p.age >= p.life) Spawn(&p, s);
}

void CParticleSystem::Free() {
    m_particles.clear();
    m_vertices.clear();
    m_emitted = 0;
}

int CParticleSystem::Draw() {
    m_emitted = 0;
    if (m_particles.empty()) return 0;
    float fps = g_frameTimer.m_fps;
    float dt = fps > 0 ? 1.0f / fps : 1.0f / 30.0f;
    for (Particle& p : m_particles) {
        if (!(p.age < p.life)) continue;
        float h = p.halfSize;
        // Alpha past 255 stays opaque rather than wrapping round in the byte.
        uint32_t a = p.alpha >= 255.0f ? 255u : static_cast<uint32_t>(p.alpha);
        uint32_t color = a << 24 | uint32_t(p.red) << 16 |
                         uint32_t(p.green) << 8 | p.blue;
        SetQuadVertices(&m_vertices[m_emitted], p.position.x - h, p.position.y - h, p.position.x + h, p.position.y + h,
                p.position.z, color);
        m_emitted += 6;
        p.age += dt;
        p.alpha += p.alphaRate * dt;
        p.halfSize += p.sizeRate * dt;
        if (p.alpha < 0) p.alpha = 0;
        if (p.halfSize < 0) p.halfSize = 0;
        p.position = p.velocity * p.age + m_acceleration * p.age * p.age;
    }
    if (m_emitted == 0) return 1;
    Mat4 world = g_matInvView;
    MatrixSetRow(&world, 3, m_position);
    GfxSetTransform(kTsWorld, world);
    GfxSetVertexShader(kFvfTexVertex);
    GfxDrawPrimitiveUP(kPtTriangleList, m_emitted / 3, m_vertices.data(), sizeof(Vertex));
    return 0;
}
