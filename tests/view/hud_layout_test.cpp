// What the head-up display draws, read through the device's recording hooks: the elements of
// each view mode with and without a target, the lock and target sounds, what graphics level 1
// leaves out, the weapon list, HP bars with their damage trail, lock lamps, radar blips, name
// tags at the screen edge, the time-up sums and lock markers on their ellipse.
#include "hud_recorder.h"
#include "projectile_pool.h"
#include "view_fixture.h"

#include "graphics.h"
#include "sys_audio.h"

#include <set>

namespace {

class HudLayout : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        m_recorder = std::make_unique<CHudRecorder>(*m_view);
        // Robot 0 (team A) at (2, 1, 3) facing -Z; 1 (B) five units ahead, 2 (A) and 3 (B) about.
        Place(1, Vec3(2, 1, -2));
        Place(2, Vec3(5, 1, 0));
        Place(3, Vec3(-1, 1, -1));
        const char* teams[4] = {"AL", "BL", "AM", "BM"};
        const char* names[4] = {"ALPHA", "BRAVO", "CHARLIE", "DELTA"};
        for (int i = 0; i < 4; ++i) {
            R(i).m_teamCode = teams[i];
            R(i).m_actionNames[0] = names[i];
        }
        R(0).m_weapons.count = 2;
        R(0).m_weapons.slots[0] = {"", "GUN", 12, 5, "R"};
        R(0).m_weapons.slots[1] = {"", "MSL", 3, 50, "L"};
        SetViewLookAt(Vec3(2, 4, 10), Vec3(2, 1, -2), Vec3(0, 1, 0));
    }
    void TearDown() override {
        m_recorder.reset();
        ViewTest::TearDown();
    }
    // Draws the display `frames` times, recording only the last.
    void Draw(int frames = 1, int robotCount = 4) {
        for (int f = 0; f < frames; ++f) {
            m_recorder->Clear();
            ASSERT_EQ(BeginFrame(0xFF000000), 1);
            m_view->DrawHud(0, m_robots.get(), robotCount, &m_pool, m_pool.GetCount());
            EndFrame();
        }
    }
    CHudRecorder& Rec() { return *m_recorder; }

    std::unique_ptr<CHudRecorder> m_recorder;
    CProjectilePool m_pool;
};

// Which elements a frame shows, each told by something only it draws.
std::set<std::string> ElementsDrawn(CHudRecorder& r) {
    std::set<std::string> e;
    auto textStarts = [&](float x, float y, const char* prefix) {
        const SHudText* t = r.FindTextAt(x, y);
        return t && t->text.compare(0, std::strlen(prefix), prefix) == 0;
    };
    const SHudText* fps = r.FindWordAt("font1", 0, 0);
    if (fps && fps->text.compare(0, 3, "FPS") == 0) e.insert("fps");
    if (textStarts(530, 360, "HP ")) e.insert("debug");
    if (textStarts(30, 360, "EN HP ")) e.insert("debugTarget");
    if (r.CountSprites("compass")) e.insert("compass");
    if (r.CountSprites("sight")) e.insert("sight");
    if (textStarts(530, 340, "ALPHA")) e.insert("status");
    if (textStarts(30, 340, "BRAVO")) e.insert("statusTarget");
    if (r.CountLines3D()) e.insert("line");
    if (textStarts(10, 250, "ALPHA")) e.insert("teamList");
    if (r.FindShape(520, 370, 620, 470, 0x40000000)) e.insert("radar");
    for (const SHudSprite& s : r.Sprites("meter"))
        if (s.d.srcTop == 10 && s.d.y == 10) e.insert("hpBars");
    if (r.CountSprites("aim")) e.insert("aim");
    if (r.FindWordAt("font2", 10, 10)) e.insert("clock");
    for (const SHudText& w : r.Words("font1"))
        if (w.y == 450) e.insert("weapons");
    if (r.FindWord("font1", "AUTO") || r.FindWord("font1", "MUNAL")) e.insert("lockMode");
    if (r.CountSprites("marker*")) e.insert("markers");
    if (r.CountSprites("tag*")) e.insert("tags");
    if (r.FindWord("font1", "TA LOCK")) e.insert("lamps");
    if (r.FindWord("font2", "TIME UP")) e.insert("timeUp");
    return e;
}

