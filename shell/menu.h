// CMenu: every menu of the game. A titled vertical list of framed text strips that slide into
// place; item 0 is always "Cancel", shown only while the cursor is on it. Menu loops move the
// cursor with CMenu::CursorPrev / CursorNext and return the cursor or the selected text.
#pragma once

#include "sprite.h"
#include "texture.h"

#include <cstdint>
#include <string>

constexpr int kMenuItemCount = 20;     // item 0 "Cancel" and up to 19 entries
constexpr int kMenuMaxIndex = kMenuItemCount - 1;
constexpr int kMenuFrameWidth = 200;   // the part of the frame picture behind each item
constexpr int kMenuFrameHeight = 20;
constexpr int kMenuItemMaxX = 621;     // an item never leaves the screen further than this
constexpr int kMenuItemMaxY = 461;

// One strip of the list.
struct CMenuItem {
    CSprite m_frame;
    CTexture m_textTexture;
    CSprite m_textSprite;
    std::string m_text;
    int m_width;
    int m_height;
    int m_style;        // 0: translucent frame, pulsing when selected; 1: opaque frame, pulsing text
    int m_x, m_y;       // current screen position
    int m_targetX, m_targetY;
    int m_state;        // -1 not selected, 0 selected
    float m_pulse;      // phase of the highlight; restarts when the selection changes
    std::string m_fontFace;
    uint32_t m_textColor;
    int m_fontSize;

    CMenuItem();
    void Init();        // layout, position and highlight to their defaults; the text stays
    void SetText(const std::string& text);
    void Animate(int selected, int targetX, int targetY);
    void Draw();
};

class CMenu {
public:
    CMenu();
    ~CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    void Create();
    void Reset();                               // reusable: no title, no items, cursor 1
    void SetTitle(const std::string& title);
    void AddItem(const std::string& text);      // dropped once 19 items are in
    void SetStyle(int style);
    void SetFrameTexture(const char* path);
    void SetFont(const std::string& face, uint32_t color, int size);
    void CursorNext();                          // clamped to the last item, no wrap
    void CursorPrev();                          // clamped to 0 ("Cancel"), no wrap
    std::string GetSelectedText() const;        // "" on "Cancel"
    void Draw();

    CTexture m_frameTexture;
    CSprite m_frameSprite;     // holds the frame texture; never drawn
    std::string m_hint;
    std::string m_title;
    CMenuItem m_items[kMenuItemCount];
    CTexture m_titleTexture;
    int m_cursor;              // 0 "Cancel", 1.. the items
    int m_count;               // items besides "Cancel"
    int m_maxIndex;
    std::string m_unused;
    int m_lineHeight;
    int m_style;
    int m_left, m_top;
    unsigned char m_flag;
    std::string m_fontFace;
    uint32_t m_color;
    int m_fontSize;
};
