// CInfoPanel: a message banner, an image strip with one line of text and a sound, shown for a
// countdown of frames after each new text. The battle owns two; the robot preview one.
#pragma once

#include "sound.h"
#include "sprite.h"
#include "texture.h"

#include <cstdint>
#include <string>

class CInfoPanel {
public:
    CInfoPanel();  // hidden; the image "bmp\info_01.png"
    CInfoPanel(const CInfoPanel&) = delete;
    CInfoPanel& operator=(const CInfoPanel&) = delete;

    void SetImage(int duration, uint32_t textColor, const std::string& file);
    void SetText(const std::string& text);  // countdown := duration, age := 0; plays the sound
    void Draw();                            // once a frame
    void DrawBanner();
    // The banner's alpha and its slide to the left of m_x (entrance and exit ramps), 0 to 255.
    int GetAlpha() const;
    int GetSlide() const;

    std::string m_text;
    CTexture m_textTexture;
    CSprite m_textSprite;
    CTexture m_imageTexture;
    CSprite m_imageSprite;
    uint32_t m_textColor = 0xFFFFFFFF;
    int m_x = 220, m_y = 300;
    int m_countdown = 0;  // frames left to show; the battle sets it after SetText for longer shows
    int m_age = 0;
    int m_duration = 90;
    CSound m_sound;       // "wave\cursor03.wav"
};
