// The text field driven as a person would: injected keys, typed text and input-method events,
// one frame at a time, on mixed ASCII and two-byte Shift-JIS text.
#include "engine.h"
#include "graphics.h"
#include "input.h"
#include "text_input.h"

#include "sys_info.h"
#include "sys_input.h"
#include "sys_lock.h"
#include "sys_text_input.h"
#include "sys_window.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

void IgnoreLog(const char*) {}
void IgnoreBox(const char*, const char*) {}

constexpr int kKeyA = 30;  // a key to go down with typed text, as the desktop sends both

class TextInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        SysSetLockNamespace(("text-input-test-" + std::to_string(getpid())).c_str());
        SysSetDebugOutputSink(IgnoreLog);
        SysSetMessageBoxSink(IgnoreBox);
        const char* argv[] = {"zaumolta"};
        SetCommandLine(1, argv);
        ASSERT_EQ(g_engine.Init(), 1);
        SetQuitKey(0);  // as the owners do while a field is open
        CreateTextFont(16, 0xFFFFFFFF, 400);
        field.Attach(0, 16, 80);
        Frame();  // the owner's first frame opens the field for typing
    }
    void TearDown() override {
        ReleaseTextFont();
        g_engine.Free();
        SysSetMessageBoxSink(nullptr);
        SysSetDebugOutputSink(nullptr);
    }
    int Frame() {
        PumpMessages();
        UpdateInput();
        BeginFrame(0xFF000000);
        int r = field.Update();
        EndFrame();
        return r;
    }
    // A key goes down for a frame and comes up in the next; returns the first frame's result.
    int Press(int key, const char* typed = nullptr) {
        SysInjectKey(key, 1);
        if (typed) SysInjectText(typed);
        int r = Frame();
        SysInjectKey(key, 0);
        EXPECT_EQ(Frame(), 0);
        return r;
    }
    void Type(const char* ascii) {
        for (const char* p = ascii; *p; ++p) {
            char one[2] = {*p, 0};
            Press(kKeyA, one);
        }
    }
    std::string Text() const {
        std::string t;
        field.GetText(t);
        return t;
    }
    CTextInput field;
};

// Two-byte characters whose second byte is 0x5C or in 0x40..0x7E, and one whose second byte is in
// the first-byte range.
const std::string kSo = "\x83\x5C";   // ソ
const std::string kHyo = "\x95\x5C";  // 表
const std::string kXa = "\x83\x40";   // ァ
const std::string kMi = "\x83\x7E";   // ミ
const std::string kMe = "\x83\x81";   // メ

}  // namespace

TEST_F(TextInputTest, TypingAndCursorMoves) {
    Type("abc");
    Press(kKeyLeft);
    Press(kKeyLeft);
    Type("X");
    EXPECT_EQ(Text(), "aXbc");
    EXPECT_EQ(field.GetCursor(), 2);
    EXPECT_EQ(field.GetDisplayText(), "aXbc");
    Press(kKeyDelete);
    EXPECT_EQ(Text(), "aXc");
    Press(kKeyBackspace);
    EXPECT_EQ(Text(), "ac");
    EXPECT_EQ(field.GetCursor(), 1);
    Press(kKeyRight);
    Press(kKeyRight);  // at the end already
    EXPECT_EQ(field.GetCursor(), 2);
    Press(kKeyDelete);
    EXPECT_EQ(Text(), "ac");
    EXPECT_EQ(Press(kKeyEnter), 1);
}

TEST_F(TextInputTest, EscapeCancelsAndNonPrintablesAreIgnored) {
    Type("a");
    Press(kKeyA, "\t");
    EXPECT_EQ(Text(), "a");
    Type("bc");
    Press(kKeyBackspace);
    EXPECT_EQ(Text(), "ab");
    EXPECT_EQ(Press(kKeyEscape), -1);
    EXPECT_EQ(Text(), "ab");
    // What the game's keys typed while the field was closed (the Enter that opens it, a battle's
    // moves) is not the field's, nor are the repeats of that Enter held down.
    field.SetOpenStatus(0);
    for (int key : {kKeyA, (int)kKeyEnter}) {
        SysInjectKey(key, 1);
        PumpMessages();
        UpdateInput();
    }
    SysInjectKey(kKeyA, 0);
    field.SetOpenStatus(1);
    SysInjectKey(kKeyEnter, 1);
    EXPECT_EQ(Frame(), 0);
    SysInjectKey(kKeyEnter, 0);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Text(), "ab");
    // Nor what was typed before a field was attached, as a lobby screen's is when it opens.
    SetTypedChar('z');
    SetTypedChar(0x0D);
    field.Attach(0, 16, 80);
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Text(), "ab");
}

