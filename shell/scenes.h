// The scenes of the game shell. GameMain runs the logo once, then the title and the scene the
// title returns, until "EXIT" or the quit flag.
#pragma once

// Scene numbers the title returns (the title menu's cursor).
enum {
    kSceneQuit = -1,          // the quit flag ended the title menu
    kSceneCancel = 0,         // "Cancel": the title runs again, intro included
    kSceneSingleCampaign = 1, // "VS CPU SINGLE"
    kSceneTeamCampaign = 2,   // "VS CPU TIAME"
    kSceneNet = 3,            // "NET"
    kSceneGarage = 4,         // "GARAGE"
    kSceneOption = 5,         // "OPTION"
    kSceneExit = 6,           // "EXIT": sets the quit flag
};

void LogoScene();
int TitleScene();             // the next scene number
int TitleMenu();              // the menu's cursor, or -1 when the quit flag ended it

void SingleCampaignScene();
void TeamCampaignScene();
void NetLobbyScene();
void GarageScene();
void OptionScene();
void WeaponMeshViewerScene(); // no title entry leads here
