// The text pane: scrolling, the line limit, serial numbers, which lines each draw shows and
// where, on the real device.
#include "../engine/gfx_fixture.h"

#include "text_list.h"

#include "sys_path.h"

#include <string>
#include <vector>

namespace {

constexpr uint32_t kDumpBack = 0xFF000000;
constexpr int kDumpW = 240, kDumpH = 16 * kTextListLines;  // the dumps' lines are 16 pixels apart

class TextListTest : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        StartDevice();
        ASSERT_EQ(m_folder.Enter(GAME_DIR), 1);
    }
    // The dump area (from x, y down through every line) after a frame drawn by fn.
    template <typename Fn>
    std::vector<uint32_t> Shot(int x, int y, Fn fn) {
        std::vector<uint32_t> px((size_t)kDumpW * kDumpH);
        Frame(kDumpBack, [&] {
            fn();
            GfxReadPixels(x, y, kDumpW, kDumpH, px.data());
        });
        return px;
    }
    CFolderGuard m_folder;
};

// Sprites drawn by the last call sit where the pane puts them; the others keep (0, 0) from
// rendering. true when line i was placed at (x, y).
bool PlacedAt(const CTextList& list, int i, float x, float y) {
    return list.m_sprites[i].m_x == x && list.m_sprites[i].m_y == y;
}

}  // namespace

TEST_F(TextListTest, StartsEmptyWithDefaults) {
    CTextList list;
    EXPECT_EQ(list.m_x, 380);
    EXPECT_EQ(list.m_y, 100);
    EXPECT_EQ(list.m_maxLines, kTextListLines);
    EXPECT_EQ(list.m_currentLine, 0);
    for (int i = 0; i < kTextListLines; ++i) {
        EXPECT_EQ(list.m_lines[i], "");
        EXPECT_EQ(list.m_colors[i], 0x77ffffffu);
    }
    int w = 0, h = 0;
    list.m_backTexture.GetSize(&w, &h);
    EXPECT_EQ(w, 256);  // the backdrop loaded
}

TEST_F(TextListTest, FullPaneScrollsOneLineAtATime) {
    CTextList list;
    for (int i = 0; i < 19; ++i) list.AddLine("line" + std::to_string(i), 0xff000000u + i);
    EXPECT_EQ(list.m_currentLine, 19);
    EXPECT_EQ(list.m_lines[18], "line18");
    // The twentieth fills the last line and scrolls: every line moves up with its colour.
    list.AddLine("line19", 0xff000013u);
    EXPECT_EQ(list.m_currentLine, 19);
    EXPECT_EQ(list.m_lines[0], "line1");
    EXPECT_EQ(list.m_colors[0], 0xff000001u);
    EXPECT_EQ(list.m_lines[18], "line19");
    EXPECT_EQ(list.m_colors[18], 0xff000013u);
    EXPECT_EQ(list.m_lines[19], "");
    list.AddLine("line20", 0xff000014u);
    EXPECT_EQ(list.m_lines[0], "line2");
    EXPECT_EQ(list.m_lines[18], "line20");
    EXPECT_EQ(list.m_lines[19], "");
    EXPECT_EQ(list.m_currentLine, 19);
}

TEST_F(TextListTest, AppendJoinsTheCurrentLine) {
    CTextList list;
    list.m_dirty = 0;
    list.Append("ab");
    EXPECT_EQ(list.m_dirty, 1);
    list.Append("cd");
    EXPECT_EQ(list.m_currentLine, 0);
    list.AddLine("ef", 0xff112233u);
    EXPECT_EQ(list.m_lines[0], "abcdef");
    EXPECT_EQ(list.m_colors[0], 0xff112233u);
    EXPECT_EQ(list.m_currentLine, 1);
}

TEST_F(TextListTest, SerialNumbersWrapAfter999) {
    CTextList list;
    list.AddNumberedLine("first");
    EXPECT_EQ(list.m_lines[0], "0>first");
    for (int i = 1; i < 999; ++i) list.AddNumberedLine("x");
    list.AddNumberedLine("last");
    EXPECT_EQ(list.m_lines[18], "999>last");
    EXPECT_EQ(list.m_serial, 0);
    list.AddNumberedLine("again");
    EXPECT_EQ(list.m_lines[18], "0>again");
    EXPECT_EQ(list.m_colors[18], 0x77ffffffu);
    list.Clear();
    EXPECT_EQ(list.m_serial, 0);
    EXPECT_EQ(list.m_currentLine, 0);
    EXPECT_EQ(list.m_lines[0], "");
}