// Characters typed within one frame, on a game that polls input twice a frame (one running behind
// the host's tick), or over frames that do not run the field (a battle frame not drawn) all
// arrive, in order, with Backspace and Enter in their places.
TEST_F(TextInputTest, EveryCharacterArrivesInOrderWhateverTheFramesAndPolls) {
    SysInjectText("ab");
    SysInjectKey(kKeyBackspace, 1);
    SysInjectKey(kKeyBackspace, 0);
    SysInjectText("cd");
    EXPECT_EQ(Frame(), 0);
    EXPECT_EQ(Text(), "acd");

    field.SetText("");
    int polls = 2;
    auto frame = [&] {
        PumpMessages();
        for (int i = 0; i < polls; ++i) UpdateInput();
        return field.Update();
    };
    // Each key down in one frame and up in the next, as a person types.
    auto typeKeys = [&](const char* text) {
        for (const char* p = text; *p; ++p) {
            const char one[2] = {*p, 0};
            SysInjectKey(kKeyA, 1);
            SysInjectText(one);
            EXPECT_EQ(frame(), 0) << *p;
            SysInjectKey(kKeyA, 0);
            EXPECT_EQ(frame(), 0) << *p;
        }
    };
    typeKeys("c1 here");
    EXPECT_EQ(Text(), "c1 here");
    SysInjectKey(kKeyBackspace, 1);
    frame();
    SysInjectKey(kKeyBackspace, 0);
    frame();
    EXPECT_EQ(Text(), "c1 her");
    polls = 0;  // frames that do not reach the field: it takes everything at its next one
    for (const char* one : {"e", "!"}) {
        SysInjectText(one);
        PumpMessages();
        UpdateInput();
    }
    polls = 2;
    SysInjectKey(kKeyEnter, 1);
    EXPECT_EQ(frame(), 1);
    EXPECT_EQ(Text(), "c1 here!");
}

// Characters, the editing keys and committed text reach the field in the order typed: all within
// one frame (each key down and up between two polls), or one a frame on a game that polls input
// twice a frame, where a key is held by the time the field looks. "<", ">", "~" and "\b" stand for
// Left, Right, Delete and Backspace; the rest is typed or, when double-byte, committed.
TEST_F(TextInputTest, KeysCharactersAndCommittedTextKeepTheirOrder) {
    const struct {
        const char* before;
        std::vector<std::string> typed;
        std::string text;
        int cursor;
    } cases[] = {
        {"", {"a", "日", "b"}, "a日b", 4},
        {"x", {"\b", "日"}, "日", 2},
        {"ab", {"<", "日"}, "a日b", 3},
        {"abc", {"<", "<", "X", ">", "~"}, "aXb", 3},
        {"a日b", {"<", "<", "~", "c"}, "acb", 2},
        {"c1 midXdle", {"<", "<", "<", "\b", "\r"}, "c1 middle", 6},
    };
    const struct {
        const char* name;
        bool frameEach;
    } modes[] = {{"within one frame", false}, {"a frame each, two polls a frame", true}};
    auto frame = [&](int polls) {
        PumpMessages();
        for (int i = 0; i < polls; ++i) UpdateInput();
        return field.Update();
    };
    auto keyOf = [](const std::string& t) {
        return t == "<" ? (int)kKeyLeft : t == ">" ? (int)kKeyRight : t == "~" ? (int)kKeyDelete
                                        : t == "\b" ? (int)kKeyBackspace : t == "\r" ? (int)kKeyEnter : 0;
    };
    for (const auto& m : modes) {
        for (const auto& c : cases) {
            const std::string what = std::string(m.name) + ": " + c.before;
            field.SetText(c.before);
            int done = 0;
            for (const std::string& t : c.typed) {
                if (const int key = keyOf(t)) {
                    SysInjectKey(key, 1);
                    if (m.frameEach) done |= frame(2);
                    SysInjectKey(key, 0);
                } else {
                    SysInjectKey(kKeyA, 1);
                    SysInjectText(t.c_str());
                    if (m.frameEach) done |= frame(2);
                    SysInjectKey(kKeyA, 0);
                }
            }
            done |= frame(m.frameEach ? 2 : 1);
            EXPECT_EQ(Text(), c.text) << what;
            EXPECT_EQ(field.GetCursor(), c.cursor) << what;
            EXPECT_EQ(done, c.typed.back() == "\r" ? 1 : 0) << what;
        }
    }
}

