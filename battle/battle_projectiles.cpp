// The projectile passes of a battle step, in their order: launch this step's fire requests,
// fly, wear projectiles against each other, hit robots. A finishing hit hands the view its two
// robots for the finish shot.
#include "battle.h"

void CBattle::SpawnProjectiles() { m_projectiles.Spawn(m_robots, m_robotCount < kMaxRobots ? m_robotCount : kMaxRobots); }

void CBattle::UpdateProjectiles() { m_projectiles.Update(&m_stageObjects[0]); }

void CBattle::CheckProjectileCollisions() { m_projectiles.CheckCollisions(); }

void CBattle::CheckProjectileHits() {
    m_projectiles.CheckHits(m_robots, m_robotCount < kMaxRobots ? m_robotCount : kMaxRobots, &m_view.m_finisher,
                            &m_view.m_defeated);
}
