// CProjectile::Fly: one flight step chosen by the record's kind label. Robot-bound effects follow
// or surround their owner, bombs fall and bounce, missiles home with a speed ramp or lead aim,
// satellites hover and fire on their own, the carrier splits into four and the help field waits
// for its downed owner. Every other label flies straight, homing when it has a turn rate.
#include "projectile.h"

#include "camera.h"
#include "robot.h"

namespace {

const Vec3 kUp(0, 1, 0);

float AbsF(float v) { return v < 0 ? -v : v; }

}  // namespace

int RayToGround(const C3DObject* ground, const Vec3& origin, const Vec3& dir, Vec3* hit, float reach) {
    if (!ground) return 0;
    Vec3 local;
    if (!ground->PickMesh(origin - ground->GetWorldPosition(), dir, &local, nullptr, reach)) return 0;
    // The pick answers along the node's axes times its own scale: back to the mesh's units,
    // then through the node's whole transform into the world.
    float s = ground->m_scale;
    if (s == 0) return 0;
    *hit = Vec3TransformCoord(local / s, ground->GetWorldMatrix());
    return 1;
}

// ---- Shared steps ----

void CProjectile::ReSquare() { m_flight.SetOrientation(m_flight.GetLocalAxisZ(), kUp); }

void CProjectile::Advance(float d) { m_flight.Translate(Vec3(0, 0, d)); }

void CProjectile::Ramp() {
    float f = (float)m_frame / 30.0f;
    Advance((f < 1.0f ? f : 1.0f) * m_step);
}

void CProjectile::SteerToward(const Vec3& rel, float turn) {
    float ahead = 0.1f * AbsF(rel.z);
    if (rel.x > ahead) m_flight.RotateY(turn);
    if (rel.x < -ahead) m_flight.RotateY(-turn);
    if (rel.y > ahead) m_flight.RotateX(-turn);
    if (rel.y < -ahead) m_flight.RotateX(turn);
}

// A shot whose owner has no target has nothing to home on: it flies straight.
void CProjectile::Homing() {
    if (!(m_turnRate > 0.001f) || !m_targetFrame) return;
    float dist = GetDistanceVec(m_targetFrame->GetWorldPosition(), GetPosition());
    Vec3 rel = GetRelativePosition(m_flight, *m_targetFrame);
    if ((rel.z > 0 || m_steerBehind) && dist < m_homingRange) SteerToward(rel, m_turnRate);
}

void CProjectile::GroundSnap(const C3DObject* ground) {
    Vec3 hit;
    if (RayToGround(ground, GetPosition(), Vec3(0, -1, 0), &hit)) m_flight.SetLocalPosition(hit.x, hit.y, hit.z);
    m_flight.SetOrientation(Vec3(0, 0, 1), kUp);
}

void CProjectile::FireFromNode(const char* kind) {
    if (m_owner) m_owner->FireWeaponAt(kind, GetPosition(), GetHeading());
}

void CProjectile::FollowOwnerBody() {
    if (!m_owner) return;
    Vec3 p = m_owner->m_frames[1].GetWorldPosition();
    m_flight.SetLocalPosition(p.x, p.y, p.z);
}

bool CProjectile::CheckTerrain(const C3DObject* ground) {
    Vec3 heading = GetHeading();
    Vec3 origin = GetPosition() - heading * m_step;
    Vec3 hit;
    // Only ground within this step's reach stops the shot: nothing farther needs searching.
    if (!RayToGround(ground, origin, heading, &hit, m_step)) return true;
    if (GetDistanceVec(origin, hit) > m_step) return true;
    m_flight.SetLocalPosition(hit.x, hit.y, hit.z);
    return false;
}

// ---- Labels ----

bool CProjectile::FlyBoost(int label) {
    FollowOwnerBody();
    if (m_frame == 1) {
        Vec3 flat = GetHeading();
        flat.y = 0;
        m_flight.SetOrientation(flat, kUp);
        if (label != kLabelBoost) m_flight.RotateX(-0.5f);
    }
    if (label == kLabelBoostRight) m_flight.Translate(Vec3(0.15f, 0, -0.1f));
    if (label == kLabelBoostLeft) m_flight.Translate(Vec3(-0.15f, 0, -0.1f));
    float s = 1.0f - 0.1f * (float)m_frame;
    m_flight.SetScale(s < 0 ? 0.01f : s);
    return true;
}

void CProjectile::FlyBomb(bool* result, const C3DObject* ground) {
    ReSquare();
    Advance(m_step);
    Vec3 h = GetHeading();
    h.y -= 0.04f;
    m_flight.SetOrientation(h, kUp);
    *result = true;
    if (CheckTerrain(ground)) return;
    h = GetHeading();
    if (h.y < 0) {
        m_flight.SetOrientation(Vec3(h.x, -0.7f * h.y, h.z), kUp);
        return;
    }
    m_flight.SetOrientation(Vec3(-h.x, h.y, -h.z), kUp);
    *result = false;
}

void CProjectile::FlyLead() {
    if (m_turnRate > 0.001f && m_targetFrame) {
        Vec3 target = m_targetFrame->GetWorldPosition();
        float dist = GetDistanceVec(target, GetPosition());
        // A record that never moves has no flight time to lead by.
        m_lead = m_step != 0 ? (target - m_previousTarget) * (dist / m_step) : Vec3();
        m_previousTarget = target;
        Vec3 rel = TransformToLookAtSpace(GetHeading(), GetPosition(), target + m_lead);
        if ((rel.z > 0 || m_steerBehind) && dist < m_homingRange) SteerToward(rel, m_turnRate);
    }
    ReSquare();
    Ramp();
}

