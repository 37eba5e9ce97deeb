// CInfoPanel: a message banner, an image strip with one line of text and a sound, shown for a
// countdown of frames after each new text. The battle owns two; the robot preview one.
#pragma once

#include <cstdint>
#include <string>

class CInfoPanel {
public:
    void SetImage(int duration, uint32_t textColor, const std::string& file);
    void SetText(const std::string& text);  // countdown := duration, age := 0
    void Draw();                            // once a frame

    std::string m_text;
    uint32_t m_textColor = 0xFFFFFFFF;
    int m_x = 220, m_y = 300;
    int m_countdown = 0;  // frames left to show; the battle sets it after SetText for longer shows
    int m_age = 0;
    int m_duration = 90;
};
