// The text field: editing by whole Shift-JIS characters, the input method's composition and
// result, and the field's drawing with the engine's text font.
#include "text_input.h"

#include "graphics.h"
#include "input.h"

#include "sys_text.h"
#include "sys_text_input.h"

namespace {
constexpr int kCharBackspace = 0x08;  // the control characters the keys type
constexpr int kCharEnter = 0x0D;
constexpr int kCharEscape = 0x1B;
int g_blink = 0;         // shared by all fields, as one cursor blinks at a time
int g_typingFields = 0;  // fields open for typing; the desktop's input method is on while any is
}  // namespace

bool IsShiftJisLeadByte(unsigned char c) { return SjisIsLeadByte(c); }

bool IsPrintableAscii(int c) { return c >= 0x20 && c < 0x7F; }

CTextInput::CTextInput() : m_status("_") {}

CTextInput::~CTextInput() { ReleaseContext(); }

// The game's keys type characters too (the Enter that opened the field, a battle's moves): what
// was typed before the owner opened the field is not the field's.
void CTextInput::Attach(int x, int y, int maxLength) {
    ClearTypedChars();
    ReleaseContext();
    m_context = 1;
    m_closed = false;
    m_x = x;
    m_y = y;
    m_cursor = 0;
    m_maxLength = maxLength;
}

void CTextInput::ReleaseContext() {
    SetTyping(false);
    m_context = 0;
}

// While the input method is on it may keep keys for itself, so it is on only while some field
// is open for typing: the game's keys must reach the game everywhere else.
void CTextInput::SetTyping(bool typing) {
    if (typing == m_typing) return;
    m_typing = typing;
    g_typingFields += typing ? 1 : -1;
    SysTextInputSetActive(g_typingFields > 0);
}

// The desktop's input method may take keys for itself (Enter that commits, Escape that cancels)
// without the keyboard state ever seeing them, so a change of composition counts as activity just
// as a key press does. Everything typed is taken from the queue, all of it and in order, not from
// the key state: characters, the editing keys and committed text, so that "a", 日, "b" in one
// frame read "a日b", and a game that polls input twice in a frame (running behind the host),
// which reads a key as held by the time the field looks, still moves the cursor.
int CTextInput::Update() {
    // A field attached ahead of its use (the battle's chat) opens when it is first run; one its
    // owner closed stays closed until opened again.
    if (m_context && !m_closed) SetTyping(true);
    DrawTextAt(m_x, m_y, m_display.c_str());
    DrawStatus();
    bool imeNews = m_context && SysImeChanged();
    if (GetPressedKey() == -1 && !imeNews && !HasTypedChar()) return 0;

    // The composition showing now began after everything waiting: the input method keeps the
    // keys while it composes, and a commit ends a composition.
    if (IsImeOpen() || IsComposing()) GetComposition(m_composition);
    if (const int done = TakeTypedInput()) return done;
    if (IsComposing()) {
        m_display = m_text;
        m_display.insert((size_t)m_cursor, m_composition);
    }
    return 0;
}

int CTextInput::TakeTypedInput() {
    std::string committed;  // the bytes of one commit, put in whole
    int done = 0;
    while (!done) {
        const int c = GetTypedChar();
        if (c >= kTypedText) {
            committed += (char)(c - kTypedText);
            continue;
        }
        // Without a context the field is plain ASCII: the input method's text is not its own.
        if (!committed.empty() && m_context) CommitResult(committed);
        committed.clear();
        if (c == 0) break;
        done = ApplyTyped(c);
    }
    return done;
}

int CTextInput::ApplyTyped(int c) {
    if (c == kCharEnter) return 1;
    if (c == kCharEscape) return -1;
    if (c == kCharBackspace) Backspace();
    else if (c == kTypedKey + kKeyDelete) Delete();
    else if (c == kTypedKey + kKeyLeft) CursorLeft();
    else if (c == kTypedKey + kKeyRight) CursorRight();
    else if (IsPrintableAscii(c) && (int)m_text.size() < m_maxLength) InsertChar(c);
    return 0;
}

