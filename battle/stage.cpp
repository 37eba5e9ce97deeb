// The stage table and the stage environment's fog.
#include "stage.h"

#include "graphics.h"
#include "mesh.h"
#include "music.h"
#include "settings.h"

#include "sys_path.h"

namespace {

constexpr uint32_t kKeyBlack = 0xFF000000;  // colour key of the meshes that cut out their black

struct StageRow {
    int stage;
    const char* meshes[kStageMeshCount];
    int keyed[kStageMeshCount];
    const char* tune;
    uint32_t clearColor;
    int weather;
};

const StageRow kStages[] = {
    {1, {"map05-1.x", "map05-2.x", "map01-3.x"}, {0, 0, 0}, "..\\midi\\stg-m02.mid", 0xFF000000, 0},
    {2, {"map06-1.x", "map06-2.x", "map01-3.x"}, {0, 0, 0}, "..\\midi\\stg-m01.mid", 0xFF222222, 0},
    {3, {"map07-1.x", "map07-2.x", "map01-3.x"}, {0, 0, 0}, "..\\midi\\stg-m03.mid", 0xFF5555FF, 0},
    {4, {"tikei01b-1.x", "tikei01b-2.x", "map07-3.x"}, {0, 0, 1}, "..\\midi\\stg-m04.mid", 0xFFFFFFFF, 1},
    {5, {"map08-1.x", "map08-2.x", "map08-3.x"}, {0, 1, 0}, "..\\midi\\stg-m06.mid", 0xFFAAAAAA, 0},
    {6, {"map09-1.x", "map09-2.x", "map09-3.x"}, {0, 1, 0}, "..\\midi\\stg-m07.mid", 0xFF333333, 0},
    {7, {"map10-1.x", "map10-2.x", "map09-3.x"}, {0, 0, 0}, "..\\midi\\t-tumori1.mid", 0xFF111111, 0},
    {12, {"map12.x", "map12.x", "map09-3.x"}, {0, 0, 0}, "..\\midi\\t-tumori1.mid", 0xFF0033FF, 0},
    {13, {"map13-1.x", "map13-2.x", "map09-3.x"}, {0, 0, 0}, "..\\midi\\t-tumori1.mid", 0xFF0033FF, 0},
    {14, {"map14-1.x", "map14-2.x", "map09-3.x"}, {0, 0, 0}, "..\\midi\\t-tumori1.mid", 0xFF3333FF, 0},
    {15, {"map15_nihon-1.x", "map15_nihon-2.x", "map15-3.x"}, {0, 0, 0}, "..\\midi\\t-tumori1.mid", 0xFF111111, 0},
    {16, {"map16-1.x", "map16-2.x", "map16-3.x"}, {0, 0, 0}, "..\\midi\\t-tumori1.mid", 0xFF111111, 0},
    {17, {"map17-1.x", "map17-2.x", ""}, {0, 0, 0}, "..\\midi\\t-tumori1.mid", 0xFF5555FF, 0},
    {18, {"tikei01b-1.x", "tikei01b-2.x", "map16-3.x"}, {0, 0, 0}, "..\\midi\\stg-m04.mid", 0xFF000000, 0},
    {101, {"map09-3.x", "map09-3.x", "map09-3.x"}, {0, 0, 0}, "..\\midi\\t-tumori1.mid", 0xFF111111, 0},
    {111, {"map11-1.x", "map11-1.x", "map11-1.x"}, {0, 0, 0}, "..\\midi\\t-tumori1.mid", 0xFF111111, 0},
};

const StageRow* FindStage(int stage) {
    for (const StageRow& row : kStages)
        if (row.stage == stage) return &row;
    return nullptr;
}

struct StageInfo {
    int stage;
    const char* name;
    const char* feature;
};

const StageInfo kStageInfo[] = {
    {0, "??", "??"},
    {1, "バトルドーム", "段差が多い"},
    {2, "廃棄都市ブロック", "ビル"},
    {3, "遺跡", "ブロックが散在する"},
    {4, "山岳", "高低差の大きい地形（雪"},
    {5, "森", "木々が視界を遮る"},
    {6, "本社ビル屋上", "遮蔽物が何も無い"},
    {7, "ファイナルステージ", "落下に注意！"},
    {14, "簡易ステージ", "軽量ｗ"},
    {15, "和風庭園", "池と橋と灯籠"},
    {18, "山岳2", "高低差の大きい地形（夜"},
};

}  // namespace

CStage::CStage() : m_fogColor(0xFF330000) {
    CSettings settings;
    m_graphicsLevel = settings.m_values[kValueGraphics];
}

void CStage::InitBlank() {
    m_graphicsLevel = static_cast<int>(0xF0FFFFFF);
    m_fogColor = 0xF0FFFFFF;
}

void CStage::LoadStage(int stage, CMesh meshes[kStageMeshCount], uint32_t* clearColor, int* weather) {
    const StageRow* row = FindStage(stage);
    {
        // Back to the saved absolute folder afterwards, also when ".\map" is missing.
        CFolderGuard folder(".\\map");
        if (row) {
            for (int i = 0; i < kStageMeshCount; ++i) meshes[i].Load(row->meshes[i], row->keyed[i] ? kKeyBlack : 0, 1);
            *weather = row->weather;
            *clearColor = row->clearColor;
            LoadMidi(row->tune);
        } else {
            // The number may come from the network: the two stage meshes load from the empty
            // name, so they end up empty and the log tells why; the weather box stays as it was.
            meshes[0].Load("", 0, 1);
            meshes[1].Load("", 0, 1);
            *clearColor = 0xFF000000;
        }
    }
    m_fogColor = *clearColor;
    DisableFog();
    ApplyFog();
}

void CStage::DisableFog() {
    SetVertexFog(0, m_fogColor, kStageFogStart, kStageFogEnd);
    SetTableFog(0, m_fogColor, kStageFogStart, kStageFogEnd);
}

void CStage::ApplyFog() {
    if (m_graphicsLevel == kFogGraphicsLevel) SetTableFog(1, m_fogColor, kStageFogStart, kStageFogEnd);
}

int IsKnownStage(int stage) { return FindStage(stage) != nullptr; }

std::string GetStageInfo(int stage, int which) {
    const StageInfo* info = nullptr;
    for (const StageInfo& s : kStageInfo)
        if (s.stage == stage) info = &s;
    switch (which) {
        case 0: return info ? info->name : "??";
        case 1: return info ? "" : "??";
        case 2: return info ? info->feature : "??";
        default: return "";
    }
}
