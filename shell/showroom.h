// CShowroom: the robot preview of robot select, the garage and the lobby's robot screen. One
// robot turning slowly on the showroom floor in front of the hangar picture, playing its stance.
#pragma once

#include "info_panel.h"
#include "mesh.h"
#include "node.h"
#include "robot.h"
#include "robot_catalog.h"
#include "sprite.h"
#include "texture.h"

#include <string>

constexpr int kShowroomStageMeshes = 3;
constexpr float kShowroomSpin = 0.01f;  // radians a frame: one turn in about 21 seconds

class CShowroom {
public:
    CShowroom();  // loads the floor, the backdrop and the camera
    ~CShowroom();
    CShowroom(const CShowroom&) = delete;  // the robot's frames point into the robot
    CShowroom& operator=(const CShowroom&) = delete;

    void Load();
    void SetRobot(const std::string& code);   // the showroom's own catalogue builds it
    void Rebuild(CRobotCatalog* build);       // set-up and loading from a build kept elsewhere
    void Update();    // once a frame: the turn and one robot step on the floor
    void DrawView();  // inside the frame
    void DrawScene();  // Update, then DrawView

    int m_unused0;
    int m_unused1;
    CRobotCatalog m_catalog;
    CRobot m_robot;
    CInfoPanel m_banners[2];
    CMesh m_stageMeshes[kShowroomStageMeshes];
    C3DObject m_stage[kShowroomStageMeshes];  // 0 is the floor the robot stands on; none drawn
    CSprite m_backdrop;
    CTexture m_backdropTexture;
    float m_spin;

private:
    void ReturnToFloor();
};