// Where a picture's direction (dx, dy) points on the screen once the device turns the sprite.
Vec3 OnScreen(const SHudSprite& s, float dx, float dy) {
    const float c = std::cos(s.d.rotation), n = std::sin(s.d.rotation);
    return Vec3(dx * c - dy * n, dx * n + dy * c, 0);
}
// Both directions taken as unit vectors.
void ExpectPoints(const Vec3& v, float x, float y) {
    const float a = std::sqrt(v.x * v.x + v.y * v.y), b = std::sqrt(x * x + y * y);
    EXPECT_NEAR(v.x / a, x / b, 0.02f) << v.x << "," << v.y;
    EXPECT_NEAR(v.y / a, y / b, 0.02f) << v.x << "," << v.y;
}

std::string Join(const std::set<std::string>& s) {
    std::string out;
    for (const std::string& x : s) out += x + " ";
    return out;
}

TEST_F(HudLayout, EachViewModeDrawsItsElementsWithAndWithoutATarget) {
    const struct {
        int mode;
        const char* withTarget;
        const char* without;
    } rows[] = {
        {1, "fps debug debugTarget", "fps debug"},
        {2, "fps debug debugTarget", "fps debug"},
        {3, "fps compass sight debug debugTarget", "fps compass debug"},
        {5, "fps status statusTarget line", "fps status"},
        {6, "fps status statusTarget line teamList radar", "fps status teamList radar"},
        {9, "fps hpBars aim clock sight weapons lockMode markers tags radar lamps", "fps hpBars tags radar lamps"},
        {10, "fps hpBars aim clock sight weapons lockMode markers tags radar lamps", "fps hpBars tags radar lamps"},
        {11, "fps hpBars aim clock sight weapons lockMode markers tags radar lamps", "fps hpBars tags radar lamps"},
        {12, "fps hpBars aim clock sight weapons lockMode markers tags radar lamps", "fps hpBars tags radar lamps"},
        {230, "fps timeUp tags", "fps timeUp tags"},
        {4, "fps", "fps"},
        {100, "fps", "fps"},
        {220, "fps", "fps"},
    };
    auto split = [](const char* list) {
        std::set<std::string> s;
        std::string word;
        for (const char* p = list;; ++p) {
            if (*p == ' ' || *p == 0) {
                if (!word.empty()) s.insert(word);
                word.clear();
                if (!*p) break;
            } else {
                word += *p;
            }
        }
        return s;
    };
    for (const auto& row : rows) {
        for (int withTarget = 0; withTarget < 2; ++withTarget) {
            SCOPED_TRACE(testing::Message() << "mode " << row.mode << (withTarget ? " with" : " without") << " a target");
            R(0).m_target = withTarget ? &R(1) : nullptr;
            m_view->m_viewMode = row.mode;
            Draw(12);  // tags glide in from the corner first
            EXPECT_EQ(Join(ElementsDrawn(Rec())), Join(split(withTarget ? row.withTarget : row.without)));
        }
    }
}

TEST_F(HudLayout, LockSoundOnEachEntryAndTargetSoundWhileRequested) {
    SysAudioSetManualRender(1);  // nothing finishes playing unless the test renders
    ASSERT_TRUE(m_view->m_lockSound.IsLoaded());
    ASSERT_TRUE(m_view->m_targetSound.IsLoaded());
    // Ahead in the narrow cone; to the side (outside the cone, inside the front check); behind.
    const Vec3 ahead(2, 1, -2), side(5, 1, -2), behind(2, 1, 8);
    const Vec3 path[] = {ahead, ahead, behind, ahead, side, side, ahead};
    const struct {
        int mode;
        int plays[7];
    } rows[] = {
        {3, {1, 0, 0, 1, 0, 0, 1}},
        {5, {1, 0, 0, 1, 0, 0, 1}},
        {6, {1, 0, 0, 1, 0, 0, 1}},
        {9, {1, 0, 0, 1, 0, 0, 0}},
        {12, {1, 0, 0, 1, 0, 0, 0}},
        {1, {0, 0, 0, 0, 0, 0, 0}},
    };
    R(0).m_target = &R(1);
    for (const auto& row : rows) {
        m_view->m_viewMode = row.mode;
        m_view->m_sightFlag = 0;
        for (int f = 0; f < 7; ++f) {
            SCOPED_TRACE(testing::Message() << "mode " << row.mode << " frame " << f);
            Place(1, path[f]);
            m_view->m_lockSound.Stop();
            Draw();
            EXPECT_EQ(m_view->m_lockSound.IsPlaying(), row.plays[f]);
        }
    }
    // The click of the target change sounds on every frame the request is up (views 9 to 12 only).
    const struct {
        int mode;
        bool request;
        int plays;
    } clicks[] = {{9, true, 1}, {9, false, 0}, {11, true, 1}, {5, true, 0}, {230, true, 0}};
    for (const auto& c : clicks) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " request " << c.request);
        m_view->m_viewMode = c.mode;
        R(0).m_nextTargetRequest = c.request;
        for (int f = 0; f < 2; ++f) {
            m_view->m_targetSound.Stop();
            Draw();
            EXPECT_EQ(m_view->m_targetSound.IsPlaying(), c.plays);
        }
    }
    R(0).m_nextTargetRequest = false;
    m_view->m_targetSound.Stop();
    m_view->m_lockSound.Stop();
    SysAudioSetManualRender(0);
}

