// What the head-up display drew, read back through the device's test hooks instead of pixels:
// sprites by the view's picture they show, screen text, the digit fonts' glyphs joined into
// words, and the flat shapes (bars, outlines, lines) with their corners and colour.
#pragma once

#include "battle_view.h"
#include "sys_graphics.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

struct SHudSprite {
    std::string picture;  // "compass", "sight", "labels", "meter", "aim", "arrow", "marker0".., "blip0".., "tag0"..
    GfxSpriteDraw d;
    int Width() const { return d.srcRight - d.srcLeft; }
};

struct SHudText {
    std::string text;
    float x = 0, y = 0;
    uint32_t color = 0;
};

struct SHudShape {
    bool screen = true;  // pre-transformed 2-D; false for a 3-D line
    uint32_t type = 0;
    int count = 0;
    float left = 0, top = 0, right = 0, bottom = 0;  // bounds of the vertices
    uint32_t color = 0;                              // the first vertex's
};

class CHudRecorder {
public:
    explicit CHudRecorder(CBattleView& view) : m_view(view) {
        s_current = this;
        GfxTestSetSpriteRecorder(OnSprite);
        GfxTestSetTextRecorder(OnText);
        GfxTestSetDrawRecorder(OnShape);
    }
    ~CHudRecorder() {
        GfxTestSetSpriteRecorder(nullptr);
        GfxTestSetTextRecorder(nullptr);
        GfxTestSetDrawRecorder(nullptr);
        s_current = nullptr;
    }
    CHudRecorder(const CHudRecorder&) = delete;
    CHudRecorder& operator=(const CHudRecorder&) = delete;

    void Clear() {
        m_sprites.clear();
        m_texts.clear();
        m_shapes.clear();
        m_words.clear();
    }

    std::vector<SHudSprite> Sprites(const std::string& picture) const {
        std::vector<SHudSprite> out;
        for (const SHudSprite& s : m_sprites)
            if (s.picture == picture || (picture.back() == '*' && s.picture.compare(0, picture.size() - 1, picture, 0,
                                                                                    picture.size() - 1) == 0))
                out.push_back(s);
        return out;
    }
    int CountSprites(const std::string& picture) const { return int(Sprites(picture).size()); }
    const SHudSprite* FindSprite(const std::string& picture, int l, int t, int r, int b) const {
        for (const SHudSprite& s : m_sprites)
            if (s.picture == picture && s.d.srcLeft == l && s.d.srcTop == t && s.d.srcRight == r && s.d.srcBottom == b)
                return &s;
        return nullptr;
    }

    const std::vector<SHudText>& Texts() const { return m_texts; }
    const SHudText* FindTextAt(float x, float y) const {
        for (const SHudText& t : m_texts)
            if (t.x == x && t.y == y) return &t;
        return nullptr;
    }

    // The glyphs of font "font1" or "font2" joined into words: glyphs at one height in one colour
    // whose cells touch or leave one cell free (a blank) read as one word, left to right.
    std::vector<SHudText> Words(const std::string& font) const {
        const CDigitFont& f = font == "font1" ? m_view.m_font1 : m_view.m_font2;
        struct Glyph {
            float x, y;
            uint32_t color;
            char c;
        };
        std::vector<Glyph> glyphs;
        for (const SHudSprite& s : m_sprites) {
            if (s.picture != font) continue;
            for (int n = 0; n < kDigitFontGlyphs; ++n) {
                const int left = n % kDigitFontColumns * f.m_sheetWidth / kDigitFontColumns;
                const int top = n / kDigitFontColumns * f.m_sheetHeight / kDigitFontColumns;
                if (s.d.srcLeft == left && s.d.srcTop == top)
                    glyphs.push_back({s.d.x, s.d.y, s.d.color, char(n < 10 ? '0' + n : 'A' + n - 10)});
            }
        }
        std::stable_sort(glyphs.begin(), glyphs.end(), [](const Glyph& a, const Glyph& b) {
            return a.y != b.y ? a.y < b.y : a.color != b.color ? a.color < b.color : a.x < b.x;
        });
        std::vector<SHudText> words;
        const float cell = float(f.m_cellSize);
        float nextX = 0;
        for (size_t i = 0; i < glyphs.size(); ++i) {
            const Glyph& g = glyphs[i];
            const bool joins = i > 0 && glyphs[i - 1].y == g.y && glyphs[i - 1].color == g.color &&
                               g.x >= nextX - 0.5f && g.x <= nextX + cell + 0.5f;
            if (!joins) words.push_back({"", g.x, g.y, g.color});
            else if (g.x > nextX + 0.5f) words.back().text += ' ';
            words.back().text += g.c;
            nextX = g.x + cell;
        }
        return words;
    }
    // The words found stay valid until the next Clear.
    const SHudText* FindWord(const std::string& font, const std::string& text) {
        m_words.push_back(std::make_unique<std::vector<SHudText>>(Words(font)));
        for (const SHudText& w : *m_words.back())
            if (w.text == text) return &w;
        return nullptr;
    }
    const SHudText* FindWordAt(const std::string& font, float x, float y) {
        m_words.push_back(std::make_unique<std::vector<SHudText>>(Words(font)));
        for (const SHudText& w : *m_words.back())
            if (w.x == x && w.y == y) return &w;
        return nullptr;
    }