void CTextInput::GetText(std::string& text) const { text = m_text; }

void CTextInput::SetText(const std::string& text) {
    m_text = text;
    m_display = text;
    m_cursor = (int)text.size();
}

void CTextInput::SetOpenStatus(int open) {
    if (!m_context) return;
    if (open) ClearTypedChars();
    SysImeSetOpen(open);
    m_closed = !open;
    SetTyping(open != 0);
}

void CTextInput::DrawStatus() {
    g_blink = (g_blink + 1) % kTextInputBlinkFrames;
    std::string composition, result;
    GetComposition(composition);
    GetResult(result);
    m_status = IsImeOpen() ? "IME ON" : "IME OFF";
    m_status += IsConverted() ? " cnv" : " in";
    m_status += "[" + composition + "]" + result;
    int h = g_textHeight;
    int cursorX = m_x + m_cursor * h / 2;
    if (IsComposing()) {
        DrawTextAt(cursorX, m_y, "[");
        DrawTextAt(m_x + ((int)m_composition.size() + m_cursor) * h / 2, m_y, "]");
    } else if (g_blink < kTextInputBlinkFrames / 2) {
        DrawTextAt(cursorX, m_y, "_");
    }
    DrawTextAt(m_x, m_y + h, m_status.c_str());
    // The candidate window opens at the caret.
    if (m_context) SysImeSetCaret(cursorX, m_y, h);
}

// A second byte can look like a lead byte, so the character before the cursor is found by
// scanning from the start of the text, never by looking one or two bytes back.
void CTextInput::Backspace() {
    if (m_cursor > 0) {
        size_t start = SjisPrevCharStart(m_text.data(), m_text.size(), (size_t)m_cursor);
        m_text.erase(start, (size_t)m_cursor - start);
        m_cursor = (int)start;
    }
    m_display = m_text;
}

void CTextInput::Delete() {
    if ((size_t)m_cursor < m_text.size())
        m_text.erase((size_t)m_cursor, SjisCharLength(m_text.data(), m_text.size(), (size_t)m_cursor));
    m_display = m_text;
}

void CTextInput::CursorLeft() {
    if (m_cursor > 0) m_cursor = (int)SjisPrevCharStart(m_text.data(), m_text.size(), (size_t)m_cursor);
    m_display = m_text;
}

void CTextInput::CursorRight() {
    if ((size_t)m_cursor < m_text.size())
        m_cursor += (int)SjisCharLength(m_text.data(), m_text.size(), (size_t)m_cursor);
    m_display = m_text;
}

void CTextInput::InsertChar(int c) {
    m_text.insert((size_t)m_cursor, 1, (char)c);
    m_cursor += 1;
    m_display = m_text;
}

void CTextInput::InsertAtCursor(const std::string& s) {
    m_text.insert((size_t)m_cursor, s);
    m_cursor += (int)s.size();
    TrimToMax();
    m_display = m_text;
}

void CTextInput::CommitResult(const std::string& committed) { InsertAtCursor(committed); }

void CTextInput::InsertComposition() {
    InsertAtCursor(m_composition);
    m_composition.clear();
}

void CTextInput::TrimToMax() {
    size_t max = m_maxLength > 0 ? (size_t)m_maxLength : 0;
    if (m_text.size() > max) m_text.resize(SjisClampLength(m_text.data(), m_text.size(), max));
    if ((size_t)m_cursor > m_text.size()) m_cursor = (int)m_text.size();
    m_display = m_text;
}

void CTextInput::GetComposition(std::string& out) const { out = m_context ? SysImeComposition() : std::string(); }

// The committed text waiting for the field's next update.
void CTextInput::GetResult(std::string& out) const {
    if (m_context) GetTypedText(out);
    else out.clear();
}

bool CTextInput::IsConverted() const { return m_context && SysImeIsConverted(); }

int CTextInput::IsImeOpen() const { return m_context && SysImeIsOpen() ? 1 : 0; }
