// Text on the global font: the screen text of menus, head-up display and debug readouts.
#include "graphics.h"

#include "sys_font.h"
#include "sys_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

int g_textHeight = 0;
uint32_t g_textColor = 0xFFFFFFFF;

namespace {
GfxFont* g_textFont = nullptr;
std::vector<unsigned char> g_coverage;  // kept between calls: text is drawn every frame
}  // namespace

void CreateTextFont(int height, uint32_t color, int weight) {
    ReleaseTextFont();
    g_textFont = GfxCreateFont("ＭＳ ゴシック", height, weight);
    g_textHeight = height;
    g_textColor = color;
}

void ReleaseTextFont() {
    GfxReleaseFont(g_textFont);
    g_textFont = nullptr;
}

// Text and sprites are drawn at once, call by call: there is no batch to open or to flush.
void BeginText() {}
void EndText() {}
void BeginSprites() {}
void EndSprites() {}

int DrawTextAt(int x, int y, const char* text) {
    if (!g_textFont || !text || !*text) return 0;
    int length = (int)std::strlen(text);
    int w = 0, h = 0;
    GfxMeasureText(g_textFont, text, length, &w, &h);
    // Only the part inside (x, y) - (640, 480) can show: render no more than that.
    int visibleW = g_backBufferWidth - x, visibleH = g_backBufferHeight - y;
    if (w > visibleW) w = visibleW;
    int rh = h < visibleH ? h : visibleH;
    if (w > 0 && rh > 0) {
        g_coverage.resize((size_t)w * rh);
        GfxRenderText(g_textFont, text, length, g_coverage.data(), w, rh, 1);
        GfxDrawCoverage(g_coverage.data(), w, rh, x, y, g_textColor, x, y, g_backBufferWidth, g_backBufferHeight);
    }
    return h;
}

int DrawTextFormat(int x, int y, const char* format, ...) {
    char buffer[kTextFormatBuffer];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (n < 0) return 0;
    // A cut must not leave the first half of a two-byte character at the end.
    if (n >= (int)sizeof(buffer)) {
        size_t len = std::strlen(buffer);
        size_t last = SjisPrevCharStart(buffer, len, len);
        if (last + 1 == len && SjisIsLeadByte((unsigned char)buffer[last])) buffer[last] = '\0';
    }
    return DrawTextAt(x, y, buffer);
}