TEST_F(HudLayout, GraphicsLevelOneLeavesOutDistanceModeMarkersArrowAndLabels) {
    m_view->m_viewMode = 9;
    R(0).m_target = &R(1);
    R(0).m_stepCounter = 5;  // a hit just landed: the HIT label
    const struct {
        int level;
        bool locked;  // target ahead inside the front check, else far behind (the arrow)
        bool extras;
    } rows[] = {{1, true, false}, {1, false, false}, {2, true, true}, {2, false, true}, {3, true, true}, {3, false, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "level " << row.level << (row.locked ? " locked" : " free"));
        m_view->m_graphicsLevel = row.level;
        Place(1, row.locked ? Vec3(2, 1, -2) : Vec3(2, 1, 18));
        Draw(2);
        CHudRecorder& r = Rec();
        // Always: aim, clock, weapon list, VP and EP bars.
        EXPECT_EQ(r.CountSprites("aim"), 1);
        EXPECT_NE(r.FindWordAt("font2", 10, 10), nullptr);
        EXPECT_NE(r.FindWordAt("font1", 430, 450), nullptr);
        EXPECT_NE(r.FindSprite("meter", 0, 70, 27, 80), nullptr);
        // The distance, 5 or 15 units, in tenths.
        const bool distance = r.FindWord("font1", row.locked ? "050" : "150") != nullptr;
        EXPECT_EQ(distance, row.extras);
        EXPECT_EQ(r.FindWord("font1", "AUTO") != nullptr, row.extras);
        EXPECT_EQ(r.CountSprites("marker*"), row.extras ? kLockMarkers : 0);
        EXPECT_EQ(r.CountSprites("arrow"), row.extras && !row.locked ? 1 : 0);
        EXPECT_EQ(r.FindSprite("labels", 0, 0, 128, 25) != nullptr, row.extras);
    }
    // The distance sits beside the target while locked, beside the aim point while free.
    m_view->m_graphicsLevel = 3;
    Place(1, Vec3(2, 1, -2));
    Draw();
    const SHudSprite sight = Rec().Sprites("sight").at(0);
    const SHudText* d = Rec().FindWord("font1", "050");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->x, sight.d.x + 32 + 20);
    EXPECT_EQ(d->color, 0xFAFFFFFFu);
    // Out of the sight, with the aim point level with the eye: no distance, not even beside
    // the target in view.
    Place(1, Vec3(2, 1, 18));
    SetViewLookAt(Vec3(4, 1, -2), Vec3(4, 1, 18), Vec3(0, 1, 0));
    Draw(2);
    EXPECT_EQ(Rec().CountSprites("aim"), 0);
    EXPECT_EQ(Rec().CountSprites("sight"), 1);
    EXPECT_EQ(Rec().FindWord("font1", "150"), nullptr);
    R(0).m_lockOn = false;
    Draw();
    EXPECT_NE(Rec().FindWord("font1", "MUNAL"), nullptr);
    EXPECT_EQ(Rec().FindWord("font1", "MUNAL")->color, 0xFFFF9B9Bu);
}

