// MIDI music in the rendered mix: the game's entry PlayMidiFile, loading once per path, stop,
// files read whole at load, a missing soundfont, and the media-event path of the movie player.
#include "audio_fixture.h"
#include "audio_writer.h"
#include "music.h"

#include "sys_lock.h"
#include "sys_media.h"
#include "sys_music.h"
#include "sys_path.h"

#include <unistd.h>

namespace {

class MusicTest : public AudioTest {
protected:
    void TearDown() override {
        FreeDirectMusic();
        SysMusicSetSoundFontPath(nullptr);
        AudioTest::TearDown();
    }
    void StartMusic() {
        StartSound();
        ASSERT_EQ(InitDirectMusic(), 1);
    }
    // A tune of one long note on the given General MIDI program.
    void WriteNote(const char* name, int key, int program = 0) {
        WriteMidi(folder.File(name), MakeMidi(480, 500000, {{0, program}}, {{0, 1920, 0, key, 110}}));
    }
};

}  // namespace

TEST_F(MusicTest, GeneratedTuneIsHeard) {
    StartMusic();
    EXPECT_EQ(Log(), "----------------------------------------\nInitDirectSound\n3Dサウンド = OFF\nエフェクト = ON\n"
                     "----------------------------------------\nInitDirectMusic\n");
    EXPECT_EQ(SysMusicHasSoundFont(), 1);
    std::string tune = std::string(TEST_DATA_DIR) + "/midi/tune.mid";
    PlayMidiFile(tune.c_str());
    EXPECT_EQ(IsMusicPlaying(), 1);
    EXPECT_GT(RenderMix(Ms(1000)).left, 0.01);
    FreeDirectMusic();
    EXPECT_NE(Log().find("----------------------------------------\nFreeDirectMusic\n"), std::string::npos);
    EXPECT_LT(RenderMix(Ms(50)).peak, 1e-6);
}

TEST_F(MusicTest, SamePathLoadsOnceAndStopSilences) {
    StartMusic();
    WriteNote("a.mid", 60);
    for (int frame = 0; frame < 30; ++frame) {
        PlayMidiFile("a.mid");
        RenderMix(Ms(33));
    }
    EXPECT_EQ(Count("load(a.mid) ... ok.\n"), 1u) << Log();
    EXPECT_EQ(IsMusicPlaying(), 1);
    EXPECT_GT(RenderMix(Ms(100)).left, 0.001);

    StopMusic();
    EXPECT_EQ(IsMusicPlaying(), 0);
    RenderMix(Ms(1000));  // the reverb's tail
    EXPECT_LT(RenderMix(Ms(100)).peak, 1e-4);
    PlayMidiFile("a.mid");  // the same path again: not reloaded, played from the start
    EXPECT_EQ(Count("load("), 1u);
    EXPECT_EQ(IsMusicPlaying(), 1);
}

TEST_F(MusicTest, LoopedMusicOutlastsTheFile) {
    StartMusic();
    WriteMidi(folder.File("short.mid"), MakeMidi(480, 500000, {{0, 0}}, {{0, 200, 0, 64, 110}}));
    PlayMidiFile("short.mid");
    RenderMix(Ms(4000));
    EXPECT_EQ(IsMusicPlaying(), 1);
    StopMusic();
    ASSERT_EQ(LoadMidi("short.mid"), 1);
    PlayMusic(0);
    RenderMix(Ms(4000));  // the player lets the last notes ring out before it reports the end
    EXPECT_EQ(IsMusicPlaying(), 0) << "played once without the loop flag";
}

TEST_F(MusicTest, LoopsRestartAndTunesWithNothingToRepeatNeverHang) {
    StartMusic();
    // A looped short note sounds again pass after pass.
    WriteMidi(folder.File("short.mid"), MakeMidi(480, 500000, {{0, 0}}, {{0, 200, 0, 64, 110}}));
    PlayMidiFile("short.mid");
    RenderMix(Ms(2000));
    EXPECT_GT(RenderMix(Ms(500)).left, 0.01);

    // A tune that lasts no time, and one in SMPTE time that the synthesiser cannot read: looped,
    // they count as playing, silently, and the mix goes on.
    WriteWholeFile(folder.File("empty.mid"),
                   std::string("MThd\0\0\0\6\0\0\0\1\1\xe0MTrk\0\0\0\4\0\xff\x2f\0", 26));
    std::string smpte = MakeMidi(480, 500000, {{0, 0}}, {{0, 200, 0, 64, 110}});
    smpte[12] = '\xe7';  // -25 frames a second
    smpte[13] = 40;      // ticks a frame
    WriteWholeFile(folder.File("smpte.mid"), smpte);
    for (const char* name : {"empty.mid", "smpte.mid"}) {
        for (int frame = 0; frame < 10; ++frame) {
            PlayMidiFile(name);
            RenderMix(Ms(33));
        }
        EXPECT_EQ(IsMusicPlaying(), 1) << name;
        EXPECT_EQ(Count(std::string("load(") + name + ") ... ok.\n"), 1u) << Log();
        RenderMix(Ms(1000));  // the reverb's tail of the last tune
        EXPECT_LT(RenderMix(Ms(100)).peak, 1e-4) << name;
    }
    StopMusic();
    EXPECT_EQ(IsMusicPlaying(), 0);
}

