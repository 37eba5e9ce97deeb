// A one-line Shift-JIS text field with Japanese input: typed single-byte characters, the editing
// keys and the input method's committed text from the input's queue, in the order typed; the
// composition the field draws itself in brackets at the cursor, with a status line below. The
// cursor moves and deletes by whole characters. The owner calls Update once a frame and ends the
// input on its result.
#pragma once

#include <string>

constexpr int kTextInputDefaultMax = 80;   // bytes, unless Attach sets another
constexpr int kTextInputBlinkFrames = 30;  // the cursor mark shows for the first half

class CTextInput {
public:
    CTextInput();
    ~CTextInput();                       // ReleaseContext

    // The field is open for typing, with the desktop's input method on, from its first Update
    // or SetOpenStatus(1) until SetOpenStatus(0), ReleaseContext or its destruction.
    void Attach(int x, int y, int maxLength);  // takes the input method; cursor 0; text kept
    void ReleaseContext();
    int Update();                        // 1 Enter, -1 Escape (neither while composing), else 0

    // The text, as the lobby and the battle chat read and set it.
    void GetText(std::string& text) const;
    void SetText(const std::string& text);  // cursor at its end; the maximum is not applied
    void SetOpenStatus(int open);

    // Steps of the update
    void DrawStatus();
    void Backspace();
    void Delete();
    void CursorLeft();
    void CursorRight();
    void InsertChar(int c);
    void CommitResult(const std::string& committed);  // the input method's text goes in at the cursor
    void InsertComposition();            // the held composition goes in at the cursor
    void TrimToMax();                    // cut at the end, by whole characters
    void GetComposition(std::string& out) const;
    void GetResult(std::string& out) const;
    bool IsConverted() const;
    int IsImeOpen() const;
    bool IsComposing() const { return !m_composition.empty(); }

    // What the field shows and where (tests, drawing).
    const std::string& GetDisplayText() const { return m_display; }
    const std::string& GetStatusLine() const { return m_status; }
    int GetCursor() const { return m_cursor; }

    CTextInput(const CTextInput&) = delete;
    CTextInput& operator=(const CTextInput&) = delete;

private:
    void InsertAtCursor(const std::string& s);
    int TakeTypedInput();                // everything waiting, in order; 1 Enter, -1 Escape
    int ApplyTyped(int c);               // one entry of the queue other than committed text
    void SetTyping(bool typing);

    int m_context = 0;                   // 1 while the input method is taken
    bool m_closed = false;               // the owner closed the input method
    bool m_typing = false;               // counted among the fields open for typing
    std::string m_text;
    std::string m_display;
    std::string m_composition;
    std::string m_status;
    int m_x = 0, m_y = 0;
    int m_cursor = 0;                    // byte index, always at a character start
    int m_maxLength = kTextInputDefaultMax;
};

bool IsShiftJisLeadByte(unsigned char c);  // 0x81..0x9F or 0xE0..0xFC
bool IsPrintableAscii(int c);
