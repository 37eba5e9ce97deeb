// CProjectile's life: construction, launch, the per-step state machine with its trail
// particles, and the two state changes (detonate, terrain). Flight is in
// projectile_flight.cpp, hits and wear in projectile_hits.cpp.
#include "projectile.h"

#include "sys_path.h"

#include <cstring>

namespace {

const Vec3 kUp(0, 1, 0);
constexpr float kSoundLevel = 0.9f;

// The frames after which a hit or terrain effect frees its record, per hit-effect mode: the
// record is freed on the first frame past its number, so 0 frees it on its first frame.
struct SFreeRule {
    int terrainAfter;
    int hitAfter;
};
constexpr SFreeRule kFreeRules[6] = {
    {30, 30}, {5, 5}, {30, 30}, {0, 0}, {0, 5}, {5, 5},
};

struct SLabelName {
    const char* text;
    int code;
};
constexpr SLabelName kLabelNames[] = {
    {"ブースト", kLabelBoost},
    {"ブースト（上昇", kLabelBoostRise},
    {"ブースト（右", kLabelBoostRight},
    {"ブースト（左", kLabelBoostLeft},
    {"被弾", kLabelSpark},
    {"ダッシュ", kLabelDash},
    {"ダッシュ２", kLabelDash2},
    {"ターン", kLabelTurn},
    {"シールド", kLabelShield},
    {"ボム", kLabelBomb},
    {"クリスタル", kLabelCrystal},
    {"加速", kLabelRamp},
    {"予測", kLabelLead},
    {"サテライト１", kLabelSatellite1},
    {"サテライト４", kLabelSatellite1},
    {"サテライト２", kLabelSatellite2},
    {"サテライト５", kLabelSatellite2},
    {"サテライト３", kLabelSatellite3},
    {"サテライト６", kLabelSatellite3},
    {"多弾頭4", kLabelMultiWarhead},
    {"撃破", kLabelHelpField},
};

const char* const kStateTexts[4] = {"", "飛行中", "命中", "地形"};

}  // namespace

// ---- Trail particles ----

void CTrailParticle::Start(int kind, const C3DObject& node) {
    m_hidden = 0;
    m_age = 0;
    m_kind = kind;
    m_direction = node.GetLocalAxisZ();
    m_position = node.GetLocalPosition();
}

void CTrailParticle::Update() {
    m_age += 1;
    if (m_kind == 3) {
        if (m_age > 9) m_hidden = 1;
        m_scale = 0.2f + 0.09f * (float)m_age;
        m_alpha = 1.0f - (float)m_age / 10.0f;
    } else if (m_kind == 4) {
        if (m_age > 3) m_hidden = 1;
        m_scale = 1.0f + 0.7f * (float)m_age;
        m_alpha = 1.0f - (float)m_age / 5.0f;
    }
    if (!(m_scale > 0)) m_scale = 0.01f;
}

// ---- Set-up ----

CProjectile::CProjectile() : m_kindSound(&m_jetSound) {}

CProjectile::~CProjectile() {
    m_hitSound.Stop();
    m_jetSound.Stop();
}

void CProjectile::LoadSounds() {
    {
        CFolderGuard folder(".\\wave");
        m_jetSound.Load("se_jet1.wav");
        m_hitSound.Load("se_hit1.wav");
    }
    m_kindSound = &m_jetSound;
    if (!Is3DSoundEnabled()) {
        m_jetSound.SetLevel(kSoundLevel);
        m_hitSound.SetLevel(kSoundLevel);
    }
}

void CProjectile::SetState(int code) {
    m_stateCode = code;
    m_state = kStateTexts[code];
    m_frame = 0;
}

void CProjectile::Free() {
    // Both sounds loop: a record that ends while one plays would leave it playing for good.
    m_jetSound.Stop();
    m_hitSound.Stop();
    SetState(kStateFree);
}

void CProjectile::SetLabel(const char* label) {
    m_label = label;
    m_labelCode = kLabelStraight;
    for (const SLabelName& n : kLabelNames)
        if (strcmp(n.text, label) == 0) {
            m_labelCode = n.code;
            break;
        }
}

bool CProjectile::IsBombFamily() const {
    return m_label == "ボム" || m_label == "グレネード" || m_label == "ミサイルボム";
}

void CProjectile::Arm(const Vec3& position, const Vec3& direction, C3DObject* targetFrame, CRobot* owner) {
    m_targetFrame = targetFrame;
    m_owner = owner;
    m_flight.SetLocalPosition(position.x, position.y, position.z);
    m_flight.SetOrientation(direction, kUp);
    SetState(kStateFlying);
}

// ---- State changes ----

void CProjectile::StartBlastState(int code, C3DObject* node) {
    m_jetSound.Stop();
    SetState(code);
    node->SetOrientation(m_flight.GetLocalAxisZ(), kUp);
    Vec3 p = m_flight.GetLocalPosition();
    node->SetLocalPosition(p.x, p.y, p.z);
}

