// Shared by the sound and music tests: the sound device up with the output callback stopped,
// so each test renders the mix itself; the log and message boxes captured; a private folder.
#pragma once

#include "engine.h"
#include "sound.h"
#include "test_folder.h"

#include "sys_audio.h"
#include "sys_info.h"
#include "sys_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

struct MixLevels {
    double left = 0, right = 0;  // RMS of each channel
    double peak = 0;
};

inline MixLevels RenderMix(int frames) {
    std::vector<float> buf((size_t)frames * kAudioChannels);
    SysAudioRender(buf.data(), frames);
    MixLevels m;
    for (int i = 0; i < frames; ++i) {
        m.left += buf[2 * i] * buf[2 * i];
        m.right += buf[2 * i + 1] * buf[2 * i + 1];
        m.peak = std::max(m.peak, (double)std::max(std::fabs(buf[2 * i]), std::fabs(buf[2 * i + 1])));
    }
    m.left = std::sqrt(m.left / frames);
    m.right = std::sqrt(m.right / frames);
    return m;
}

inline int Ms(int ms) { return kAudioRate * ms / 1000; }  // output frames

// OpenAL glides to a new gain or position over one mixing block (2048 frames) so that changes
// never click; a measurement after a change first lets that pass.
inline MixLevels RenderSettled(int frames) {
    RenderMix(2048);
    return RenderMix(frames);
}

class AudioTest : public ::testing::Test {
protected:
    static std::string& Log() {
        static std::string log;
        return log;
    }
    static std::string& Boxes() {
        static std::string boxes;
        return boxes;
    }
    static void CaptureLog(const char* text) { Log() += text; }
    static void CaptureBox(const char*, const char* text) { Boxes() += std::string(text) + "\n"; }

    void SetUp() override {
        Log().clear();
        Boxes().clear();
        SysSetDebugOutputSink(CaptureLog);
        SysSetMessageBoxSink(CaptureBox);
        ResetLogFileName();
        SetOptions({});
    }
    void TearDown() override {
        FreeDirectSound();
        SysSetMessageBoxSink(nullptr);
        SysSetDebugOutputSink(nullptr);
    }
    void SetOptions(std::initializer_list<const char*> options) {
        std::vector<const char*> argv = {"zaumolta"};
        argv.insert(argv.end(), options.begin(), options.end());
        SetCommandLine((int)argv.size(), argv.data());
    }
    // The device with the given options; the mix advances only when the test renders it.
    void StartSound(std::initializer_list<const char*> options = {}) {
        SetOptions(options);
        ASSERT_EQ(InitDirectSound(), 1) << Log();
        SysAudioSetManualRender(1);
    }
    size_t Count(const std::string& needle) const { return (size_t)CountOf(Log(), needle); }

    CTestFolder folder;
};
