// A scrolling pane of up to twenty coloured text lines over a backdrop picture: the stat sheets
// of robot select and the garage, and the lobby's chat and status lines. Each line is rendered
// once into its own text texture when it changes and drawn as a sprite.
#pragma once

#include "sprite.h"
#include "texture.h"

#include <cstdint>
#include <string>

constexpr int kTextListLines = 20;        // lines the pane holds; older lines scroll out
constexpr int kTextListSerialWrap = 1000;  // numbered lines count 0 to 999
constexpr int kTextListRecentLines = 5;   // lines above the current one that DrawRecent shows

struct CTextList {
    int m_serial;       // counts added lines, modulo 1000
    int m_currentLine;  // the line the next text goes to
    int m_maxLines;
    std::string m_lines[kTextListLines];
    unsigned char m_dirty;  // a line changed since the textures were rendered
    CTexture m_textures[kTextListLines];
    CSprite m_sprites[kTextListLines];
    uint32_t m_colors[kTextListLines];
    CTexture m_backTexture;
    CSprite m_backSprite;
    uint32_t m_defaultColor;
    std::string m_face;
    int m_lineHeight;  // also the text height
    int m_x, m_y;      // the pane's top-left corner on the screen

    CTextList();  // loads the backdrop and clears the pane
    ~CTextList();
    CTextList(const CTextList&) = delete;  // sprites point at the list's own textures
    CTextList& operator=(const CTextList&) = delete;

    // Lines
    void Clear();
    void AddLine(const std::string& text, uint32_t color);
    void AddNumberedLine(const std::string& text);  // "serial>text" in the default colour
    void Append(const std::string& text);           // onto the current line, without advancing

    // Drawing (sprites inside the frame's sprite batch)
    void RenderDirty();
    void Draw();
    void DrawScaled(float s);
    void DrawRecent();  // the current line and up to five before it, without the backdrop
    // Plain dumps with the engine's text font
    void DumpText();
    void DumpTextRight();
    void DumpTextTail(int n);
};