TEST_F(HudLayout, ArrowPointsTowardATargetOutsideTheFrontCheck) {
    m_view->m_viewMode = 9;
    R(0).m_target = &R(1);
    // The arrow picture points up; on the screen it points out toward the target's side.
    const struct {
        Vec3 at;
        float x, y, dx, dy;
    } rows[] = {
        {Vec3(2, 1, -19), 304, 74, 0, -1},  // far ahead, beyond the front check: up
        {Vec3(2, 1, 18), 304, 324, 0, 1},   // behind: down
        {Vec3(10, 1, 3), 54, 174, -1, 0},   // on the robot's left (world +X when facing -Z)
        {Vec3(-6, 1, 3), 554, 174, 1, 0},   // on its right
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.at.x << "," << row.at.z);
        Place(1, row.at);
        Draw();
        const std::vector<SHudSprite> arrows = Rec().Sprites("arrow");
        ASSERT_EQ(arrows.size(), 1u);
        EXPECT_EQ(arrows[0].d.x, row.x);
        EXPECT_EQ(arrows[0].d.y, row.y);
        ExpectPoints(OnScreen(arrows[0], 0, -1), row.dx, row.dy);
    }
    // The target's side of the screen agrees with the arrow's: the robot's left shows left.
    Place(1, Vec3(10, 1, 3));
    EXPECT_LT(WorldToScreen(Vec3(10, 1, 3)).x, WorldToScreen(Vec3(2, 1, 3)).x);
}

TEST_F(HudLayout, WeaponListColoursAndColumns) {
    R(0).m_ep = 50;
    const struct {
        const char* label;
        int ammo, cost;
        const char* side;
        float x, y;  // -1: not listed
        uint32_t color;
    } rows[] = {
        {"GUN", 12, 5, "R", 430, 450, 0xFAFFFFFF},
        {"MSL", 0, 50, "L", 130, 450, 0xFAFF3737},  // empty: red, also when too dear
        {"BLD", -1, 0, "S", -1, -1, 0},             // unlimited: not listed
        {"RKT", 4, 50, "L", 130, 460, 0xFAFFFF37},  // costs all the EP left: yellow
        {"CAN", 7, 49, "S", 280, 450, 0xFAFFFFFF},
        {"BEM", 3, 60, "R", 430, 460, 0xFAFFFF37},
        {"SPR", 2, 0, "X", 280, 460, 0xFAFFFFFF},   // any other side: the middle column
    };
    const int n = int(sizeof rows / sizeof rows[0]);
    R(0).m_weapons.count = n;
    for (int i = 0; i < n; ++i) R(0).m_weapons.slots[i] = {"", rows[i].label, rows[i].ammo, rows[i].cost, rows[i].side};
    ASSERT_EQ(BeginFrame(0xFF000000), 1);
    Rec().Clear();
    m_view->DrawWeaponList(R(0));
    EndFrame();
    const std::vector<SHudText> words = Rec().Words("font1");
    int listed = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        char expected[16];
        std::snprintf(expected, sizeof expected, "%s %03d", row.label, row.ammo < 0 ? 0 : row.ammo);
        const SHudText* w = Rec().FindWord("font1", expected);
        if (row.x < 0) {
            EXPECT_EQ(w, nullptr);
            for (const SHudText& x : words) EXPECT_EQ(x.text.find(row.label), std::string::npos);
            continue;
        }
        ++listed;
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->x, row.x);
        EXPECT_EQ(w->y, row.y);
        EXPECT_EQ(w->color, row.color);
    }
    EXPECT_EQ(int(words.size()), listed);
    // Slots past the robot's count are not read.
    R(0).m_weapons.count = 1;
    ASSERT_EQ(BeginFrame(0xFF000000), 1);
    Rec().Clear();
    m_view->DrawWeaponList(R(0));
    EndFrame();
    EXPECT_EQ(Rec().Words("font1").size(), 1u);
}

