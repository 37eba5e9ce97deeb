// CParticleSystem: a fixed-size emitter of camera-facing coloured quads. Each particle gets a
// random life, colour, alpha, size and launch velocity from the settings, moves under a
// constant acceleration, fades and grows, and is spawned again by the caller once it died.
#pragma once

#include "math_ops.h"
#include "shapes.h"

#include <cstdint>
#include <vector>

// Emitters of the engine stay far below this; a larger count is cut to it.
constexpr int kMaxParticles = 65536;

struct ParticleSettings {
    float lifeMin = 0, lifeMax = 0;  // seconds
    uint8_t redMin = 0, redMax = 0, greenMin = 0, greenMax = 0, blueMin = 0, blueMax = 0;
    uint8_t alphaMin = 0, alphaMax = 0;
    float alphaRateMin = 0, alphaRateMax = 0;  // per second
    float sizeMin = 0, sizeMax = 0;            // starting half-size
    float sizeRateMin = 0, sizeRateMax = 0;    // per second
    float speedMin = 0, speedMax = 0;
};

struct Particle {
    float life = 0, age = 0;
    uint8_t red = 0, green = 0, blue = 0;
    float alpha = 0, alphaRate = 0;
    float halfSize = 0, sizeRate = 0;
    Vec3 position, velocity;  // in the emitter frame
};

class CParticleSystem {
public:
    CParticleSystem() = default;
    ~CParticleSystem() { Free(); }
    CParticleSystem(const CParticleSystem&) = delete;
    CParticleSystem& operator=(const CParticleSystem&) = delete;

    void SetDirectionRangeX(float min, float max) { m_dirMin.x = min, m_dirMax.x = max; }
    void SetDirectionRangeY(float min, float max) { m_dirMin.y = min, m_dirMax.y = max; }
    void SetDirectionRangeZ(float min, float max) { m_dirMin.z = min, m_dirMax.z = max; }
    void Create(int count, float x, float y, float z, const ParticleSettings& s);
    void Respawn(const ParticleSettings& s);  // only the particles whose life is over
    int Draw();                               // 1 when no particle was alive
    void Free();

    int GetCount() const { return static_cast<int>(m_particles.size()); }
    const Particle& GetParticle(int i) const { return m_particles[i]; }
    int GetEmittedVertexCount() const { return m_emitted; }
    const Vertex* GetVertices() const { return m_vertices.data(); }

    Vec3 m_position;      // where the emitter frame sits
    Vec3 m_acceleration;  // (0, 0, 0) at construction

private:
    void Spawn(Particle* p, const ParticleSettings& s);
    std::vector<Particle> m_particles;
    std::vector<Vertex> m_vertices;  // 6 per particle, rebuilt every draw
    int m_emitted = 0;
    Vec3 m_dirMin = Vec3(-1, -1, -1), m_dirMax = Vec3(1, 1, 1);
};