void CProjectile::FlySatellite1() {
    if (m_frame < 15) m_flight.Translate(Vec3(0, 0.06f, 0));
    if (m_turnRate > 0.001f && m_targetFrame) SteerToward(GetRelativePosition(m_flight, *m_targetFrame), m_turnRate);
    ReSquare();
    if (m_frame > 30 && m_frame % 15 == 0) FireFromNode(m_label == "サテライト１" ? "ショット３B" : "マシンガン");
    Advance(m_step);
}

void CProjectile::FlySatellite2() {
    if (m_frame < 15) {
        Advance(m_step);
        return;
    }
    if (m_turnRate > 0.001f && m_targetFrame) {
        SteerToward(GetRelativePosition(m_flight, *m_targetFrame), m_turnRate);
        ReSquare();
    }
    if (m_frame > 30 && m_frame % 20 == 0) FireFromNode(m_label == "サテライト２" ? "ショット３B" : "マシンガン");
}

void CProjectile::FlySatellite3() {
    int p = m_frame % 50;
    if (p >= 7 && p <= 16) {
        Advance(m_step);
        return;
    }
    if (m_targetFrame) {
        Vec3 aim = m_targetFrame->GetWorldPosition();
        if (p < 26) aim += Vec3(0, 1, 0);  // first above the target, then at it
        SteerToward(TransformToLookAtSpace(GetHeading(), GetPosition(), aim), m_turnRate);
    }
    ReSquare();
    if (p >= 26 && m_frame % 5 == 0) FireFromNode(m_label == "サテライト３" ? "ショット３B" : "マシンガン");
}

void CProjectile::FlyMultiWarhead() {
    float dist = 0;
    if (m_targetFrame) dist = GetDistanceVec(m_targetFrame->GetWorldPosition(), GetPosition());
    if (m_frame > 15) {
        if (m_targetFrame) {
            Vec3 rel = GetRelativePosition(m_flight, *m_targetFrame);
            float turn = (m_frame > 15 && m_frame < 20) ? m_turnRate * 5 : m_turnRate;
            if ((rel.z > 0 || m_steerBehind) && dist < m_homingRange) SteerToward(rel, turn);
        }
        if (m_frame == 16) FireFromNode("ダッシュ２");
    }
    ReSquare();
    Ramp();
    if (m_targetFrame && dist < 10 && m_frame > 30 && m_frame < m_lifetime - 4) m_frame = m_lifetime - 4;
    // One child a frame on the last four, each fanned out by turns undone right after the shot.
    static const float kFan[4][2] = {{0.5f, 0.5f}, {0.5f, -0.5f}, {-0.5f, 0.5f}, {-0.5f, -0.5f}};
    int k = m_frame - (m_lifetime - 4);
    if (k >= 0 && k < 4) {
        m_flight.RotateY(kFan[k][0]);
        m_flight.RotateX(kFan[k][1]);
        FireFromNode("子ミサイル");
        m_flight.RotateX(-kFan[k][1]);
        m_flight.RotateY(-kFan[k][0]);
    }
}

void CProjectile::FlyHelpField(const C3DObject* ground) {
    if (m_frame == 1) GroundSnap(ground);
    m_flight.RotateY(0.05f);
    if (!m_owner) return;
    if (m_owner->m_hp > 0)
        m_frame = m_lifetime;
    else if (m_frame >= m_lifetime - 10)
        m_frame = 10;
}

bool CProjectile::Fly(const C3DObject* ground) {
    switch (m_labelCode) {
        case kLabelBoost:
        case kLabelBoostRise:
        case kLabelBoostRight:
        case kLabelBoostLeft:
            return FlyBoost(m_labelCode);
        case kLabelSpark: {
            // The spark is drawn facing the camera, but the step leaves its heading alone: the
            // camera is each player's own, and the games of an online battle step alike.
            FollowOwnerBody();
            float s = 0.5f * (float)m_frame;
            m_flight.SetScale(s > 10 ? 10 : s);
            return true;
        }
        case kLabelDash:
        case kLabelTurn: {
            if (m_frame == 1) GroundSnap(ground);
            m_flight.RotateY(0.3f);
            float s = (float)m_frame / (m_labelCode == kLabelDash ? 6.0f : (float)m_lifetime) * 2.5f;
            m_flight.SetScale(s < 0.1f ? 0.1f : s);
            return true;
        }
        case kLabelDash2:
            m_flight.RotateZ(0.3f);
            m_flight.SetScale((float)m_frame / 7.0f * 8.0f + 0.1f);
            return true;
        case kLabelShield:
            m_flight.SetScale((float)m_frame / 6.0f * 2.0f + 1.0f);
            return true;
        case kLabelBomb: {
            bool result = true;
            FlyBomb(&result, ground);
            return result;
        }
        case kLabelCrystal:
            ReSquare();
            Advance(m_step);
            if (!CheckTerrain(ground)) m_step = 0;  // rests where it touched
            return true;
        case kLabelRamp:
            Homing();
            ReSquare();
            Ramp();
            return CheckTerrain(ground);
        case kLabelLead:
            FlyLead();
            return CheckTerrain(ground);
        case kLabelSatellite1:
            FlySatellite1();
            return CheckTerrain(ground);
        case kLabelSatellite2:
            FlySatellite2();
            return CheckTerrain(ground);
        case kLabelSatellite3:
            FlySatellite3();
            return CheckTerrain(ground);
        case kLabelMultiWarhead:
            FlyMultiWarhead();
            return CheckTerrain(ground);
        case kLabelHelpField:
            FlyHelpField(ground);
            return true;
        default:
            Homing();
            ReSquare();
            Advance(m_step);
            return CheckTerrain(ground);
    }
}