TEST_F(TextListTest, DrawsPlaceLinesUnderThePaneCorner) {
    CTextList list;
    list.m_x = 20;
    list.m_y = 30;
    for (int i = 0; i < 3; ++i) list.AddLine("text", 0xffffffffu);
    Frame(0xFF000000, [&] {
        BeginSprites();
        list.Draw();
        EndSprites();
    });
    EXPECT_EQ(list.m_dirty, 0);
    EXPECT_TRUE(PlacedAt(list, 0, 30, 40));
    EXPECT_TRUE(PlacedAt(list, 19, 30, 40 + 19 * 12));
    EXPECT_EQ(list.m_backSprite.m_x, 20.0f);

    list.Append("!");  // dirty again: the next draw renders and resets every sprite first
    Frame(0xFF000000, [&] {
        BeginSprites();
        list.DrawScaled(0.5f);
        EndSprites();
    });
    EXPECT_TRUE(PlacedAt(list, 2, 25, 35 + 0.5f * 2 * 12));
    EXPECT_EQ(list.m_sprites[2].m_scaleX, 1.0f);  // scales back to 1 afterwards
    EXPECT_EQ(list.m_backSprite.m_scaleX, 1.0f);
}

TEST_F(TextListTest, DrawRecentShowsTheCurrentLineAndFiveBefore) {
    CTextList list;
    list.AddLine("a", 0xffffffffu);
    list.AddLine("b", 0xffffffffu);  // current line 2
    Frame(0xFF000000, [&] { list.DrawRecent(); });
    for (int i = 0; i < kTextListLines; ++i) EXPECT_EQ(PlacedAt(list, i, 390, 110 + i * 12.0f), i <= 2) << i;

    for (int i = 0; i < 8; ++i) list.AddLine("c", 0xffffffffu);  // current line 10
    Frame(0xFF000000, [&] { list.DrawRecent(); });
    for (int i = 0; i < kTextListLines; ++i)
        EXPECT_EQ(PlacedAt(list, i, 390, 110 + i * 12.0f), i >= 5 && i <= 10) << i;
}

TEST_F(TextListTest, TextReachesTheScreen) {
    CTextList list;
    list.m_x = 0;
    list.m_y = 0;
    list.AddLine("WWWW", 0xffffffffu);
    constexpr uint32_t kBack = 0xFF102030;
    Frame(kBack, [&] {
        BeginSprites();
        list.DrawRecent();
        EndSprites();
    });
    int lit = 0;
    for (int y = 10; y < 22; ++y)
        for (int x = 10; x < 50; ++x) lit += GfxReadPixel(x, y) != kBack;
    EXPECT_GT(lit, 10);
}

namespace {

// Lines lit in a shot, one flag per 16-pixel dump line.
std::vector<bool> LitLines(const std::vector<uint32_t>& px) {
    std::vector<bool> lit(kTextListLines, false);
    for (int y = 0; y < kDumpH; ++y)
        for (int x = 0; x < kDumpW; ++x)
            if (px[(size_t)y * kDumpW + x] != kDumpBack) lit[(size_t)y / 16] = true;
    return lit;
}

}  // namespace

// The dumps print the lines as they are: chat lines are player text, and conversion specifiers
// in them are not formats. Each dump must match the same text drawn directly, line for line.
TEST_F(TextListTest, DumpsPrintPlayerTextLiterally) {
    CTextList list;
    list.m_x = 20;
    list.m_y = 30;
    const std::string player = "%s%s%s%n%d";
    list.AddLine("WWWW", 0xffffffffu);
    list.AddLine(player, 0xffffffffu);
    // The same two lines drawn as plain text where each dump puts them.
    auto expected = [&](int x, int y) {
        return Shot(x, y, [&] {
            BeginText();
            DrawTextAt(x, y, "WWWW");
            DrawTextAt(x, y + 16, player.c_str());
            EndText();
        });
    };
    const std::vector<uint32_t> atPane = expected(30, 40), atRight = expected(400, 0);
    ASSERT_EQ(LitLines(atPane)[1], true) << "the player's line shows";

    EXPECT_TRUE(Shot(30, 40, [&] { list.DumpText(); }) == atPane);
    EXPECT_TRUE(Shot(400, 0, [&] { list.DumpTextRight(); }) == atRight);
    EXPECT_TRUE(Shot(400, 0, [&] { list.DumpTextTail(100); }) == atRight) << "more than the pane: all";

    // The tail dumps only the last lines of the pane, here the empty ones.
    const struct {
        int n;
        int lastLines;  // lines at the end that may show
    } tails[] = {{3, 3}, {0, 0}, {-1, 0}};
    for (const auto& t : tails) {
        list.Clear();
        for (int i = 0; i < kTextListLines; ++i) list.AddLine(std::to_string(100 + i), 0xffffffffu);
        std::vector<bool> lit = LitLines(Shot(400, 0, [&] { list.DumpTextTail(t.n); }));
        for (int i = 0; i < kTextListLines; ++i)
            EXPECT_EQ(lit[(size_t)i], i >= kTextListLines - t.lastLines && !list.m_lines[i].empty()) << t.n << " " << i;
    }
}
