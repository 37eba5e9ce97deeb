// The robot catalogue: the build as fifteen numbers, its eight-byte code, names, the building
// of a robot and the garage's stat sheet. Codes come from ini files and the network, so every
// read stays inside the code and every lookup inside its table.
#include "robot_catalog.h"

#include "robot.h"
#include "robot_tables.h"

#include "mesh.h"

namespace {

// The bit fields of the code: a value that does not fit is cut, never spilled into its neighbour.
constexpr int kIdMask = 127;
constexpr int kSmallGroupMask = 3;   // variant groups 0, 1, 3 and 4
constexpr int kLargeGroupMask = 7;   // variant groups 2 and 5
constexpr int kChannelMask = 7;
constexpr int kCodeBias = 128;
// Meshes this large are taken as damaged: their mount vertices mean nothing.
constexpr int kMaxMountMeshVertices = 9990;

const std::string kNoName;

unsigned char CodeByte(int value) { return (unsigned char)(value + kCodeBias); }

}  // namespace

CRobotCatalog::CRobotCatalog() { InitNames(); }

CRobotCatalog::~CRobotCatalog() {}

void CRobotCatalog::InitNames() {
    for (int& value : m_config) value = 0;
    for (std::string& name : m_partFiles) name.clear();
    for (std::string& name : m_groupNames) name.clear();
    for (std::string& name : m_variantNames) name.clear();
    for (int i = 0; i < kHandNameCount; ++i) {
        m_leftItemNames[i].clear();
        m_rightWeaponNames[i].clear();
    }
    for (int i = 0; i < kLeftItemCount; ++i) m_leftItemNames[i] = kLeftItems[i].name;
    for (int i = 0; i < kRightWeaponCount; ++i) m_rightWeaponNames[i] = kRightWeapons[i].name;
}

void CRobotCatalog::SetConfig(int type, int leftItem, int rightWeapon, int group0, int group1, int group2,
                              int group3, int group4, int group5, int mainR, int mainG, int mainB, int subR,
                              int subG, int subB) {
    InitNames();
    const int values[kConfigCount] = {type,   leftItem, rightWeapon, group0, group1, group2, group3, group4,
                                      group5, mainR,    mainG,       mainB,  subR,   subG,   subB};
    for (int i = 0; i < kConfigCount; ++i) m_config[i] = values[i];
}

void CRobotCatalog::SetColors(int mainR, int mainG, int mainB, int subR, int subG, int subB) {
    m_config[kCfgMainRed] = mainR;
    m_config[kCfgMainRed + 1] = mainG;
    m_config[kCfgMainRed + 2] = mainB;
    m_config[kCfgSubRed] = subR;
    m_config[kCfgSubRed + 1] = subG;
    m_config[kCfgSubRed + 2] = subB;
}

std::string CRobotCatalog::EncodeConfig() const {
    const int* c = m_config;
    unsigned char bytes[kBuildCodeBytes];
    bytes[0] = CodeByte(c[kCfgType] & kIdMask);
    bytes[1] = CodeByte(c[kCfgLeftItem] & kIdMask);
    bytes[2] = CodeByte(c[kCfgRightWeapon] & kIdMask);
    for (int half = 0; half < 2; ++half) {
        const int* g = c + kCfgGroup0 + 3 * half;
        bytes[3 + half] =
            CodeByte((g[0] & kSmallGroupMask) + (g[1] & kSmallGroupMask) * 4 + (g[2] & kLargeGroupMask) * 16);
    }
    for (int ch = 0; ch < 3; ++ch)
        bytes[5 + ch] = CodeByte((c[kCfgMainRed + ch] & kChannelMask) + (c[kCfgSubRed + ch] & kChannelMask) * 8);
    return std::string(reinterpret_cast<const char*>(bytes), kBuildCodeBytes);
}

void CRobotCatalog::DecodeConfig(const std::string& code) {
    // Every byte of a code is a value plus 128. A code holding a lower byte is none (the
    // unsaved build is blanks): it reads as the all-zero build, as the player data reads it.
    // A short code reads its missing bytes as 0.
    int values[kBuildCodeBytes] = {};
    for (int i = 0; i < kBuildCodeBytes && i < (int)code.size(); ++i) {
        const int byte = (unsigned char)code[i];
        if (byte < kCodeBias) {
            for (int& v : values) v = 0;
            break;
        }
        values[i] = byte - kCodeBias;
    }
    int* c = m_config;
    c[kCfgType] = values[0];
    c[kCfgLeftItem] = values[1];
    c[kCfgRightWeapon] = values[2];
    for (int half = 0; half < 2; ++half) {
        const int v = values[3 + half];
        int* g = c + kCfgGroup0 + 3 * half;
        g[0] = v & 3;
        g[1] = (v >> 2) & 3;
        g[2] = v >> 4;
    }
    for (int ch = 0; ch < 3; ++ch) {
        const int v = values[5 + ch];
        c[kCfgMainRed + ch] = v & 7;
        c[kCfgSubRed + ch] = v >> 3;
    }
}

std::string CRobotCatalog::GetTypeName(const std::string& code, int which) {
    DecodeConfig(code);
    if (which == 0) {
        const RobotTypeRow* row = FindRobotType(m_config[kCfgType]);
        return row ? row->name : "??";
    }
    if (which == 1 || which == 2) return "??";
    return "";
}

const std::string& CRobotCatalog::GetLeftItemName(int id) const {
    return id >= 0 && id < kHandNameCount ? m_leftItemNames[id] : kNoName;
}

const std::string& CRobotCatalog::GetRightWeaponName(int id) const {
    return id >= 0 && id < kHandNameCount ? m_rightWeaponNames[id] : kNoName;
}

const std::string& CRobotCatalog::GetVariantName(int group, int variant) const {
    if (group < 0 || group >= kVariantGroupCount || variant < 0 || variant >= kVariantsPerGroup) return kNoName;
    return m_variantNames[group * kVariantsPerGroup + variant];
}

void CRobotCatalog::BuildRobot(CRobot* robot, const std::string& code) {
    InitNames();
    DecodeConfig(code);
    SetupRobotType(robot);
    LoadRobot(robot);
}

void CRobotCatalog::ApplyColors(CRobot* robot) {
    float main[3], sub[3];
    for (int ch = 0; ch < 3; ++ch) {
        main[ch] = float(m_config[kCfgMainRed + ch] + 1) / 8.0f;
        sub[ch] = float(m_config[kCfgSubRed + ch] + 1) / 8.0f;
    }
    robot->SetColors(main[0], main[1], main[2], 1.0f, sub[0], sub[1], sub[2], 1.0f);
}

Vec3 GetMeshVertex(const CMesh* mesh, int index) {
    const int n = mesh ? mesh->GetVertexCount() : 0;
    if (n == 0 || n >= kMaxMountMeshVertices) return Vec3();
    return mesh->GetVertexPosition(index);  // (0, 0, 0) outside the vertex range
}