TEST_F(TextInputTest, TypingStopsAtTheMaximum) {
    field.Attach(0, 16, 4);
    Frame();  // attached again: open for typing from its next frame
    Type("abcdef");
    EXPECT_EQ(Text(), "abcd");
    // A longer text set by the owner is shown whole, the cursor at its end.
    field.SetText("0123456789012345678");
    EXPECT_EQ(field.GetCursor(), 19);
    EXPECT_EQ(field.GetDisplayText(), "0123456789012345678");
    Type("z");
    EXPECT_EQ(Text(), "0123456789012345678");
}

TEST_F(TextInputTest, EditingMovesAndDeletesWholeCharacters) {
    // "メa": the second byte of メ is in the first-byte range; Backspace removes only the a.
    field.SetText(kMe + "a");
    Press(kKeyBackspace);
    EXPECT_EQ(Text(), kMe);
    Press(kKeyBackspace);
    EXPECT_EQ(Text(), "");

    std::string mixed = "a" + kSo + kHyo + "b" + kXa + kMi + "\\";
    field.SetText(mixed);
    const int starts[] = {0, 1, 3, 5, 6, 8, 10};
    for (int i = 6; i >= 0; --i) {
        Press(kKeyLeft);
        EXPECT_EQ(field.GetCursor(), starts[i]) << i;
    }
    Press(kKeyLeft);
    EXPECT_EQ(field.GetCursor(), 0);
    Press(kKeyRight);
    Press(kKeyRight);
    EXPECT_EQ(field.GetCursor(), 3);
    Press(kKeyDelete);  // 表
    EXPECT_EQ(Text(), "a" + kSo + "b" + kXa + kMi + "\\");
    Press(kKeyBackspace);  // ソ
    EXPECT_EQ(Text(), "ab" + kXa + kMi + "\\");
    EXPECT_EQ(field.GetCursor(), 1);
    Type("@");
    EXPECT_EQ(Text(), "a@b" + kXa + kMi + "\\");
    field.SetText(kMi + kMe);
    Press(kKeyBackspace);
    Press(kKeyBackspace);
    EXPECT_EQ(Text(), "");
}

TEST_F(TextInputTest, CompositionIsShownThenCommittedByEnter) {
    field.SetOpenStatus(1);
    Type("ab");
    Press(kKeyLeft);
    Frame();
    EXPECT_EQ(field.GetStatusLine(), "IME ON in[]");
    // The desktop takes the keys while composing: only editing events arrive.
    SysInjectComposition("か", 0);
    EXPECT_EQ(Frame(), 0);
    EXPECT_TRUE(field.IsComposing());
    EXPECT_EQ(field.GetDisplayText(), std::string("a") + "か" + "b");
    Frame();
    EXPECT_EQ(field.GetStatusLine(), std::string("IME ON in[") + "か" + "]");
    SysInjectComposition("漢", 1);
    Frame();
    Frame();
    EXPECT_EQ(field.GetStatusLine(), std::string("IME ON cnv[") + "漢" + "]");
    EXPECT_EQ(Press(kKeyEscape), 0);  // Escape while composing does not cancel the field
    EXPECT_EQ(Text(), "ab");
    // Enter commits: the input method keeps the key, with no key-down, and sends the text, then
    // the end of the composition.
    SysInjectText("漢字");
    SysInjectComposition("", 0);
    EXPECT_EQ(Frame(), 0);
    Frame();
    EXPECT_FALSE(field.IsComposing());
    EXPECT_EQ(Text(), std::string("a") + "漢字" + "b");
    EXPECT_EQ(field.GetCursor(), 5);
    EXPECT_EQ(Press(kKeyEnter), 1);
}

