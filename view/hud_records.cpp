// The radar and the name tags of the head-up display: their assets and construction.
#include "hud_records.h"

#include "camera.h"
#include "digit_font.h"

#include <cmath>

namespace {

// Pixels from the screen's corner beyond which a point is not placed at: a thousand screens away,
// and far enough inside an int that eased positions and their differences stay exact.
constexpr float kScreenPointLimit = 1 << 20;
// A view depth this small counts as level with the eye.
constexpr float kEyePlaneDepth = 1e-3f;

}  // namespace

int Percent(int v, int m) { return m > 0 ? int(int64_t(v) * 100 / m) : 0; }

// NaN fails both comparisons.
bool IsScreenPointBounded(const Vec3& screen) {
    return std::fabs(screen.x) <= kScreenPointLimit && std::fabs(screen.y) <= kScreenPointLimit;
}

bool IsDrawableScreenPoint(const Vec3& world, const Vec3& screen) {
    return screen.z != -1 && TransformByView(world).z > kEyePlaneDepth && IsScreenPointBounded(screen);
}

CRadar::CRadar() {}

void CRadar::Load() {
    static const char* const kFiles[kBlipCount] = {"bmp\\ld_01.png", "bmp\\ld_02.png", "bmp\\ld_03.png",
                                                   "bmp\\ld_04.png"};
    for (int i = 0; i < kBlipCount; ++i) {
        m_textures[i].Load(kFiles[i], 0xFF000000, 1);
        m_sprites[i].SetTexture(&m_textures[i]);
        m_sprites[i].SetColor(0xFFFFFFFF);
        m_sprites[i].SetPosition(0, 0);
        m_sprites[i].SetRotation(0);
        m_sprites[i].SetCenter(8, 8);
    }
}

CNameTag::CNameTag() {
    m_nameTexture.CreateFromText("", 16, 0xFFAAAAAA, 700, "ＭＳ Ｐゴシック");
    m_nameSprite.SetTexture(&m_nameTexture);
    m_nameSprite.SetPosition(0, 0);
    m_nameSprite.SetRotation(0);
}
