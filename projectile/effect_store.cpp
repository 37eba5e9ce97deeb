// The effect store: loads every mesh and sound the projectile kinds show, once per battle, and
// parameterises records by kind name from the constant kind tables.
#include "effect_store.h"

#include "projectile.h"

#include "sys_path.h"

#include <cstring>

namespace {

constexpr uint32_t kKeyBlack = 0xff000000;
constexpr float kSoundLevel = 0.9f;

}  // namespace

CEffectStore::CEffectStore() {
    {
        // A missing folder leaves the loads failing in place, never the game somewhere else.
        CFolderGuard folder(".\\obj");
        for (int k = 0; k < kStoreSlots; ++k) {
            const SStoreSlotFiles& f = kStoreFiles[k];
            m_flightMeshes[k].Load(f.flight, f.flightKeyed ? kKeyBlack : 0, 1);
            m_hitMeshes[k].Load(f.hit, f.hitKeyed ? kKeyBlack : 0, 1);
            m_terrainMeshes[k].Load(f.terrain, 0, 1);
            m_trailMeshes[k].Load(f.trail, 0, 1);
        }
    }
    {
        CFolderGuard folder(".\\wave");
        for (int k = 0; k < kStoreSlots; ++k) m_sounds[k].Load(kStoreFiles[k].sound);
    }
    if (!Is3DSoundEnabled())
        for (CSound& s : m_sounds) s.SetLevel(kSoundLevel);
    ResolveInitialisers();
}

CEffectStore::~CEffectStore() {
    for (int k = kStoreSlots - 1; k >= 0; --k) m_sounds[k].Release();
    for (int k = kStoreSlots - 1; k >= 0; --k) m_trailMeshes[k].Release();
    for (int k = kStoreSlots - 1; k >= 0; --k) m_terrainMeshes[k].Release();
    for (int k = kStoreSlots - 1; k >= 0; --k) m_hitMeshes[k].Release();
    for (int k = kStoreSlots - 1; k >= 0; --k) m_flightMeshes[k].Release();
}

// Every file is its own mesh object, repeats included; an initialiser takes the first one
// loaded from its file, in load order (slot by slot: flight, hit, terrain, trail).
CMesh* CEffectStore::FindMesh(const char* file) {
    for (int k = 0; k < kStoreSlots; ++k) {
        const SStoreSlotFiles& f = kStoreFiles[k];
        if (strcmp(f.flight, file) == 0) return &m_flightMeshes[k];
        if (strcmp(f.hit, file) == 0) return &m_hitMeshes[k];
        if (strcmp(f.terrain, file) == 0) return &m_terrainMeshes[k];
        if (strcmp(f.trail, file) == 0) return &m_trailMeshes[k];
    }
    return nullptr;
}

CSound* CEffectStore::FindSound(const char* file) {
    for (int k = 0; k < kStoreSlots; ++k)
        if (strcmp(kStoreFiles[k].sound, file) == 0) return &m_sounds[k];
    return nullptr;
}

void CEffectStore::ResolveInitialisers() {
    for (int i = 0; i < kKindInits; ++i) {
        const SKindInit& k = kKindInitTable[i];
        m_initMeshes[i][0] = FindMesh(k.flightMesh);
        m_initMeshes[i][1] = FindMesh(k.trailMesh);
        m_initMeshes[i][2] = FindMesh(k.hitMesh);
        m_initMeshes[i][3] = FindMesh(k.terrainMesh);
        m_initSounds[i] = FindSound(k.sound);
    }
}

void CEffectStore::InitProjectile(CProjectile* p, const char* kindName) {
    p->Free();
    if (!kindName || !kindName[0]) return;
    int row = FindKindRow(kindName);
    if (row < 0) return;
    const SKindRow& r = kKindTable[row];
    const SKindInit& k = kKindInitTable[r.init];
    p->m_lifetime = k.lifetime;
    p->m_step = k.step;
    p->m_turnRate = k.turnRate;
    p->m_homingRange = k.homingRange;
    p->m_steerBehind = k.steerBehind;
    p->m_explosive = k.explosive;
    p->m_hpDamage = k.hpDamage;
    p->m_apDamage = k.apDamage;
    p->m_impact = k.impact;
    p->m_blastHpDamage = k.blastHpDamage;
    p->m_blastApDamage = k.blastApDamage;
    p->m_blastImpact = k.blastImpact;
    p->m_hitRadius = k.hitRadius;
    p->m_blastRadius = k.blastRadius;
    p->m_downOnHit = 0;
    p->m_downOnBlast = 0;
    p->m_hitMode = k.hitMode;
    p->m_trailMode = k.trailMode;
    p->m_drawMode = k.drawMode;
    p->m_blendPass = k.blendPass;
    p->SetLabel(k.label);
    if (m_initSounds[r.init]) p->m_kindSound = m_initSounds[r.init];
    CMesh* const* meshes = m_initMeshes[r.init];
    p->m_flight.Create(meshes[0], 0, 0, 0, 1.0f);
    p->m_trail.Create(meshes[1], 0, 0, 0, 1.0f);
    p->m_hit.Create(meshes[2], 0, 0, 0, 1.0f);
    p->m_terrain.Create(meshes[3], 0, 0, 0, 1.0f);
    for (const SKindAdjust& a : r.adjusts) {
        switch (a.field) {
            case kFieldLifetime: p->m_lifetime = (int)a.value; break;
            case kFieldStep: p->m_step = a.value; break;
            case kFieldTurnRate: p->m_turnRate = a.value; break;
            case kFieldHomingRange: p->m_homingRange = a.value; break;
            case kFieldHpDamage: p->m_hpDamage = (int)a.value; break;
            case kFieldApDamage: p->m_apDamage = (int)a.value; break;
            case kFieldImpact: p->m_impact = (int)a.value; break;
            case kFieldBlastHpDamage: p->m_blastHpDamage = (int)a.value; break;
            case kFieldBlastApDamage: p->m_blastApDamage = (int)a.value; break;
            case kFieldBlastImpact: p->m_blastImpact = (int)a.value; break;
            case kFieldHitRadius: p->m_hitRadius = a.value; break;
            case kFieldBlastRadius: p->m_blastRadius = a.value; break;
            case kFieldLabel: p->SetLabel(a.text); break;
            default: return;  // kFieldNone ends the list
        }
    }
}