TEST_F(HudLayout, HpBarTrailSideSumAndArmourBar) {
    const struct {
        int hp, maxHp, combo, sinceDamage, ap, maxAp;
        int fill, trail;  // widths drawn of the 100-wide bar
        const char* sum;  // team A: robots 0 and 2 (robot 2 at 40 %)
        int apFill;       // -1: no AP bar
    } rows[] = {
        {60, 100, 20, 10, 50, 100, 60, 20, "0100", 50},
        {60, 100, 20, 45, 50, 100, 60, 20, "0100", 50},    // the trail lasts 45 frames
        {60, 100, 20, 46, 50, 100, 60, 0, "0100", 50},
        {180, 100, 0, 999, 150, 100, 100, 0, "0220", 100}, // past the maximum: the bar stops, the sum does not
        {30, 0, 10, 0, 10, 0, 0, 0, "0040", -1},           // no maximum: 0 %, no armour
        {50, 100, 0, 999, 5, 19, 50, 0, "0090", -1},       // too little armour for a bar
        {50, 100, 0, 999, 10, 20, 50, 0, "0090", 50},
    };
    R(2).m_hp = 40;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "hp " << row.hp << "/" << row.maxHp << " since " << row.sinceDamage);
        CRobot& b = R(0);
        b.m_hp = row.hp, b.m_maxHp = row.maxHp, b.m_comboDamage = row.combo, b.m_framesSinceDamage = row.sinceDamage;
        b.m_ap = row.ap, b.m_maxAp = row.maxAp;
        ASSERT_EQ(BeginFrame(0xFF000000), 1);
        Rec().Clear();
        m_view->DrawHpBar(0, m_robots.get(), 4, 100, 10);
        EndFrame();
        CHudRecorder& r = Rec();
        const SHudSprite* fill = r.FindSprite("meter", 0, 10, row.fill, 25);
        ASSERT_NE(fill, nullptr);
        EXPECT_EQ(fill->d.x, 100);
        EXPECT_EQ(fill->d.scaleX, 3);
        const std::vector<SHudSprite> meter = r.Sprites("meter");
        const SHudSprite* trail = nullptr;
        for (const SHudSprite& s : meter)
            if (s.d.color == 0xFFFF0505u) trail = &s;
        ASSERT_NE(trail, nullptr);
        EXPECT_EQ(trail->d.srcLeft, row.fill);
        EXPECT_EQ(trail->d.srcRight, row.fill + row.trail);
        EXPECT_EQ(trail->d.srcTop, 10);
        EXPECT_EQ(trail->d.x, 100 + 3 * row.fill);
        const SHudSprite* rest = r.FindSprite("meter", row.fill + row.trail, 25, 100, 40);
        ASSERT_NE(rest, nullptr);
        EXPECT_EQ(rest->d.x, 100 + 3 * (row.fill + row.trail));
        const SHudText* sum = r.FindWordAt("font1", 405, 10);
        ASSERT_NE(sum, nullptr);
        EXPECT_EQ(sum->text, row.sum);
        const SHudSprite* ap = r.FindSprite("meter", 28, 40, 28 + row.apFill, 50);
        EXPECT_EQ(r.FindSprite("meter", 0, 50, 27, 60) != nullptr, row.apFill >= 0);
        if (row.apFill >= 0) {
            ASSERT_NE(ap, nullptr);
            EXPECT_EQ(ap->d.x, 488);
            EXPECT_EQ(ap->d.scaleX, 1);
        }
    }
}

