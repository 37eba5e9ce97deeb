// Fonts: Shift-JIS text laid out and rasterised with FreeType on the IPA Gothic fonts, standing
// in for GDI fonts drawn into bitmaps. Heights are GDI cell heights (ascent plus descent).
#pragma once

struct GfxFont;

// face is a Shift-JIS face name: "ＭＳ Ｐゴシック" maps to the proportional IPA font, any other
// name to IPAGothic. weight 600 and up is bold. Null when no font file can be opened.
GfxFont* GfxCreateFont(const char* face, int height, int weight);
void GfxReleaseFont(GfxFont* font);
int GfxFontHeight(GfxFont* font);  // one line, in pixels

// Lays out length bytes of text: CR, LF and CR LF break lines; a tab moves on to the next
// multiple of eight average character widths. Width of the widest line, height of all lines
// (0 x 0 for an empty text).
void GfxMeasureText(GfxFont* font, const char* text, int length, int* width, int* height);

// Renders the laid-out text with its top-left at (0, 0) into a coverage image of width x height
// bytes (cleared first; whatever falls outside is cut). mono: every pixel is 0 or 255, as
// GDI text of default quality; otherwise anti-aliased coverage.
void GfxRenderText(GfxFont* font, const char* text, int length, unsigned char* coverage, int width, int height,
                   int mono);
