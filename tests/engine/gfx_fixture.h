// A window and a running 3-D device for the graphics tests, with the log and message boxes
// captured instead of shown.
#pragma once

#include "engine.h"
#include "graphics.h"

#include "sys_info.h"
#include "sys_window.h"

#include <gtest/gtest.h>

#include <string>

inline std::string g_gfxLog;
inline std::string g_gfxBoxes;

class GfxTest : public ::testing::Test {
protected:
    static void Capture(const char* text) { g_gfxLog += text; }
    static void Box(const char* title, const char* text) { g_gfxBoxes += std::string(title) + ":" + text + "\n"; }

    // Options as given on the command line ("-win", "-2nd").
    void StartDevice(std::initializer_list<const char*> options = {}, int expect = 1) {
        const char* argv[8] = {"zaumolta"};
        int argc = 1;
        for (const char* o : options) argv[argc++] = o;
        SetCommandLine(argc, argv);
        ASSERT_EQ(CreateMainWindow(), 1);
        ASSERT_EQ(InitDirect3D(), expect) << g_gfxLog;
    }

    void SetUp() override {
        g_gfxLog.clear();
        g_gfxBoxes.clear();
        ResetLogFileName();
        SysSetDebugOutputSink(Capture);
        SysSetMessageBoxSink(Box);
    }
    void TearDown() override {
        FreeDirect3D();
        SysDestroyWindow();
        GfxTestResetDisplay();
        g_windowed = 0;
        SysSetDebugOutputSink(nullptr);
        SysSetMessageBoxSink(nullptr);
    }

    // Draws one frame's content through fn between BeginFrame and EndFrame.
    template <typename Fn>
    void Frame(uint32_t clear, Fn fn) {
        ASSERT_EQ(BeginFrame(clear), 1);
        fn();
        EndFrame();
    }
};

// Screen-space coloured vertex (format 0x44).
struct TVertex {
    float x, y, z, rhw;
    uint32_t color;
};
// World-space coloured vertex (format 0x42).
struct LVertex {
    float x, y, z;
    uint32_t color;
};
