// CStage: the environment of a stage (the graphics level and the fog colour) and the loading of
// a stage by number: its three meshes from ".\map" (ground, visible stage, weather box), its
// tune, clear colour and weather variant; with the names the stage menus show.
#pragma once

#include <cstdint>
#include <string>

class CMesh;

constexpr int kStageMeshCount = 3;        // ground (collision only), visible stage, weather box
constexpr float kStageFogStart = 15.0f;   // fog only at the highest graphics level
constexpr float kStageFogEnd = 39.0f;
constexpr int kFogGraphicsLevel = 3;

class CStage {
public:
    CStage();  // graphics level from the settings, fog colour 0xFF330000
    CStage(const CStage&) = delete;
    CStage& operator=(const CStage&) = delete;

    void InitBlank();  // both fields 0xF0FFFFFF: the battle's blank environment
    // Meshes, tune, clear colour and weather variant of the stage; a number without a row
    // leaves the ground and visible meshes empty, loads no tune and keeps the weather variant.
    void LoadStage(int stage, CMesh meshes[kStageMeshCount], uint32_t* clearColor, int* weather);
    void DisableFog();
    void ApplyFog();  // table fog in the fog colour at graphics level 3; nothing otherwise

    int m_graphicsLevel = 0;
    uint32_t m_fogColor = 0;
};

// 1 when the stage table has a row for the number, so the stage loads meshes and a tune.
int IsKnownStage(int stage);
// which 0: the stage's name, 1: its second text, 2: its feature text; other: "".
std::string GetStageInfo(int stage, int which);
