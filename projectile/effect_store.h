// CEffectStore: the battle's one store of effect meshes and sounds, loaded once when the
// battle is built, and the place where a kind name becomes a fully set projectile record.
// Records point into the store, so it outlives the pool's drawing.
#pragma once

#include "mesh.h"
#include "projectile_kinds.h"
#include "sound.h"

class CProjectile;

class CEffectStore {
public:
    CEffectStore();  // loads ".\obj" meshes and ".\wave" sounds; the current folder is kept
    ~CEffectStore();
    CEffectStore(const CEffectStore&) = delete;
    CEffectStore& operator=(const CEffectStore&) = delete;

    // Frees the record, then applies the kind's initialiser and adjustments. An empty name
    // stops after freeing; an unknown name leaves the record's previous parameters.
    void InitProjectile(CProjectile* record, const char* kindName);
    void InitProjectile(CProjectile* record, const std::string& kindName) { InitProjectile(record, kindName.c_str()); }

    CMesh m_flightMeshes[kStoreSlots];
    CMesh m_hitMeshes[kStoreSlots];
    CMesh m_terrainMeshes[kStoreSlots];
    CMesh m_trailMeshes[kStoreSlots];
    CSound m_sounds[kStoreSlots];

private:
    void ResolveInitialisers();
    CMesh* FindMesh(const char* file);
    CSound* FindSound(const char* file);

    // Per initialiser, resolved once: flight, trail, hit and terrain mesh, and the kind sound.
    CMesh* m_initMeshes[kKindInits][4] = {};
    CSound* m_initSounds[kKindInits] = {};
};
