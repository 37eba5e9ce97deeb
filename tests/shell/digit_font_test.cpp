// The digit font picks the right cell of the generated sheet for digits and capitals, and draws
// nothing for any other character, on the real device.
#include "../engine/gfx_fixture.h"

#include "digit_font.h"

#include "sys_path.h"

#include <vector>

namespace {

struct DrawnGlyph {
    int left, top, right, bottom;
    float x, y;
};

// Records what each draw would put on the screen.
class CRecordingFont : public CDigitFont {
public:
    void Draw() override { drawn.push_back({m_srcLeft, m_srcTop, m_srcRight, m_srcBottom, m_x, m_y}); }
    std::vector<DrawnGlyph> drawn;
};

class DigitFontTest : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        StartDevice();
        ASSERT_EQ(m_folder.Enter(GAME_DIR), 1);
        SetLighting(0);
    }
    CFolderGuard m_folder;
};

// Cell of glyph n on a 128-pixel sheet: 128 / 6 = 21 pixels, columns at n mod 6 x 128 / 6.
DrawnGlyph Cell(int n, float x, float y) {
    int l = n % 6 * 128 / 6, t = n / 6 * 128 / 6;
    return {l, t, l + 21, t + 21, x, y};
}

void ExpectDrawn(const std::vector<DrawnGlyph>& got, const std::vector<DrawnGlyph>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].left, want[i].left) << i;
        EXPECT_EQ(got[i].top, want[i].top) << i;
        EXPECT_EQ(got[i].right, want[i].right) << i;
        EXPECT_EQ(got[i].bottom, want[i].bottom) << i;
        EXPECT_EQ(got[i].x, want[i].x) << i;
        EXPECT_EQ(got[i].y, want[i].y) << i;
    }
}

}  // namespace

TEST_F(DigitFontTest, LoadsTheSheetAndSizesCellsFromIt) {
    CDigitFont font;
    EXPECT_EQ(font.m_sheetWidth, 128);
    EXPECT_EQ(font.m_sheetHeight, 128);
    EXPECT_EQ(font.m_cellSize, 21);
    ASSERT_EQ(font.Load("bmp\\suuji2.png"), 1);
    EXPECT_EQ(font.m_sheetWidth, 64);
    EXPECT_EQ(font.m_cellSize, 10);
    // Pixels that text drawn at the top left changes.
    auto inked = [&] {
        constexpr uint32_t kBack = 0xFF000000;
        Frame(kBack, [&] {
            BeginSprites();
            font.DrawText(0, 0, "ABC123");
            EndSprites();
        });
        int n = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 160; ++x) n += GfxReadPixel(x, y) != kBack;
        return n;
    };
    EXPECT_GT(inked(), 20);
    // A sheet that is missing leaves a font that draws nothing rather than failing.
    EXPECT_EQ(font.Load("bmp\\no_such_sheet.png"), 0);
    EXPECT_EQ(font.m_cellSize, 0);
    EXPECT_EQ(inked(), 0);
}

TEST_F(DigitFontTest, DigitsAndCapitalsUseTheirCells) {
    CRecordingFont font;
    font.DrawText(10, 20, "A9 Z0");
    ExpectDrawn(font.drawn, {Cell(10, 10, 20), Cell(9, 31, 20), Cell(35, 73, 20), Cell(0, 94, 20)});
    font.drawn.clear();
    font.DrawNumber(5, 6, 1234, 3);  // higher digits are cut
    ExpectDrawn(font.drawn, {Cell(4, 47, 6), Cell(3, 26, 6), Cell(2, 5, 6)});
    font.drawn.clear();
    font.DrawNumber(0, 0, 7, 3);  // leading zeros
    ExpectDrawn(font.drawn, {Cell(7, 42, 0), Cell(0, 21, 0), Cell(0, 0, 0)});
    font.drawn.clear();
    font.DrawNumber(0, 0, 2147483647, 12);  // more digits than the value has
    ASSERT_EQ(font.drawn.size(), 12u);
    EXPECT_EQ(font.drawn[0].left, Cell(7, 0, 0).left);
    EXPECT_EQ(font.drawn[11].x, 0.0f);  // leftmost digit: a zero
    EXPECT_EQ(font.drawn[11].left, 0);
}

TEST_F(DigitFontTest, CharactersWithoutAGlyphDrawNothing) {
    CRecordingFont font;
    // Every byte: only "0"-"9" and "A"-"Z" draw, and always a cell inside the sheet.
    for (int c = 1; c < 256; ++c) {
        font.drawn.clear();
        font.DrawChar(0, 0, char(c));
        const bool hasGlyph = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z');
        ASSERT_EQ(font.drawn.size(), hasGlyph ? 1u : 0u) << c;
        if (hasGlyph) {
            EXPECT_GE(font.drawn[0].left, 0);
            EXPECT_GE(font.drawn[0].top, 0);
            EXPECT_LE(font.drawn[0].right, 128);
            EXPECT_LE(font.drawn[0].bottom, 128);
        }
    }
    font.drawn.clear();
    font.DrawGlyph(0, 0, -1);
    font.DrawGlyph(0, 0, 36);
    font.DrawNumber(0, 0, -45, 2);  // no glyph for a negative digit
    font.DrawText(0, 0, "al-[B]");  // only the capital B draws, in its own cell
    ASSERT_EQ(font.drawn.size(), 1u);
    EXPECT_EQ(font.drawn[0].x, 4 * 21.0f);
    // Second bytes of Japanese characters that look like "A" or "0" draw nothing.
    font.drawn.clear();
    const std::string a = "ア";  // second byte 0x41, "A"
    ASSERT_EQ(a[1], 'A');
    font.DrawText(0, 0, a + "B");
    ASSERT_EQ(font.drawn.size(), 1u);
    EXPECT_EQ(font.drawn[0].x, 2 * 21.0f);
}

TEST_F(DigitFontTest, GlyphsReachTheScreenInsideTheirCell) {
    CDigitFont font;
    constexpr uint32_t kBack = 0xFF203040;
    Frame(kBack, [&] {
        BeginSprites();
        font.DrawText(100, 100, "8-");
        EndSprites();
    });
    int inkInCell = 0, outside = 0;
    for (int y = 90; y < 135; ++y) {
        for (int x = 90; x < 160; ++x) {
            const uint32_t c = GfxReadPixel(x, y);
            const bool inCell = x >= 100 && x < 121 && y >= 100 && y < 121;
            if (c == 0xFFFFFFFFu && inCell) ++inkInCell;
            if (c != kBack && !inCell) ++outside;
        }
    }
    EXPECT_GT(inkInCell, 20);  // the eight's strokes
    EXPECT_EQ(outside, 0);     // nothing for "-", nothing spilling out of the cell
}