void CProjectile::Detonate() {
    if (m_stateCode == kStateFlying) StartBlastState(kStateHit, &m_hit);
}

void CProjectile::HitTerrain() {
    if (IsBombFamily()) {
        Detonate();
        return;
    }
    if (m_stateCode == kStateFlying) StartBlastState(kStateTerrain, &m_terrain);
}

// ---- Per step ----

void CProjectile::UpdateTrail() {
    int mode = m_trailMode;
    if (mode == 1 || mode == 2) {
        if (m_frame == 1) {
            m_trail.SetOrientation(m_flight.GetLocalAxisZ(), kUp);
            Vec3 p = m_flight.GetLocalPosition();
            m_trail.SetLocalPosition(p.x, p.y, p.z);
        }
        return;
    }
    if (mode != 3 && mode != 4) return;
    if (mode == 4 || m_frame % 3 == 2) {
        for (CTrailParticle& t : m_particles)
            if (t.m_hidden) {
                t.Start(mode, m_flight);
                break;
            }
    }
    for (CTrailParticle& t : m_particles) t.Update();
}

void CProjectile::UpdateHitOrTerrain() {
    const bool hit = m_stateCode == kStateHit;
    C3DObject* node = hit ? &m_hit : &m_terrain;
    node->SetAlpha(1.0f);
    const int mode = (m_hitMode >= 0 && m_hitMode <= 5) ? m_hitMode : 0;
    const bool soundOnTerrain = !hit && mode == 0;
    if (hit || soundOnTerrain) {
        if (m_frame == 1) m_hitSound.Play(1);
        Vec3 p = node->GetWorldPosition();
        m_hitSound.SetPosition3D(p.x, p.y, p.z);
    }
    const int after = hit ? kFreeRules[mode].hitAfter : kFreeRules[mode].terrainAfter;
    if (m_frame > after) Free();
    if (m_stateCode == kStateHit && m_labelCode == kLabelHelpField && m_owner) ReviveOwner();
}

void CProjectile::Update(const C3DObject* ground) {
    m_frame += 1;
    if (m_frame == 1)
        for (CTrailParticle& t : m_particles) t.m_hidden = 1;
    UpdateTrail();
    switch (m_stateCode) {
        case kStateFlying: {
            m_flight.SetAlpha(1.0f);
            Vec3 p = m_flight.GetLocalPosition();
            const bool sound3D = Is3DSoundEnabled();
            if (m_frame == 1) m_kindSound->SetPosition3D(p.x, p.y, p.z);
            if (sound3D) m_jetSound.SetPosition3D(p.x, p.y, p.z);
            if (m_frame == 1 && sound3D) m_jetSound.Play(1);
            if (m_frame == 1) m_kindSound->Play(0);
            if (!Fly(ground)) {
                // Only terrain ends a flight early: a shot stops on the surface it met instead
                // of flying one more step through it.
                if (IsBombFamily())
                    Detonate();
                else
                    HitTerrain();
            }
            if (m_stateCode == kStateFlying && m_frame >= m_lifetime) {
                if (IsBombFamily())
                    Detonate();
                else
                    HitTerrain();
            }
            break;
        }
        case kStateHit:
        case kStateTerrain:
            UpdateHitOrTerrain();
            break;
        default:
            break;
    }
}

// ---- Values a hit deals in the current state and frame ----

namespace {

bool IsBlastFrame(int frame) { return frame == 1 || frame == 5 || frame == 9; }

}  // namespace

int CProjectile::GetHpDamage() const {
    if (m_stateCode == kStateHit && m_frame == 0) return m_hpDamage;
    if ((m_stateCode == kStateHit || m_stateCode == kStateTerrain) && m_explosive && IsBlastFrame(m_frame))
        return m_blastHpDamage;
    return 0;
}

int CProjectile::GetApDamage() const {
    if (m_stateCode == kStateHit && m_frame == 0) return m_apDamage;
    if ((m_stateCode == kStateHit || m_stateCode == kStateTerrain) && m_explosive && IsBlastFrame(m_frame))
        return m_blastApDamage;
    return 0;
}

int CProjectile::GetImpact() const {
    if (m_stateCode == kStateHit && m_frame == 0) return m_impact;
    if ((m_stateCode == kStateHit || m_stateCode == kStateTerrain) && m_explosive && IsBlastFrame(m_frame))
        return m_blastImpact;
    return m_impact;
}

float CProjectile::GetHitRadius() const {
    if (m_stateCode == kStateHit && m_frame == 0) return 0;
    if ((m_stateCode == kStateHit || m_stateCode == kStateTerrain) && m_explosive && IsBlastFrame(m_frame))
        return m_blastRadius;
    if (m_stateCode == kStateFlying) return m_hitRadius;
    return 0;
}
