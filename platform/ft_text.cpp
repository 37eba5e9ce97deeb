// FreeType text on the IPA Gothic fonts: the layout and rasteriser behind the game's fonts and
// text textures. Glyphs are cached per font, as text is drawn every frame.
#include "gl_local.h"
#include "sys_font.h"
#include "sys_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const kGothicFiles[] = {
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
    "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
};
const char* const kPGothicFiles[] = {
    "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
};

FT_Library g_library = nullptr;
int g_fontCount = 0;

struct Glyph {
    int left = 0, top = 0;        // bitmap offset from the pen on the baseline
    int width = 0, rows = 0;
    int advance = 0;
    std::vector<unsigned char> coverage;  // width x rows, 0..255
};

// One code point of the text, or a line break.
constexpr uint32_t kLineBreak = 0xFFFFFFFFu;

std::vector<uint32_t> Decode(const char* text, int length) {
    std::vector<uint32_t> out;
    if (!text || length <= 0) return out;
    std::string utf8 = SjisToUtf8(std::string(text, (size_t)length));
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t n = utf8.size();
    for (size_t i = 0; i < n;) {
        uint32_t c = s[i];
        int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        if (extra) c &= (0x3F >> extra);
        if (i + extra >= n + (extra ? 0 : 1)) break;
        for (int k = 1; k <= extra; ++k) c = (c << 6) | (s[i + k] & 0x3F);
        i += (size_t)extra + 1;
        if (c == '\r') {
            if (i < n && s[i] == '\n') ++i;
            out.push_back(kLineBreak);
        } else if (c == '\n') {
            out.push_back(kLineBreak);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// Bold as GDI synthesises it: the glyph drawn again one pixel to the right, so it is one pixel
// wider and advances one more. Thickening downwards as well would close the small gaps of the
// game's text sizes (an exclamation mark's dot, the strokes of kanji).
void Embolden(Glyph& g) {
    ++g.advance;
    if (g.width <= 0 || g.rows <= 0) return;
    const int w = g.width + 1;
    std::vector<unsigned char> wide((size_t)w * g.rows, 0);
    for (int y = 0; y < g.rows; ++y) {
        const unsigned char* src = &g.coverage[(size_t)y * g.width];
        unsigned char* dst = &wide[(size_t)y * w];
        for (int x = 0; x < w; ++x) {
            unsigned char here = x < g.width ? src[x] : 0, left = x > 0 ? src[x - 1] : 0;
            dst[x] = here > left ? here : left;
        }
    }
    g.width = w;
    g.coverage.swap(wide);
}

}  // namespace

struct GfxFont {
    FT_Face face = nullptr;
    int height = 0;       // cell height
    int ascent = 0;       // baseline below the cell top
    int tabWidth = 0;
    int bold = 0;
    std::map<uint32_t, Glyph> glyphs[2];  // anti-aliased, mono

    const Glyph& Get(uint32_t c, int mono) {
        auto it = glyphs[mono].find(c);
        if (it != glyphs[mono].end()) return it->second;
        Glyph& g = glyphs[mono][c];
        FT_Int32 flags = mono ? (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) : FT_LOAD_TARGET_NORMAL;
        if (FT_Load_Char(face, c, flags) != 0) return g;
        FT_GlyphSlot slot = face->glyph;
        if (FT_Render_Glyph(slot, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return g;
        const FT_Bitmap& b = slot->bitmap;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = (int)b.width;
        g.rows = (int)b.rows;
        g.advance = (int)((slot->advance.x + 32) >> 6);
        g.coverage.assign((size_t)g.width * g.rows, 0);
        for (int y = 0; y < g.rows; ++y) {
            const unsigned char* row = b.buffer + (ptrdiff_t)y * b.pitch;
            for (int x = 0; x < g.width; ++x) {
                unsigned char v = b.pixel_mode == FT_PIXEL_MODE_MONO ? ((row[x >> 3] >> (7 - (x & 7))) & 1) * 255
                                                                      : row[x];
                g.coverage[(size_t)y * g.width + x] = v;
            }
        }
        if (bold) Embolden(g);
        return g;
    }
};

GfxFont* GfxCreateFont(const char* face, int height, int weight) {
    if (height <= 0) height = 16;
    if (!g_library && FT_Init_FreeType(&g_library) != 0) return nullptr;
    std::string name = SjisToUtf8(face ? face : "");
    bool proportional = name == reinterpret_cast<const char*>(u8"ＭＳ Ｐゴシック") || name == "IPAPGothic";
    FT_Face ft = nullptr;
    for (const char* file : proportional ? kPGothicFiles : kGothicFiles)
        if (FT_New_Face(g_library, file, 0, &ft) == 0) break;
    if (!ft) {
        if (g_fontCount == 0) {
            FT_Done_FreeType(g_library);
            g_library = nullptr;
        }
        return nullptr;
    }
    GfxFont* f = new GfxFont;
    f->face = ft;
    f->height = height;
    f->bold = weight >= 600;
    // The text height is the whole cell, the font's Win ascent plus descent, so that lines placed
    // one height apart never overlap; the em size follows from it.
    int asc = ft->ascender, desc = -ft->descender;
    if (TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2))) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            asc = os2->usWinAscent;
            desc = os2->usWinDescent;
        }
    }
    int cell = asc + desc > 0 ? asc + desc : ft->units_per_EM;
    int em = (int)((long)height * ft->units_per_EM / cell);
    FT_Set_Pixel_Sizes(ft, 0, (FT_UInt)(em > 0 ? em : 1));
    f->ascent = (int)(((long)asc * height + cell / 2) / cell);
    // Tabs stop every eight average widths; the Gothic faces' average is the half-width 'x'.
    int avg = f->Get('x', 1).advance;
    f->tabWidth = 8 * (avg > 0 ? avg : 1);
    ++g_fontCount;
    return f;
}

