// The robot preview: the floor it stands on (never drawn), the backdrop picture and the robot.
// A robot is rebuilt in place: its meshes are reloaded and its frames placed anew, so the root
// goes back to the floor's centre first or every rebuild would leave it a unit higher.
#include "showroom.h"

#include "camera.h"
#include "graphics.h"

#include "sys_path.h"

namespace {

const char* const kStageFiles[kShowroomStageMeshes] = {"map14-1.x", "map14-2.x", "map01-3.x"};
constexpr float kStageScale = 10.0f;
const char kBackdropFile[] = "bmp\\nikki20041210_zauガレージ.png";
const Vec3 kEye(0, 0.7f, -4.0f);
const Vec3 kLookDirection(0, 0, 1);
const Vec3 kUp(0, 1, 0);

}  // namespace

CShowroom::CShowroom() { Load(); }

CShowroom::~CShowroom() {}

void CShowroom::Load() {
    m_unused0 = 0;
    m_unused1 = 0;
    {
        CFolderGuard folder(".\\map");
        for (int i = 0; i < kShowroomStageMeshes; ++i) m_stageMeshes[i].Load(kStageFiles[i]);
    }
    for (int i = 0; i < kShowroomStageMeshes; ++i) m_stage[i].Create(&m_stageMeshes[i], 0, 0, 0, kStageScale);
    m_backdropTexture.Load(kBackdropFile, 0, 1);
    m_backdrop.SetTexture(&m_backdropTexture);
    m_backdrop.SetPosition(0, 0);
    m_backdrop.SetRotation(0);
    m_backdrop.SetScale(1, 1);
    SetViewLookAlong(kEye, kLookDirection, kUp);
    m_spin = kShowroomSpin;
}

void CShowroom::ReturnToFloor() {
    // The heading stays, so a rebuilt robot goes on turning from where the old one was.
    m_robot.m_frames[kRootFrame].SetLocalPosition(0, 0, 0);
    for (double& v : m_robot.m_velocity) v = 0;
}

void CShowroom::SetRobot(const std::string& code) {
    ReturnToFloor();
    m_catalog.BuildRobot(&m_robot, code);
}

void CShowroom::Rebuild(CRobotCatalog* build) {
    ReturnToFloor();
    build->SetupRobotType(&m_robot);
    build->LoadRobot(&m_robot);
}

void CShowroom::Update() {
    m_robot.m_frames[kRootFrame].RotateY(m_spin);
    m_robot.Update(&m_stage[0], 0, nullptr, 0);
}

void CShowroom::DrawView() {
    SetZWriteEnable(0);
    m_backdrop.Draw();
    SetZWriteEnable(1);
    SetViewLookAlong(kEye, kLookDirection, kUp);
    SetLighting(1);
    m_robot.Draw();
    for (CInfoPanel& banner : m_banners) banner.Draw();
}

void CShowroom::DrawScene() {
    Update();
    DrawView();
}
