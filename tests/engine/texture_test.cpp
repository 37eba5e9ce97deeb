// Textures, the texture cache, text textures and sprites on the real device, read back from
// the frame; and the demo frame saved as a PNG beside the build.
#include "gfx_fixture.h"

#include "shapes.h"
#include "sprite.h"
#include "test_folder.h"
#include "texture.h"

#include "sys_image.h"
#include "sys_path.h"

#include <cmath>
#include <vector>

#include <unistd.h>

namespace {

constexpr uint32_t kBack = 0xFF203040;

class TextureTest : public GfxTest {
protected:
    void SetUp() override {
        GfxTest::SetUp();
        StartDevice();
        ASSERT_EQ(m_folder.Enter(TEST_DATA_DIR "/test_images"), 1);
        SetLighting(0);
        g_gfxLog.clear();
    }
    CFolderGuard m_folder;
};

int CountNot(uint32_t color, int x0, int y0, int w, int h) {
    std::vector<uint32_t> px((size_t)w * h);
    if (!GfxReadPixels(x0, y0, w, h, px.data())) return -1;
    int n = 0;
    for (uint32_t c : px) n += c != color;
    return n;
}

}  // namespace

TEST_F(TextureTest, ImageLoadsIntoAPowerOfTwoTextureAtItsTopLeft) {
    CTexture t;
    ASSERT_EQ(t.Load("quad.png", 0, 1), 1);
    EXPECT_EQ(g_gfxLog, "load(quad.png) ... ok.\n");
    int w = 0, h = 0;
    t.GetSize(&w, &h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    EXPECT_EQ(t.GetDesc().format, (uint32_t)kFmtA8R8G8B8);
    Frame(kBack, [&] { t.DrawAt(100, 50); });
    EXPECT_EQ(GfxReadPixel(101, 51), 0xFFFF00FFu);   // no colour key: magenta stays
    EXPECT_EQ(GfxReadPixel(110, 55), 0xFFFF0000u);
    EXPECT_EQ(GfxReadPixel(139, 55), 0xFF00FF00u);
    EXPECT_EQ(GfxReadPixel(140, 55), kBack);          // the padding is transparent
    EXPECT_EQ(GfxReadPixel(110, 82), kBack);
    uint32_t half = GfxReadPixel(110, 69);            // half-transparent white over the backdrop
    EXPECT_NEAR((int)((half >> 16) & 0xFF), (0xFF + 0x20) / 2, 2);
    EXPECT_NEAR((int)(half & 0xFF), (0xFF + 0x40) / 2, 2);
    g_gfxLog.clear();
    t.Release();
    EXPECT_EQ(g_gfxLog, "release(quad.png)\n");
    g_gfxLog.clear();
    t.Release();  // empty and unnamed: silent
    EXPECT_EQ(g_gfxLog, "");
}

TEST_F(TextureTest, ColourKeyTexelsAreTransparent) {
    CTexture t;
    ASSERT_EQ(t.Load("QUAD.PNG", 0xFFFF00FF, 0), 1);  // names are found regardless of case
    EXPECT_GT(GfxGetLevelCount(t.GetTexture()), 1);  // 0 levels: the whole chain
    Frame(kBack, [&] { t.DrawAt(0, 0); });
    EXPECT_EQ(GfxReadPixel(1, 1), kBack);
    EXPECT_EQ(GfxReadPixel(3, 3), kBack);
    EXPECT_EQ(GfxReadPixel(4, 4), 0xFFFF0000u);
    // A key that differs only in alpha does not match an opaque pixel.
    ASSERT_EQ(t.Load("quad.png", 0x00FF00FF, 1), 1);
    Frame(kBack, [&] { t.DrawAt(0, 0); });
    EXPECT_EQ(GfxReadPixel(1, 1), 0xFFFF00FFu);
}

TEST_F(TextureTest, JpegAndBmpLoad) {
    CTexture jpg, bmp;
    ASSERT_EQ(jpg.Load("photo.jpg", 0, 1), 1);
    ASSERT_EQ(bmp.Load("sprite.bmp", 0, 1), 1);
    int w, h;
    bmp.GetSize(&w, &h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 8);
    Frame(kBack, [&] {
        jpg.DrawAt(0, 0);
        bmp.DrawAt(100, 0);
    });
    uint32_t blue = GfxReadPixel(5, 5);
    EXPECT_LT((blue >> 16) & 0xFF, 8u);
    EXPECT_GT(blue & 0xFF, 247u);
    EXPECT_EQ(GfxReadPixel(101, 3), 0xFF102030u);
    EXPECT_EQ(GfxReadPixel(109, 3), 0xFF405060u);
    EXPECT_EQ(GfxReadPixel(111, 3), kBack);
}

TEST_F(TextureTest, FailedLoadLeavesAnEmptyTextureThatDrawsNothing) {
    CTexture t;
    EXPECT_EQ(t.Load("missing.png", 0, 1), 0);
    EXPECT_EQ(g_gfxLog, "load(missing.png) ... failed.\n");
    EXPECT_EQ(t.GetTexture(), nullptr);
    EXPECT_EQ(t.GetName(), "missing.png");
    CSprite s;
    s.SetTexture(&t);
    s.SetPosition(10, 10);
    Frame(kBack, [&] {
        s.Draw();
        t.DrawAt(0, 0);
    });
    EXPECT_EQ(CountNot(kBack, 0, 0, 64, 64), 0);
    g_gfxLog.clear();
    t.Release();
    EXPECT_EQ(g_gfxLog, "release(missing.png)\n");  // the name stayed set
}

TEST_F(TextureTest, CacheSharesByNameAndCountsReferences) {
    CTextureCache cache;
    GfxTexture* a = cache.Load(0, "quad.png", 0, 1);
    GfxTexture* b = cache.Load(0, "quad.png", 0xFFFF00FF, 3);  // the name alone is the key
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_EQ(g_gfxLog, "load(quad.png) ... ok.\n");
    GfxTexture* c = cache.Load(0, "sprite.bmp", 0, 1);
    EXPECT_NE(c, a);
    EXPECT_EQ(cache.Count(), 2);
    EXPECT_EQ(cache.Load(0, "nothing.png", 0, 1), nullptr);
    EXPECT_EQ(cache.Count(), 2);
    g_gfxLog.clear();
    cache.Release(a);
    EXPECT_EQ(g_gfxLog, "");
    cache.Release(b);
    EXPECT_EQ(g_gfxLog, "release(quad.png)\n");
    cache.Release(a);  // no longer held: ignored
    EXPECT_EQ(cache.Count(), 1);
    // The name is the key after a release, too: it loads again.
    g_gfxLog.clear();
    EXPECT_NE(cache.Load(0, "quad.png", 0, 1), nullptr);
    EXPECT_EQ(g_gfxLog, "load(quad.png) ... ok.\n");
}

TEST_F(TextureTest, TextTextureIsPowerOfTwoAndColouredOnlyWhereTheTextIs) {
    CTexture t;
    ASSERT_EQ(t.CreateFromText("Text", 16, 0xFFFFFF00, 400, "ＭＳ ゴシック"), 1);
    EXPECT_EQ(g_gfxLog, "");
    EXPECT_EQ(t.GetName(), "text");
    int w, h;
    t.GetSize(&w, &h);
    EXPECT_EQ(w, 32);  // four half-width letters of 8
    EXPECT_EQ(h, 16);
    EXPECT_EQ(t.GetDesc().format, (uint32_t)kFmtA4R4G4B4);
    Frame(kBack, [&] { t.DrawAt(10, 10); });
    int lit = 0;
    std::vector<uint32_t> px(32 * 16);
    ASSERT_EQ(GfxReadPixels(10, 10, 32, 16, px.data()), 1);
    for (uint32_t c : px) {
        EXPECT_TRUE(c == kBack || c == 0xFFFFFF00u) << std::hex << c;
        lit += c == 0xFFFFFF00u;
    }
    EXPECT_GT(lit, 20);
    EXPECT_EQ(CountNot(kBack, 0, 30, 640, 50), 0);
    g_gfxLog.clear();
    t.Release();
    EXPECT_EQ(g_gfxLog, "release(text)\n");
}

TEST_F(TextureTest, BlackEmptyAndOverwideTexts) {
    CTexture black, empty, wide;
    ASSERT_EQ(black.CreateFromText("Dark", 16, 0xFF000000, 400, "ＭＳ ゴシック"), 1);
    ASSERT_EQ(empty.CreateFromText("", 16, 0xFFFFFFFF, 400, "ＭＳ Ｐゴシック"), 1);
    int w, h;
    empty.GetSize(&w, &h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    g_maxTextureWidth = 64;
    std::string long_text(40, 'W');
    ASSERT_EQ(wide.CreateFromText(long_text.c_str(), 16, 0xFFFFFFFF, 700, "ＭＳ ゴシック"), 1);
    wide.GetSize(&w, &h);
    EXPECT_EQ(w, 64);  // cut at the device maximum
    Frame(kBack, [&] {
        black.DrawAt(0, 0);
        empty.DrawAt(0, 20);
        wide.DrawAt(0, 40);
    });
    EXPECT_EQ(CountNot(kBack, 0, 0, 64, 36), 0);  // black text: fully transparent
    EXPECT_GT(CountNot(kBack, 0, 40, 64, 16), 0);
    EXPECT_EQ(CountNot(kBack, 64, 40, 100, 16), 0);
}

// Bold text is thickened across only: the battle banner's "ＧＯ！！" keeps each exclamation
// mark's dot apart from its bar, a blank row between them.
TEST_F(TextureTest, BoldBannerTextKeepsTheExclamationDotsApart) {
    CTexture t;
    ASSERT_EQ(t.CreateFromText("ＧＯ！！", 16, 0xFFFFFFFF, 700, "ＭＳ Ｐゴシック"), 1);
    int w = 0, h = 0;
    t.GetSize(&w, &h);
    Frame(kBack, [&] { t.DrawAt(10, 10); });
    std::vector<uint32_t> px((size_t)w * h);
    ASSERT_EQ(GfxReadPixels(10, 10, w, h, px.data()), 1);
    auto lit = [&](int x, int y) { return px[(size_t)y * w + x] != kBack; };

    // The glyphs as runs of inked columns: G, O and the two marks.
    std::vector<std::pair<int, int>> glyphs;
    for (int x = 0; x < w; ++x) {
        int any = 0;
        for (int y = 0; y < h; ++y) any |= lit(x, y);
        if (!any) continue;
        if (glyphs.empty() || glyphs.back().second != x - 1) glyphs.push_back({x, x});
        else glyphs.back().second = x;
    }
    ASSERT_EQ(glyphs.size(), 4u);
    for (int g = 2; g < 4; ++g) {
        // Bar, blank, dot: the inked rows of the mark fall into exactly two runs.
        int runs = 0, previous = 0;
        for (int y = 0; y < h; ++y) {
            int any = 0;
            for (int x = glyphs[g].first; x <= glyphs[g].second; ++x) any |= lit(x, y);
            runs += any && !previous;
            previous = any;
        }
        EXPECT_EQ(runs, 2) << "mark " << g - 1;
    }
}

TEST_F(TextureTest, SpriteScalesFromItsCornerAndTurnsAboutItsCentre) {
    CTexture t;
    ASSERT_EQ(t.Load("sprite.bmp", 0, 1), 1);
    CSprite s;
    EXPECT_EQ(s.m_visible, 0);
    s.SetTexture(&t);
    EXPECT_EQ(s.m_srcRight, 16);
    EXPECT_EQ(s.m_centerX, 8.0f);
    s.SetRect(0, 0, 10, 6);
    s.SetScale(2, 2);
    s.SetCenter(16, 16);
    s.SetPosition(100, 100);
    Frame(kBack, [&] { s.Draw(); });  // outside BeginSprites/EndSprites as several scenes do
    // Scaled sprites are filtered linearly: the pixels checked inside lie between like texels.
    EXPECT_EQ(GfxReadPixel(100, 100), 0xFFFFFFFFu);
    EXPECT_EQ(GfxReadPixel(117, 100), 0xFFFFFFFFu);
    EXPECT_EQ(GfxReadPixel(101, 104), 0xFF102030u);
    EXPECT_EQ(GfxReadPixel(116, 108), 0xFF405060u);
    EXPECT_NE(GfxReadPixel(119, 111), kBack);  // the last pixel of the doubled rectangle
    EXPECT_EQ(GfxReadPixel(120, 104), kBack);
    EXPECT_EQ(GfxReadPixel(101, 112), kBack);
    EXPECT_EQ(GfxReadPixel(99, 100), kBack);

    // A quarter turn about the centre (5, 3) of a 10 x 6 rectangle at scale 1.
    s.SetScale(1, 1);
    s.SetCenter(5, 3);
    s.SetRotation(1.5707964f);
    s.SetColor(0xFFFFFFFF);
    Frame(kBack, [&] {
        BeginSprites();
        s.Draw();
        EndSprites();
    });
    // Turned clockwise on screen: the white top row now runs down the right side.
    EXPECT_EQ(GfxReadPixel(107, 99), 0xFFFFFFFFu);
    EXPECT_EQ(GfxReadPixel(103, 99), 0xFF102030u);
    EXPECT_EQ(GfxReadPixel(110, 99), kBack);
    // The colour modulates: half alpha blends halfway.
    s.SetRotation(0);
    s.SetColor(0x80FFFFFF);
    Frame(0xFF000000, [&] { s.Draw(); });
    uint32_t c = GfxReadPixel(100, 100);
    EXPECT_NEAR((int)(c & 0xFF), 0x80, 2);
    s.m_visible = 0;
    Frame(kBack, [&] { s.Draw(); });
    EXPECT_EQ(GfxReadPixel(100, 100), kBack);
}

TEST_F(TextureTest, SpriteHitTestAndCharacterSheet) {
    CTexture t;
    ASSERT_EQ(t.Load("quad.png", 0, 1), 1);
    CSprite a, b, none;
    a.SetTexture(&t);
    b.SetTexture(&t);
    a.SetHitRect(0, 0, 10, 10);
    b.SetHitRect(0, 0, 10, 10);
    b.SetPosition(9.5f, 0);
    EXPECT_EQ(a.HitTest(b), 1);
    b.SetPosition(10, 0);  // touching edges do not overlap
    EXPECT_EQ(a.HitTest(b), 0);
    b.SetScale(1, 1);
    a.SetScale(2, 1);
    EXPECT_EQ(a.HitTest(b), 1);
    b.m_hitTestable = 0;
    EXPECT_EQ(a.HitTest(b), 0);
    EXPECT_EQ(a.HitTest(none), 0);

    CSprite sheet;
    sheet.SetTexture(&t);
    sheet.SetPosition(20, 30);
    Frame(kBack, [&] { sheet.DrawFontText("A\tB\nC"); });
    // 'C' (67): column 3, row 4 of the sheet, drawn at the start of the second line.
    EXPECT_EQ(sheet.m_srcLeft, 24);
    EXPECT_EQ(sheet.m_srcTop, 64);
    EXPECT_EQ(sheet.m_x, 20.0f);
    EXPECT_EQ(sheet.m_y, 46.0f);
}

TEST_F(TextureTest, DemoFrameIsSavedAsPng) {
    CTexture image, photo, label;
    ASSERT_EQ(image.Load("quad.png", 0xFFFF00FF, 1), 1);
    ASSERT_EQ(photo.Load("photo.jpg", 0, 1), 1);
    ASSERT_EQ(label.CreateFromText("テキスト Texture", 24, 0xFFFFFFFF, 700, "ＭＳ ゴシック"), 1);
    CSprite turned;
    turned.SetTexture(&photo);
    turned.SetScale(3, 3);
    turned.SetPosition(400, 200);
    turned.SetRotation(0.5f);
    turned.SetColor(0xC0FFFFFF);
    Frame(0xFF102040, [&] {
        DrawRect2D(20, 300, 620, 460, 0xFF404040);
        image.DrawAt(40, 40);
        BeginSprites();
        turned.Draw();
        EndSprites();
        label.DrawAt(40, 120);
        BeginText();
        DrawTextFormat(40, 320, "DrawTextAt: %d x %d 日本語の表示", 640, 480);
        EndText();
    });
    std::vector<uint32_t> px(640 * 480);
    ASSERT_EQ(GfxReadPixels(0, 0, 640, 480, px.data()), 1);
    EXPECT_EQ(SysSavePng(DEMO_FRAME_PNG, px.data(), 640, 480), 1);
    SysImage back;
    ASSERT_EQ(SysLoadImageFile(DEMO_FRAME_PNG, &back), 1);
    EXPECT_EQ(back.argb, px);
}

TEST_F(TextureTest, ResourcesAreFilesInResBesideTheProgram) {
    const std::string dir = SysGetExeDirectory() + "res";
    const std::string name = "gfx-resource-" + std::to_string(getpid()) + ".png";
    ASSERT_EQ(SysMakeDir(dir.c_str()), 1);
    WriteWholeFile(dir + "/" + name, ReadWholeFile(TEST_DATA_DIR "/test_images/quad.png"));
    CTexture t;
    EXPECT_EQ(t.LoadFromResource(name.c_str(), 0, 1), 1);
    EXPECT_EQ(g_gfxLog, "load(" + name + ") ... ok.\n");
    CTextureCache cache;
    EXPECT_NE(cache.Load(1, name.c_str(), 0, 1), nullptr);
    EXPECT_EQ(cache.Load(1, "no-such-resource.png", 0, 1), nullptr);
    SysRemoveFile((dir + "/" + name).c_str());
}
