// CBattleView: the battle's camera and the owner of the head-up display's assets. The phase
// sequencer switches it to scripted shots; Tab cycles the player's view types.
#pragma once

class CRobot;

class CBattleView {
public:
    void Update(CRobot* robot);  // places the camera for the followed robot, then the listener
    void CycleViewType();        // Tab
    void SetViewMode(int mode);  // -1: back to the player's view type
    void SetStartView();
    void SetFinishView();
    void SetWinView();
    void SetLoseView();

    int m_viewMode = 9;
    int m_savedViewType = 9;
    // The finish shot's two robots, set by the projectile hit pass on a hit that leaves a
    // robot without HP.
    CRobot* m_finisher = nullptr;
    CRobot* m_defeated = nullptr;
};