    const std::vector<SHudShape>& Shapes() const { return m_shapes; }
    const SHudShape* FindShape(float left, float top, float right, float bottom, uint32_t color) const {
        for (const SHudShape& s : m_shapes)
            if (s.screen && s.left == left && s.top == top && s.right == right && s.bottom == bottom && s.color == color)
                return &s;
        return nullptr;
    }
    int CountLines3D() const {
        int n = 0;
        for (const SHudShape& s : m_shapes) n += !s.screen && s.type == kPtLineList;
        return n;
    }

private:
    std::string NameOf(GfxTexture* t) const {
        const CBattleView& v = m_view;
        const struct {
            const CTexture* texture;
            const char* name;
        } fixed[] = {{&v.m_compass.m_texture, "compass"}, {&v.m_sight.m_texture, "sight"},
                     {&v.m_labels.m_texture, "labels"},   {&v.m_meter.m_texture, "meter"},
                     {&v.m_aim.m_texture, "aim"},         {&v.m_arrow.m_texture, "arrow"},
                     {&v.m_font1.m_texture, "font1"},     {&v.m_font2.m_texture, "font2"}};
        for (const auto& f : fixed)
            if (f.texture->GetTexture() == t) return f.name;
        for (int i = 0; i < kLockMarkers; ++i)
            if (v.m_markers[i].m_texture.GetTexture() == t) return "marker" + std::to_string(i);
        for (int i = 0; i < kBlipCount; ++i)
            if (v.m_radar.m_textures[i].GetTexture() == t) return "blip" + std::to_string(i);
        for (int i = 0; i < kNameTags; ++i)
            if (v.m_tags[i].m_nameTexture.GetTexture() == t) return "tag" + std::to_string(i);
        return "other";
    }
    static void OnSprite(GfxTexture* t, const GfxSpriteDraw& d) {
        s_current->m_sprites.push_back({s_current->NameOf(t), d});
    }
    static void OnText(const char* text, int x, int y, uint32_t color) {
        s_current->m_texts.push_back({text, float(x), float(y), color});
    }
    static void OnShape(uint32_t fvf, uint32_t type, int, const void* vertices, int stride, int count) {
        SHudShape s;
        s.screen = (fvf & kFvfXyzRhw) != 0;
        s.type = type;
        s.count = count;
        const int colorAt = (fvf & kFvfDiffuse) ? (s.screen ? 16 : 12) + ((fvf & kFvfNormal) ? 12 : 0) : -1;
        const unsigned char* b = static_cast<const unsigned char*>(vertices);
        for (int i = 0; i < count; ++i) {
            float xy[2];
            std::memcpy(xy, b + size_t(i) * stride, sizeof xy);
            if (i == 0 || xy[0] < s.left) s.left = xy[0];
            if (i == 0 || xy[0] > s.right) s.right = xy[0];
            if (i == 0 || xy[1] < s.top) s.top = xy[1];
            if (i == 0 || xy[1] > s.bottom) s.bottom = xy[1];
        }
        if (colorAt >= 0 && count > 0) std::memcpy(&s.color, b + colorAt, sizeof s.color);
        s_current->m_shapes.push_back(s);
    }

    static inline CHudRecorder* s_current = nullptr;
    CBattleView& m_view;
    std::vector<SHudSprite> m_sprites;
    std::vector<SHudText> m_texts;
    std::vector<SHudShape> m_shapes;
    std::vector<std::unique_ptr<std::vector<SHudText>>> m_words;
};