TEST_F(HudLayout, LockLampsInAFourRobotScene) {
    const uint32_t redOn = 0xFFFF2828, redOff = 0xFF9B0000, greenOn = 0xFF28FF28, greenOff = 0xFF009B00;
    const struct {
        const char* what;
        int targets[4];  // -1 none
        int deadMask;    // robots without HP
        bool ta, ex, dual;
    } rows[] = {
        {"targeted back, hunted, shared", {1, 0, 1, 0}, 0, true, true, true},
        {"nobody looks at robot 0", {1, 2, 3, 2}, 0, false, false, false},
        {"only the own target looks back", {1, 0, -1, -1}, 0, true, false, false},
        {"the hunter and the sharer are down", {1, 2, 1, 0}, (1 << 2) | (1 << 3), false, false, false},
        {"no target of its own", {-1, 0, -1, -1}, 0, false, true, false},
        {"no target, others share none", {-1, 2, -1, 2}, 0, false, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        for (int i = 0; i < 4; ++i) {
            R(i).m_target = row.targets[i] < 0 ? nullptr : &R(row.targets[i]);
            R(i).m_hp = (row.deadMask >> i) & 1 ? 0 : 100;
        }
        ASSERT_EQ(BeginFrame(0xFF000000), 1);
        Rec().Clear();
        m_view->DrawLockLamps(0, m_robots.get(), 4);
        EndFrame();
        const SHudText* ta = Rec().FindWord("font1", "TA LOCK");
        const SHudText* ex = Rec().FindWord("font1", "EX LOCK");
        const SHudText* dual = Rec().FindWord("font1", "DO LOCK");
        ASSERT_TRUE(ta && ex && dual);
        EXPECT_EQ(ta->color, row.ta ? redOn : redOff);
        EXPECT_EQ(ex->color, row.ex ? redOn : redOff);
        EXPECT_EQ(dual->color, row.dual ? greenOn : greenOff);
        EXPECT_EQ(ta->y, 80);
        EXPECT_EQ(ex->y, 100);
        EXPECT_EQ(dual->y, 120);
    }
}

TEST_F(HudLayout, RadarBlipsAndShots) {
    // Robot 0 at the origin facing -Z; the radar shows twice the distance, 50 pixels each way.
    Place(0, Vec3(0, 0, 0));
    Place(1, Vec3(0, 0, -5));   // target, ahead
    Place(2, Vec3(10, 0, 0));   // ally, on the left
    Place(3, Vec3(0, 0, 30));   // enemy, off the radar behind
    R(0).m_target = &R(1);
    m_view->m_viewMode = 9;
    struct Blip {
        const char* picture;
        float x, y;
    };
    const Blip target = {"blip0", 570 - 8, 420 - 10 - 8}, ally = {"blip1", 570 - 20 - 8, 420 - 8};
    const Blip enemyNear = {"blip2", 570 - 8, 420 + 40 - 8};
    const struct {
        const char* what;
        float enemyZ;
        int allyHp;
        std::vector<Blip> blips;
    } rows[] = {
        {"enemy off the radar", 30, 100, {target, ally}},
        {"enemy in range behind", 20, 100, {target, ally, enemyNear}},
        {"ally down", 30, 0, {target}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Place(3, Vec3(0, 0, row.enemyZ));
        R(2).m_hp = row.allyHp;
        Draw();
        std::vector<SHudSprite> drawn = Rec().Sprites("blip*");
        ASSERT_EQ(drawn.size(), row.blips.size());
        for (const Blip& b : row.blips) {
            bool found = false;
            for (const SHudSprite& s : drawn)
                found |= s.picture == b.picture && std::fabs(s.d.x - b.x) < 0.01f && std::fabs(s.d.y - b.y) < 0.01f;
            EXPECT_TRUE(found) << b.picture << " at " << b.x << "," << b.y;
        }
        EXPECT_EQ(Rec().CountSprites("blip3"), 0);
    }
    // Shots: record 0 never shows, nor a free record, nor one off the radar; none during a dash.
    Place(3, Vec3(0, 0, 30));
    R(2).m_hp = 100;
    m_pool.GetRecord(0).Arm(Vec3(0, 0, -3), Vec3(1, 0, 0), nullptr, &R(1));
    m_pool.GetRecord(1).Arm(Vec3(0, 0, -3), Vec3(1, 0, 0), nullptr, &R(1));
    m_pool.GetRecord(2).Arm(Vec3(0, 0, 40), Vec3(1, 0, 0), nullptr, &R(1));
    m_pool.GetRecord(4).Arm(Vec3(3, 0, 0), Vec3(0, 1, 0), nullptr, &R(1));  // straight up
    const struct {
        const char* action;
        int shots;
    } actions[] = {{"", 2}, {"旋回", 2}, {"ダッシュ", 0}, {"前ダッシュ２", 0}};
    for (const auto& a : actions) {
        SCOPED_TRACE(a.action);
        R(0).m_currentAction = a.action;
        Draw();
        const std::vector<SHudSprite> shots = Rec().Sprites("blip3");
        ASSERT_EQ(int(shots.size()), a.shots);
        for (const SHudSprite& s : shots) EXPECT_FALSE(std::isnan(s.d.rotation));
    }
    // The blip pictures point up. A shot flying to world +X crosses the radar to the left (as the
    // ally standing there shows), a shot going straight up stays upright, and a robot blip points
    // where the robot faces.
    R(0).m_currentAction = "";
    Draw();
    const std::vector<SHudSprite> shots = Rec().Sprites("blip3");
    ASSERT_EQ(shots.size(), 2u);
    ExpectPoints(OnScreen(shots[0], 0, -1), -1, 0);
    ExpectPoints(OnScreen(shots[1], 0, -1), 0, -1);
    const std::vector<SHudSprite> allies = Rec().Sprites("blip1");
    ASSERT_EQ(allies.size(), 1u);
    ExpectPoints(OnScreen(allies[0], 0, -1), 0, -1);  // facing -Z as robot 0 does: up the radar
    for (int i = 0; i < 5; ++i) m_pool.GetRecord(i).Free();
}

TEST_F(HudLayout, NameTagsHideOnTheFramesTheyAreClamped) {
    CNameTag& tag = m_view->m_tags[0];
    tag.m_x = 500, tag.m_y = 200;
    const struct {
        int goalX;
        int x;
        bool drawn;
    } frames[] = {{900, 530, true}, {900, 560, true}, {900, 561, false}, {900, 561, false}, {540, 540, true},
                  {-300, 510, true}, {-300, 480, true}};
    for (const auto& f : frames) {
        SCOPED_TRACE(testing::Message() << "goal " << f.goalX << " x " << f.x);
        ASSERT_EQ(BeginFrame(0xFF000000), 1);
        Rec().Clear();
        tag.Update(f.goalX, 200, R(1), 1);
        EndFrame();
        EXPECT_EQ(tag.m_x, f.x);
        EXPECT_EQ(Rec().CountSprites("tag0") > 0, f.drawn);
        EXPECT_EQ(Rec().CountSprites("meter") > 0, f.drawn);
    }
    // An enemy's HP strip is red, a team-mate's blue; the name box sits above and right, the
    // name on a filled translucent plate one pixel larger all round.
    for (int enemy = 0; enemy < 2; ++enemy) {
        ASSERT_EQ(BeginFrame(0xFF000000), 1);
        Rec().Clear();
        tag.Update(300, 200, R(2), enemy);
        EndFrame();
        const SHudSprite* strip = Rec().FindSprite("meter", 0, 0, 50, 5);
        ASSERT_NE(strip, nullptr);
        EXPECT_EQ(strip->d.color, enemy ? 0xFFFF3232u : 0xFF3232FFu);
        const std::vector<SHudSprite> name = Rec().Sprites("tag0");
        ASSERT_EQ(name.size(), 1u);
        const float x = name[0].d.x, y = name[0].d.y;
        const SHudShape* plate = Rec().FindShape(x - 1, y - 1, x + 51, y + 13, 0xAA000000);
        ASSERT_NE(plate, nullptr);
        EXPECT_EQ(plate->type, uint32_t(kPtTriangleFan));
        EXPECT_EQ(plate->count, 4);
    }
}

// A robot level with the eye projects to no usable point (without a divide, or with one by almost
// nothing): neither its name tag nor the target marker is drawn there, and nothing converts its
// unbounded coordinates. Five units in front of the eye the same robot is tagged and marked.
TEST_F(HudLayout, NothingIsDrawnAtAPointLevelWithTheEye) {
    SetViewLookAt(Vec3(2, 1, 10), Vec3(2, 1, 0), Vec3(0, 1, 0));
    R(0).m_target = &R(1);
    m_view->m_viewMode = 9;
    for (const float ahead : {0.0f, 1e-6f, 1e-4f, 5.0f}) {
        SCOPED_TRACE(testing::Message() << "ahead " << ahead);
        Place(1, Vec3(2.5f, 1, 10 - ahead));
        Draw(20);
        EXPECT_EQ(Rec().CountSprites("tag1") > 0, ahead == 5.0f);
        EXPECT_EQ(Rec().CountSprites("sight") > 0, ahead == 5.0f);
    }
}

TEST_F(HudLayout, TimeUpSumsAndEntries) {
    m_view->m_viewMode = kTimeUpViewMode;
    const struct {
        int hp[4], maxHp[4];
        const char* own;
        const char* other;
    } rows[] = {
        {{100, 100, 100, 100}, {100, 100, 100, 100}, "200", "200"},
        {{100, 50, 30, 0}, {100, 100, 100, 100}, "130", "050"},
        {{60, 80, 0, 0}, {0, 100, 100, 100}, "000", "080"},  // a robot without a maximum counts 0
        {{150, 20, 0, 20}, {100, 100, 100, 40}, "150", "070"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.own << " " << row.other);
        for (int i = 0; i < 4; ++i) R(i).m_hp = row.hp[i], R(i).m_maxHp = row.maxHp[i];
        Draw();
        const SHudText* own = Rec().FindWordAt("font2", 100, 150);
        const SHudText* other = Rec().FindWordAt("font2", 420, 150);
        ASSERT_TRUE(own && other);
        EXPECT_EQ(own->text, row.own);
        EXPECT_EQ(other->text, row.other);
        EXPECT_EQ(own->color, 0xFF9B9BFFu);
        EXPECT_EQ(other->color, 0xFFFF9B9Bu);
        EXPECT_NE(Rec().FindWordAt("font2", 270, 100), nullptr);
    }
    // Entries: team A down the left from y 200, team B down the right, 20 apart.
    const struct {
        const char* tag;
        float x, y;
    } entries[] = {{"tag0", 100, 200}, {"tag2", 100, 220}, {"tag1", 420, 200}, {"tag3", 420, 220}};
    for (const auto& e : entries) {
        const std::vector<SHudSprite> s = Rec().Sprites(e.tag);
        ASSERT_EQ(s.size(), 1u) << e.tag;
        EXPECT_EQ(s[0].d.x, e.x) << e.tag;
        EXPECT_EQ(s[0].d.y, e.y) << e.tag;
    }
}

TEST_F(HudLayout, ManualMarkersCycleRoundTheEllipse) {
    m_view->m_viewMode = 9;
    R(0).m_target = &R(1);
    R(0).m_lockOn = false;
    // The target's place about robot 0 decides the point on the ellipse about the screen centre.
    const struct {
        Vec3 at;
        int qx, qy;
    } rows[] = {
        {Vec3(2, 1, -2), 320, 140},  // ahead: top
        {Vec3(2, 1, 8), 320, 340},   // behind: bottom
        {Vec3(7, 1, -2), 178, 169},  // ahead on the left: upper left
        {Vec3(-3, 1, 8), 461, 310},  // behind on the right: lower right
    };
    m_view->m_markerIndex = 0;
    int index = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.at.x << "," << row.at.z);
        Place(1, row.at);
        int before[kLockMarkers][2];
        for (int i = 0; i < kLockMarkers; ++i) before[i][0] = m_view->m_markers[i].m_goalX, before[i][1] = m_view->m_markers[i].m_goalY;
        Draw();
        index = (index + 1) % kLockMarkers;
        ASSERT_EQ(m_view->m_markerIndex, index);
        const CLockMarker& m = m_view->m_markers[index];
        EXPECT_NEAR(m.m_goalX, row.qx, 1);
        EXPECT_NEAR(m.m_goalY, row.qy, 1);
        for (int i = 0; i < kLockMarkers; ++i) {
            if (i == index) continue;
            EXPECT_EQ(m_view->m_markers[i].m_goalX, before[i][0]);
            EXPECT_EQ(m_view->m_markers[i].m_goalY, before[i][1]);
        }
        EXPECT_EQ(Rec().CountSprites("marker*"), kLockMarkers);
    }
    // Held ahead, the four brackets gather at the top of the ellipse with their corner (the
    // picture's lower right) toward the screen centre.
    Place(1, Vec3(2, 1, -2));
    Draw(24);
    for (int i = 0; i < kLockMarkers; ++i) {
        SCOPED_TRACE(i);
        const std::vector<SHudSprite> s = Rec().Sprites("marker" + std::to_string(i));
        ASSERT_EQ(s.size(), 1u);
        EXPECT_EQ(m_view->m_markers[i].m_y, 140);
        ExpectPoints(OnScreen(s[0], 1, 1), 0, 1);
    }
    // Automatic again: all four close on the locked target at once, each bracket at its own
    // corner of the target with its corner outward.
    R(0).m_lockOn = true;
    Place(1, Vec3(2, 1, -2));
    Draw(8);
    const Vec3 p = WorldToScreen(Vec3(2, 1, -2));
    EXPECT_EQ(m_view->m_markers[3].m_goalX, int(p.x) + 46);
    EXPECT_EQ(m_view->m_markers[0].m_goalY, int(p.y) - 46);
    EXPECT_EQ(m_view->m_markers[0].m_sprite.m_color, 0x80FF0000u);
    const float corners[kLockMarkers][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (int i = 0; i < kLockMarkers; ++i) {
        SCOPED_TRACE(i);
        const std::vector<SHudSprite> s = Rec().Sprites("marker" + std::to_string(i));
        ASSERT_EQ(s.size(), 1u);
        ExpectPoints(OnScreen(s[0], 1, 1), corners[i][0], corners[i][1]);
    }
}

TEST_F(HudLayout, NamesAreTextNotFormats) {
    R(0).m_actionNames[0] = "%s%n%d";
    R(1).m_actionNames[0] = "50%";
    R(0).m_target = &R(1);
    for (int mode : {5, 6}) {
        SCOPED_TRACE(mode);
        m_view->m_viewMode = mode;
        Draw();
        const SHudText* own = Rec().FindTextAt(530, 340);
        const SHudText* target = Rec().FindTextAt(30, 340);
        ASSERT_TRUE(own && target);
        EXPECT_EQ(own->text, "%s%n%d");
        EXPECT_EQ(target->text, "50%");
    }
    const SHudText* listed = Rec().FindTextAt(10, 250);
    ASSERT_NE(listed, nullptr);
    EXPECT_EQ(listed->text, "%s%n%d");
}

}  // namespace