TEST_F(MusicTest, PauseKeepsThePlaceAndStopGoesBackToTheStart) {
    StartMusic();
    std::string tune = std::string(TEST_DATA_DIR) + "/midi/tune.mid";
    ASSERT_EQ(LoadMidi(tune.c_str()), 1);
    PlayMusic(1);
    RenderMix(Ms(1000));  // 120 beats a minute at 480 ticks a beat: about 960 ticks
    PauseMusic();
    EXPECT_EQ(IsMusicPlaying(), 0);
    PlayMusic(1);
    RenderMix(Ms(100));
    EXPECT_GT(SysMusicGetTick(), 900);
    StopMusic();
    PlayMusic(1);
    RenderMix(Ms(100));
    EXPECT_LT(SysMusicGetTick(), 300);
}

TEST_F(MusicTest, AnotherFileReplacesTheFirst) {
    StartMusic();
    WriteNote("a.mid", 60);
    WriteNote("b.mid", 72);
    PlayMidiFile("a.mid");
    RenderMix(Ms(300));
    PlayMidiFile("b.mid");
    EXPECT_STREQ(GetLoadedMidiName(), "b.mid");
    EXPECT_EQ(IsMusicPlaying(), 1);
    EXPECT_NE(Log().find("load(a.mid) ... ok.\nload(b.mid) ... ok.\n"), std::string::npos) << Log();
    EXPECT_GT(RenderMix(Ms(300)).left, 0.01);
}

TEST_F(MusicTest, FileIsReadWholeAtLoad) {
    StartMusic();
    ASSERT_TRUE(SysMakeDir("midi"));
    WriteNote("midi/gone.mid", 67);
    {
        CFolderGuard guard("midi");
        ASSERT_EQ(LoadMidi("gone.mid"), 1);
    }
    unlink(folder.File("midi/gone.mid").c_str());
    PlayMusic(1);
    EXPECT_GT(RenderMix(Ms(500)).left, 0.01);
}

TEST_F(MusicTest, BadFilesLogOnceAndStaySilent) {
    StartMusic();
    for (int frame = 0; frame < 5; ++frame) PlayMidiFile("missing.mid");
    EXPECT_EQ(Count("load(missing.mid) ... can't load object.\n"), 1u) << Log();
    EXPECT_EQ(IsMusicPlaying(), 0);

    WriteWholeFile(folder.File("text.mid"), "not a midi file");
    EXPECT_EQ(LoadMidi("text.mid"), 0);
    EXPECT_EQ(Count("load(text.mid) ... can't load object.\n"), 1u);

    // A header that promises tracks it does not have.
    std::string header = std::string("MThd\0\0\0\6\0\0\0\1\1\xe0", 14) + "MTrk" + std::string("\0\0\1\0", 4);
    WriteWholeFile(folder.File("cut.mid"), header);
    EXPECT_EQ(LoadMidi("cut.mid"), 0);
    EXPECT_EQ(Count("load(cut.mid) ... ok.\nmidi err.\n"), 1u) << Log();
    PlayMusic(1);
    EXPECT_EQ(IsMusicPlaying(), 0);
    EXPECT_LT(RenderMix(Ms(200)).peak, 1e-6);
    EXPECT_EQ(Boxes(), "");
}

TEST_F(MusicTest, MissingSoundFontLeavesMusicSilentButRunning) {
    SysMusicSetSoundFontPath("/nonexistent/none.sf2");
    StartMusic();
    EXPECT_NE(Log().find("InitDirectMusic\nload(/nonexistent/none.sf2) ... failed.\n"), std::string::npos) << Log();
    EXPECT_EQ(Boxes(), "");
    WriteNote("a.mid", 60);
    PlayMidiFile("a.mid");
    EXPECT_EQ(IsMusicPlaying(), 1);
    EXPECT_LT(RenderMix(Ms(500)).peak, 1e-6);
}

TEST_F(MusicTest, PerformanceWithoutTheSoundDeviceFailsWithItsBox) {
    ASSERT_EQ(InitDirectMusic(), 1);
    WriteNote("a.mid", 60);
    EXPECT_EQ(LoadMidi("a.mid"), 0);
    EXPECT_EQ(Boxes(), "パフォーマンスが初期化できません.\n");
    PlayMusic(1);
    EXPECT_EQ(IsMusicPlaying(), 0);
}

TEST_F(MusicTest, MoviesCannotPlayAndMediaEventsStopAtCompletion) {
    SysSetLockNamespace(("music-test-" + std::to_string(getpid())).c_str());
    ASSERT_EQ(g_engine.Init(), 1) << Log();
    ASSERT_EQ(InitDirectShow(), 1);
    EXPECT_EQ(PlayMovie("movie\\intro.mpg"), 0);
    EXPECT_NE(Log().find("InitDirectShow\nplay(movie\\intro.mpg) ... can't render.\n"), std::string::npos) << Log();
    EXPECT_EQ(IsMoviePlaying(), 0);
    PlaceVideoWindow();  // no video window: nothing to place

    // Each posted event wakes the pump, whose handler drains the queue while the player is up.
    SysPostMediaEvent(99, 0, 0);
    SysPostMediaEvent(kMediaEventComplete, 0, 0);
    SysPostMediaEvent(kMediaEventUserAbort, 0, 0);
    PumpMessages();
    int code = 0;
    EXPECT_EQ(SysGetMediaEvent(&code, nullptr, nullptr), 0);
    EXPECT_EQ(IsMoviePlaying(), 0);

    FreeDirectShow();
    SysPostMediaEvent(kMediaEventComplete, 0, 0);
    PumpMessages();  // nobody listens now; the event waits
    EXPECT_EQ(SysGetMediaEvent(&code, nullptr, nullptr), 1);
    EXPECT_EQ(code, kMediaEventComplete);
    g_engine.Free();
}