void GfxReleaseFont(GfxFont* font) {
    if (!font) return;
    FT_Done_Face(font->face);
    delete font;
    if (--g_fontCount == 0 && g_library) {
        FT_Done_FreeType(g_library);
        g_library = nullptr;
    }
}

int GfxFontHeight(GfxFont* font) { return font ? font->height : 0; }

namespace {

// Walks the layout: calls place(glyph, x, baselineY) for every visible glyph.
template <typename Place>
void Layout(GfxFont* font, const std::vector<uint32_t>& cps, int mono, int* width, int* height, Place place) {
    int x = 0, line = 0, widest = 0;
    for (uint32_t c : cps) {
        if (c == kLineBreak) {
            ++line;
            x = 0;
            continue;
        }
        if (c == '\t') {
            x = (x / font->tabWidth + 1) * font->tabWidth;
        } else {
            const Glyph& g = font->Get(c, mono);
            place(g, x, line * font->height + font->ascent);
            x += g.advance;
        }
        if (x > widest) widest = x;
    }
    *width = widest;
    *height = cps.empty() ? 0 : (line + 1) * font->height;
}

}  // namespace

void GfxMeasureText(GfxFont* font, const char* text, int length, int* width, int* height) {
    *width = *height = 0;
    if (!font) return;
    Layout(font, Decode(text, length), 1, width, height, [](const Glyph&, int, int) {});
}

void GfxRenderText(GfxFont* font, const char* text, int length, unsigned char* coverage, int width, int height,
                   int mono) {
    if (!coverage || width <= 0 || height <= 0) return;
    std::memset(coverage, 0, (size_t)width * height);
    gldev::NoteRenderedText(text, length);
    if (!font) return;
    int w = 0, h = 0;
    Layout(font, Decode(text, length), mono ? 1 : 0, &w, &h, [&](const Glyph& g, int x, int base) {
        for (int gy = 0; gy < g.rows; ++gy) {
            int py = base - g.top + gy;
            if (py < 0 || py >= height) continue;
            for (int gx = 0; gx < g.width; ++gx) {
                int px = x + g.left + gx;
                if (px < 0 || px >= width) continue;
                unsigned char v = g.coverage[(size_t)gy * g.width + gx];
                unsigned char& dst = coverage[(size_t)py * width + px];
                if (v > dst) dst = v;
            }
        }
    });
}
