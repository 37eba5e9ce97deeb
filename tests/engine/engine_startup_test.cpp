// Start-up and shut-down order, the single instance, the log and the message pump.
#include "engine.h"
#include "fake_clock.h"
#include "test_folder.h"

#include "sys_info.h"
#include "sys_input.h"
#include "sys_lock.h"
#include "sys_window.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <regex>
#include <string>

namespace {

std::string g_captured;
void Capture(const char* text) { g_captured += text; }

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        SysSetLockNamespace(("engine-test-" + std::to_string(getpid())).c_str());
        g_captured.clear();
        SysSetDebugOutputSink(Capture);
        ResetLogFileName();
        const char* argv[] = {"zaumolta"};
        SetCommandLine(1, argv);
    }
    void TearDown() override {
        g_engine.Free();
        SysSetDebugOutputSink(nullptr);
    }
};

// Position of each needle in order; -1 when missing or out of order.
bool InOrder(const std::string& hay, std::initializer_list<const char*> needles) {
    size_t pos = 0;
    for (const char* n : needles) {
        size_t at = hay.find(n, pos);
        if (at == std::string::npos) return false;
        pos = at + 1;
    }
    return true;
}

}  // namespace

TEST_F(EngineTest, StartsAndStopsInOrder) {
    ASSERT_EQ(g_engine.Init(), 1);
    EXPECT_EQ(g_clientWidth, 640);
    EXPECT_EQ(g_clientHeight, 480);
    EXPECT_EQ(IsAppActive(), 1);
    g_engine.Free();
    EXPECT_TRUE(InOrder(g_captured, {"多重起動を禁止します.\n", "InitDebugStream\n", "OS = ID", "InitDirect3D\n",
                                     "InitDirectInput\n", "InitDirectSound\n", "InitDirectMusic\n",
                                     "FreeDirectMusic\n", "FreeDirectSound\n", "FreeInput\n", "FreeDirect3D\n"}))
        << g_captured;
    // A second Free finds nothing left to release.
    g_captured.clear();
    g_engine.Free();
    EXPECT_EQ(g_captured, "");
}

TEST_F(EngineTest, SystemInfoOpensTheLog) {
    InitDebugStream();
    // Date and time, the OS line and the memory line, in the log's own formats.
    EXPECT_TRUE(std::regex_search(g_captured, std::regex("InitDebugStream\n[ 0-9]{4}/[0-9]{2}/[0-9]{2}  [0-9]{2}:[0-9]{2}\n"
                                                         "OS = ID -?[0-9]+ ver,[0-9]+\\.[0-9]+ build [0-9]+\n")))
        << g_captured;
    EXPECT_NE(g_captured.find("利用可能／搭載メモリ = "), std::string::npos);
    EXPECT_EQ(g_captured.substr(g_captured.size() - 4), " MB\n");
}

namespace {
int g_callbackFrames = 0;
void CountFrame() { ++g_callbackFrames; }
}  // namespace

TEST_F(EngineTest, WindowMessagesDriveTheActiveFlagAndTheLog) {
    ASSERT_EQ(g_engine.Init(), 1);
    g_captured.clear();
    // The screen saver is refused only while the window has the focus.
    const struct {
        int gained;
        int active, saverRefused;
    } focus[] = {{1, 1, 1}, {0, 0, 0}, {1, 1, 1}};
    for (const auto& f : focus) {
        SysInjectFocus(f.gained);
        EXPECT_EQ(PumpMessages(), 1);
        EXPECT_EQ(IsAppActive(), f.active) << f.gained;
        EXPECT_EQ(SysScreenSaverRefused(), f.saverRefused) << f.gained;
    }
    EXPECT_TRUE(InOrder(g_captured, {"<アクティブ>\n", "<非アクティブ>\n", "<アクティブ>\n"})) << g_captured;
    g_engine.Free();
    EXPECT_EQ(SysScreenSaverRefused(), 0) << "the desktop gets its screen saver back with the window";
    ASSERT_EQ(g_engine.Init(), 1);
    // Full screen keeps the 640 x 480 client size whatever the window reports.
    g_captured.clear();
    OnSize(800, 600);
    EXPECT_EQ(g_clientWidth, 640);
    EXPECT_EQ(g_captured, "");
    g_windowed = 1;
    OnSize(800, 600);
    g_windowed = 0;
    EXPECT_EQ(g_clientWidth, 800);
    EXPECT_EQ(g_clientHeight, 600);
    EXPECT_EQ(g_captured, "<クライアント領域 800 x 600>\n");
}

TEST_F(EngineTest, RunFrameCallsTheFrameAndPacesIt) {
    ASSERT_EQ(g_engine.Init(), 1);
    FakeClock::Install(2000);
    g_frameTimer.Init();
    g_callbackFrames = 0;
    g_engine.SetFrameCallback(CountFrame);
    for (int i = 0; i < 3; ++i) g_engine.RunFrame();
    g_engine.SetFrameCallback(nullptr);
    FakeClock::Uninstall();
    EXPECT_EQ(g_callbackFrames, 3);
    EXPECT_EQ(FakeClock::now, 2100u);  // 33 + 33 + 34
}

TEST_F(EngineTest, SecondInstanceIsRefusedWithoutAWindow) {
    int other = SysAcquireNamedLock("vav mutex");
    ASSERT_GE(other, 0);
    EXPECT_EQ(g_engine.Init(), 0);
    EXPECT_EQ(g_captured, "多重起動を禁止します.\n");
    SysReleaseNamedLock(other);
}

TEST_F(EngineTest, ClosedWindowStopsThePumpForGood) {
    ASSERT_EQ(g_engine.Init(), 1);
    EXPECT_EQ(PumpMessages(), 1);
    CloseMainWindow();
    EXPECT_EQ(PumpMessages(), 0);
    EXPECT_EQ(PumpMessages(), 0);
    WaitMessage();  // returns at once once quit was posted
    EXPECT_EQ(PumpMessages(), 0);
}

TEST_F(EngineTest, CommandLineOptionsMatchExactly) {
    const char* argv[] = {"zaumolta", "-DBF", "/fx", "-win"};
    SetCommandLine(4, argv);
    EXPECT_EQ(HasCommandLineOption("-dbf"), 0);
    EXPECT_EQ(HasCommandLineOption("/fx"), 1);
    EXPECT_EQ(HasCommandLineOption("-fx"), 0);
    EXPECT_EQ(HasCommandLineOption("-win"), 1);
    EXPECT_EQ(HasCommandLineOption("zaumolta"), 0);  // the program name is not an option
}

TEST_F(EngineTest, LongLogLinesAreCut) {
    std::string big(1000, 'x');
    LogPrintf("%s\n", big.c_str());
    EXPECT_EQ(g_captured.size(), 255u);
}

TEST_F(EngineTest, DebugFileGoesBesideTheProgramWhateverTheCurrentFolder) {
    // The program's folder is this test's own; give the file a unique place by checking content.
    char dir[kMaxPathSize];
    GetExeDirectory(dir);
    std::string path = std::string(dir) + "debug.txt";
    unlink(path.c_str());
    CTestFolder elsewhere;
    const char* argv[] = {"zaumolta", "-dbf"};
    SetCommandLine(2, argv);
    InitDebugStream();
    LogPrintf("line %d\n", 42);
    std::string text = ReadWholeFile(path);
    unlink(path.c_str());
    EXPECT_TRUE(InOrder(text, {"----------------------------------------\n", "InitDebugStream\n", "line 42\n"})) << text;
    EXPECT_EQ(ReadWholeFile(elsewhere.File("debug.txt")), "");
}