// Keys pressed right after a commit, within one frame of a game whose frames are held up, on
// "a|b" with the row's text under conversion. The input method keeps the Enter that commits (no
// key-down comes for it), and a pump brings all its keys, with the text of the typed ones, before
// the input method's commit and the end of its composition, so the keys that followed the commit
// come first. "<", ">", "~", "\b" and "\r" stand for Left, Right, Delete, Backspace and Enter, "^j"
// for Ctrl+J and "^" for a Shift still held (keys that type nothing), and a single letter for a
// key that types it; "'" is the middle key of a desktop compose sequence, a key that types but
// goes down with no text, still held, and "'^" the same key down and up; "か" is composed after
// the commit and committed the next frame.
TEST_F(TextInputTest, KeysPressedAfterACommitActInOrder) {
    enum When { kSamePump, kLaterPump, kEndInNextPump, kWhileComposing, kNoEnd, kCancelled };
    const struct {
        const char* what;
        When when;
        const char* committed;
        std::vector<std::string> keys;
        std::string text;
        int cursor;
        int done;
    } cases[] = {
        {"Left and a character", kSamePump, "日本", {"<", "か"}, "a日か本b", 5, 0},
        {"Backspace", kSamePump, "日本", {"\b"}, "a日b", 3, 0},
        {"a second Enter sends", kSamePump, "日本", {"\r"}, "a日本b", 5, 1},
        {"Left, Backspace, Enter", kSamePump, "日本", {"<", "\b", "\r"}, "a本b", 1, 1},
        {"Left and Delete", kSamePump, "日本", {"<", "~"}, "a日b", 3, 0},
        {"Ctrl+J to Latin, then abc", kSamePump, "日本", {"^j", "a", "b", "c"}, "a日本abcb", 8, 0},
        {"typing among the editing keys", kSamePump, "日本", {"x", "<", "<", "y", "\b", "z"}, "a日z本xb", 4, 0},
        // Latin text the input method commits itself is its text, not typing.
        {"Latin text committed, then typing", kSamePump, "nihon", {"x", "^j", "^"}, "anihonxb", 7, 0},
        {"Latin text committed, no end", kNoEnd, "nihon", {}, "anihonb", 6, 0},
        // A commit right after a key-down with no text is whole, whatever its end, and what was
        // typed before it follows it.
        {"a compose key down, then typing and the commit", kSamePump, "日本", {"x", "'"}, "a日本xb", 6, 0},
        {"a compose key down, the end in the next pump", kEndInNextPump, "日本", {"'"}, "a日本b", 5, 0},
        {"a compose key down, no end", kNoEnd, "日本", {"x", "'"}, "a日本xb", 6, 0},
        // Its key-up ends what the key-down said of the next text.
        {"a compose key down and up, one letter committed", kNoEnd, "n", {"'^"}, "anb", 2, 0},
        // The commit in one pump, the keys in the next, before the field runs (a frame not drawn).
        {"keys of a later pump", kLaterPump, "日本", {"<", "\b"}, "a本b", 1, 0},
        // Some input methods send no end after their commit.
        {"keys before a commit with no end", kNoEnd, "日本", {"<", "\b", "x"}, "ax本b", 2, 0},
        // Escape, which the input method keeps, cancels the composition: the keys act on "a|b".
        {"keys after a cancelled composition", kCancelled, "日本", {"<", "x"}, "xab", 1, 0},
        // While the composition shows and does not end, the keys that come are the input method's.
        {"keys while composing", kWhileComposing, "日本", {"<", "<", "\b", ">", "~", "\r"}, "a日本b", 5, 0},
    };
    constexpr int kKeyCtrl = 29, kKeyJ = 36, kKeyShift = 42, kKeyApostrophe = 40;
    auto keyOf = [](const std::string& t) {
        const struct {
            const char* name;
            int key;
        } named[] = {{"<", kKeyLeft}, {">", kKeyRight}, {"~", kKeyDelete}, {"\b", kKeyBackspace},
                     {"\r", kKeyEnter}, {"^j", kKeyJ}, {"^", kKeyShift}, {"'", kKeyApostrophe},
                     {"'^", kKeyApostrophe}};
        for (const auto& n : named)
            if (t == n.name) return n.key;
        return t.size() == 1 ? kKeyA : 0;
    };
    auto frame = [&] {  // two polls a frame, as on a game running behind the host
        PumpMessages();
        UpdateInput();
        UpdateInput();
        return field.Update();
    };
    for (const auto& c : cases) {
        field.SetText("ab");
        Press(kKeyLeft);
        SysInjectComposition(c.committed, 1);
        Frame();
        ASSERT_TRUE(field.IsComposing()) << c.what;
        auto keys = [&] {
            for (const std::string& t : c.keys) {
                const int key = keyOf(t);
                if (!key) continue;
                if (t == "^j") SysInjectKey(kKeyCtrl, 1);
                SysInjectKey(key, 1);
                if (key == kKeyA) SysInjectText(t.c_str());
                if (key != kKeyShift && t != "'") SysInjectKey(key, 0);
                if (t == "^j") SysInjectKey(kKeyCtrl, 0);
            }
        };
        auto commit = [&](const char* text) {
            if (c.when != kCancelled) SysInjectText(text);
            if (c.when != kNoEnd) SysInjectComposition("", 0);
        };
        if (c.when == kLaterPump) {
            commit(c.committed);
            PumpMessages();
            UpdateInput();
        }
        keys();
        if (c.when == kEndInNextPump) {
            SysInjectText(c.committed);
            PumpMessages();
            UpdateInput();
            SysInjectComposition("", 0);
        } else if (c.when != kLaterPump && c.when != kWhileComposing) {
            commit(c.committed);
        }
        for (const std::string& t : c.keys)
            if (!keyOf(t)) SysInjectComposition(t.c_str(), 0);
        int done = frame();
        if (c.when == kWhileComposing) {
            commit(c.committed);
            done |= frame();
        }
        for (const std::string& t : c.keys)
            if (!keyOf(t)) {
                commit(t.c_str());
                done |= frame();
            }
        EXPECT_EQ(Text(), c.text) << c.what;
        EXPECT_EQ(field.GetCursor(), c.cursor) << c.what;
        EXPECT_EQ(done, c.done) << c.what;
        EXPECT_FALSE(field.IsComposing()) << c.what;
        SysInjectKey(kKeyShift, 0);  // a row's Shift or compose key still held
        SysInjectKey(kKeyApostrophe, 0);
        ClearTypedChars();
    }
}

