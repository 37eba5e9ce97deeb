// The staff roll after a won campaign: thirty text lines climbing one pixel a frame over a
// night picture, fading in at the bottom and out at the top, until a key or a minute ends it.
#pragma once

#include "menu_input.h"
#include "sprite.h"
#include "texture.h"

#include <string>

constexpr int kStaffRollLines = 30;
constexpr int kStaffRollFrames = 1800;   // one minute; the roll has long left the screen by then
constexpr int kStaffRollX = 200;
constexpr int kStaffRollLineSpacing = 40;

class CStaffRoll {
public:
    CStaffRoll();   // the picture and the thirty lines' textures
    ~CStaffRoll() = default;
    CStaffRoll(const CStaffRoll&) = delete;
    CStaffRoll& operator=(const CStaffRoll&) = delete;

    void Update();     // one frame
    void DrawLines();
    int DrawLine(int x, int y, int line);  // 1 when the line was drawn
    int IsDone() const { return m_done; }

    unsigned char m_done = 0;
    int m_unused = 0;
    int m_frameCount = 0;
    CSprite m_background;
    CTexture m_backgroundTexture;
    std::string m_lines[kStaffRollLines];
    CTexture m_textures[kStaffRollLines];
    CSprite m_sprites[kStaffRollLines];
    CMenuInput m_input;
};

// The endings of the two campaigns: the staff roll over the campaign tune.
void EndingScene();
void TeamEndingScene();

// Where line i stands on a frame: it enters at the bottom edge and climbs a pixel a frame.
int StaffRollLineY(int line, int frameCount);
// The sprite colour of a line at height y: white, its alpha in 16 steps of 0x11.
uint32_t StaffRollLineColor(int y);