TEST_F(TextInputTest, CommitWithoutAnyKeyStillArrives) {
    // The desktop may take Enter for itself; the committed text must not wait for a key.
    SysInjectComposition("に", 0);
    Frame();
    EXPECT_EQ(field.IsImeOpen(), 1);  // composing shows the input method is on
    SysInjectComposition("", 0);
    SysInjectText("日本");
    Frame();
    EXPECT_EQ(Text(), "日本");
    EXPECT_FALSE(field.IsComposing());
    // A later key types normally after the committed text.
    Type("x");
    EXPECT_EQ(Text(), std::string("日本") + "x");
    // Double-byte text with no composition (an input method without one) is still text.
    SysInjectText("語");
    Frame();
    EXPECT_EQ(Text(), std::string("日本x") + "語");
}

TEST_F(TextInputTest, CommittedTextIsCutAtTheEndByWholeCharacters) {
    field.Attach(0, 16, 5);
    Frame();
    Type("ab");
    SysInjectText("日本語");
    Frame();
    EXPECT_EQ(Text(), std::string("ab") + "日");
    EXPECT_EQ(field.GetCursor(), 4);
    field.Attach(0, 16, 6);
    field.SetText("ab");
    Press(kKeyLeft);
    SysInjectText("日本語");
    Frame();
    EXPECT_EQ(Text(), std::string("a") + "日本");  // the end goes, the b included
    EXPECT_EQ(field.GetCursor(), 5);
}

TEST_F(TextInputTest, WithoutAContextTheFieldIsPlainAscii) {
    CTextInput plain;
    plain.SetText("q");
    auto frame = [&] {
        PumpMessages();
        UpdateInput();
        return plain.Update();
    };
    SysInjectKey(kKeyA, 1);
    SysInjectComposition("か", 0);
    EXPECT_EQ(frame(), 0);
    EXPECT_FALSE(plain.IsComposing());
    EXPECT_EQ(plain.GetStatusLine(), "IME OFF in[]");
    SysInjectKey(kKeyA, 0);
    SysInjectComposition("", 0);
    frame();
    SysInjectKey(kKeyA, 1);
    SysInjectText("r");
    frame();
    std::string t;
    plain.GetText(t);
    EXPECT_EQ(t, "qr");
}

TEST_F(TextInputTest, FieldAndStatusLineAreDrawnWhereTheyBelong) {
    field.SetText("WWWW");
    PumpMessages();
    UpdateInput();
    BeginFrame(0xFF000000);
    field.Update();
    auto lit = [](int x, int y, int w, int h) {
        std::vector<uint32_t> px((size_t)w * h);
        GfxReadPixels(x, y, w, h, px.data());
        int n = 0;
        for (uint32_t p : px)
            if ((p & 0xFFFFFF) != 0) ++n;
        return n;
    };
    int text = lit(0, 16, 32, 16);     // four characters of half the height each
    int status = lit(0, 32, 100, 16);  // "IME OFF in[]" below the field
    int beyond = lit(0, 64, 200, 32);
    EndFrame();
    EXPECT_GT(text, 20);
    EXPECT_GT(status, 20);
    EXPECT_EQ(beyond, 0);
}

// The desktop's input method keeps keys for itself while it composes, so it is on only while a
// field is open for typing: at the title, in menus and in battle every key reaches the game.
TEST_F(TextInputTest, InputMethodIsOnExactlyWhileAFieldIsOpen) {
    field.ReleaseContext();
    CTextInput chat;  // attached ahead of its use, as the battle's chat is
    std::unique_ptr<CTextInput> screen;
    auto run = [](CTextInput& f) {
        PumpMessages();
        UpdateInput();
        f.Update();
    };
    // A lobby input screen: a field made, attached and run.
    auto openScreen = [&] {
        screen = std::make_unique<CTextInput>();
        screen->Attach(0, 16, 16);
        run(*screen);
    };
    const struct {
        const char* step;
        std::function<void()> act;
        int active;
    } steps[] = {
        {"nothing open", [] {}, 0},
        {"attached, not yet run", [&] { chat.Attach(100, 300, 64); }, 0},
        {"another field run", [&] { run(field); }, 0},
        {"a screen's field runs", openScreen, 1},
        {"the screen ends", [&] { screen.reset(); }, 0},
        {"chat opened", [&] { chat.SetOpenStatus(1); }, 1},
        {"chat runs", [&] { run(chat); }, 1},
        {"chat closed", [&] { chat.SetOpenStatus(0); }, 0},
        {"closed chat still drawn", [&] { run(chat); }, 0},
        {"chat and a screen open", [&] { chat.SetOpenStatus(1), openScreen(); }, 1},
        {"chat released", [&] { chat.ReleaseContext(); }, 1},
        {"the last one ends", [&] { screen.reset(); }, 0},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(SysTextInputIsActive(), s.active) << s.step;
    }

    // A composition in progress when its field closes does not turn up in the next one.
    chat.Attach(100, 300, 64);
    run(chat);
    SysInjectComposition("か", 0);
    run(chat);
    ASSERT_TRUE(chat.IsComposing());
    chat.SetOpenStatus(0);
    chat.SetOpenStatus(1);
    run(chat);
    EXPECT_FALSE(chat.IsComposing());
    EXPECT_EQ(chat.GetStatusLine(), "IME ON in[]");
}
