// Sounds in the rendered mix: playing, ending, looping, volume, 3-D placement against the
// listener, shared data, sources beyond OpenAL's default count, and the device's start-up.
#include "audio_fixture.h"
#include "audio_writer.h"

#include "sys_path.h"

#include <cstdlib>
#include <memory>

namespace {

constexpr int kRate = 22050;

class SoundTest : public AudioTest {
protected:
    // A mono 16-bit tone of the given length in the test folder.
    std::string Tone(const char* name, int ms, double hz = 440.0) {
        WriteWav(folder.File(name), kRate, 16, 1, MakeTone(kRate, hz, ms / 1000.0, 0.5));
        return name;
    }
};

}  // namespace

TEST_F(SoundTest, StartsWithItsOptionsAndLogLines) {
    StartSound({"-3ds", "/fx"});
    EXPECT_EQ(Log(), "----------------------------------------\nInitDirectSound\n"
                     "3Dサウンド = ON\nエフェクト = OFF\n");
    EXPECT_EQ(Is3DSoundEnabled(), 1);
    EXPECT_EQ(IsSoundEffectsEnabled(), 0);
    FreeDirectSound();
    EXPECT_NE(Log().find("----------------------------------------\nFreeDirectSound\n"), std::string::npos);
    Log().clear();
    FreeDirectSound();  // nothing left to release
    EXPECT_EQ(Log(), "");

    StartSound({"-3DS", "-fx"});  // options are exact
    EXPECT_NE(Log().find("3Dサウンド = OFF\nエフェクト = ON\n"), std::string::npos) << Log();
    EXPECT_EQ(Boxes(), "");
}

TEST_F(SoundTest, StartsWithoutASoundCard) {
    // An unknown driver stands for a machine without one: the dummy output takes over.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(InitDirectSound(), 1) << Log();
    EXPECT_EQ(Boxes(), "");
    CSound s;
    EXPECT_EQ(s.Load(Tone("a.wav", 50).c_str()), 1);
    s.Play(0);
    EXPECT_EQ(s.IsPlaying(), 1);
}

TEST_F(SoundTest, PlayedSoundIsHeardUntilItsEnd) {
    StartSound();
    CSound s;
    ASSERT_EQ(s.Load(Tone("tone.wav", 100).c_str()), 1);
    EXPECT_EQ(Log(), "----------------------------------------\nInitDirectSound\n3Dサウンド = OFF\nエフェクト = ON\n"
                     "load(tone.wav) ... ok.\n");
    EXPECT_EQ(s.IsPlaying(), 0);
    EXPECT_LT(RenderMix(Ms(20)).peak, 1e-6) << "loaded is not playing";
    s.Play(0);
    EXPECT_EQ(s.IsPlaying(), 1);
    MixLevels heard = RenderMix(Ms(60));
    EXPECT_GT(heard.left, 0.05);
    EXPECT_NEAR(heard.left, heard.right, heard.left * 0.05) << "a plain sound sits in the middle";
    RenderMix(Ms(80));
    EXPECT_EQ(s.IsPlaying(), 0);
    EXPECT_LT(RenderMix(Ms(20)).peak, 1e-6);

    // Short and 8-bit stereo sounds play as well.
    WriteWav(folder.File("click.wav"), kRate, 8, 2, MakeTone(kRate, 1000, 0.005, 0.8));
    CSound click;
    ASSERT_EQ(click.Load("click.wav"), 1);
    click.Play(0);
    EXPECT_GT(RenderMix(Ms(5)).peak, 0.1);
}

TEST_F(SoundTest, LoopedSoundKeepsPlayingUntilStopped) {
    StartSound();
    CSound s;
    ASSERT_EQ(s.Load(Tone("loop.wav", 30).c_str()), 1);
    s.Play(1);
    RenderMix(Ms(200));
    EXPECT_EQ(s.IsPlaying(), 1);
    EXPECT_GT(RenderMix(Ms(60)).left, 0.05);
    s.Play(1);  // again while playing: restarts, still looping
    RenderMix(Ms(100));
    EXPECT_EQ(s.IsPlaying(), 1);
    s.Stop();
    EXPECT_EQ(s.IsPlaying(), 0);
    EXPECT_LT(RenderMix(Ms(20)).peak, 1e-6);
}

TEST_F(SoundTest, VolumeAndLevel) {
    StartSound();
    CSound s;
    ASSERT_EQ(s.Load(Tone("v.wav", 2000).c_str()), 1);
    s.Play(1);
    double full = RenderSettled(Ms(50)).left;
    s.SetVolume(-2000);  // -20 dB: a tenth
    EXPECT_NEAR(RenderSettled(Ms(50)).left / full, 0.1, 0.01);
    s.SetVolume(500);    // out of range: refused, the volume stays
    EXPECT_NEAR(RenderSettled(Ms(50)).left / full, 0.1, 0.01);
    s.SetVolume(-10000);
    EXPECT_LT(RenderSettled(Ms(50)).peak, 1e-6);
    s.SetLevel(1.0);
    EXPECT_NEAR(RenderSettled(Ms(50)).left / full, 1.0, 0.02);
    s.SetLevel(0.0);
    EXPECT_LT(RenderSettled(Ms(50)).peak, 1e-6);

    // The whole output follows the primary volume, which comes back at shut-down.
    s.SetLevel(1.0);
    SetMasterLevel(0.0);
    EXPECT_LT(RenderSettled(Ms(50)).peak, 1e-6);
    SetPrimaryVolume(0);
    EXPECT_NEAR(RenderSettled(Ms(50)).left / full, 1.0, 0.02);

    EXPECT_EQ(LevelToVolume(0.0), -5000);
    EXPECT_EQ(LevelToVolume(0.5), -2500);
    EXPECT_EQ(LevelToVolume(1.0), 0);
    EXPECT_EQ(LevelToVolume(2.0), 0);
    EXPECT_EQ(LevelToVolume(-1.0), -5000);
    EXPECT_EQ(LevelToVolume(std::nan("")), -5000);
}

TEST_F(SoundTest, ThreeDSoundFollowsTheListenerInLeftHandedSpace) {
    StartSound({"-3ds"});
    CSound s;
    ASSERT_EQ(s.Load(Tone("p.wav", 2000).c_str()), 1);
    s.Play(1);

    s.SetPosition3D(-3, 0, 0);  // the default listener looks along +z: -x is on its left
    MixLevels m = RenderSettled(Ms(50));
    EXPECT_GT(m.left, 2 * m.right);
    s.SetPosition3D(3, 0, 0);
    m = RenderSettled(Ms(50));
    EXPECT_GT(m.right, 2 * m.left);

    // Looking along +x with +y up, the left-hand side is +z.
    SetListenerOrientation(1, 0, 0, 0, 1, 0);
    s.SetPosition3D(0, 0, 3);
    m = RenderSettled(Ms(50));
    EXPECT_GT(m.left, 2 * m.right);

    // Moving the listener moves what it hears: the sound is now straight ahead.
    SetListenerPosition(-3, 0, 3);
    m = RenderSettled(Ms(50));
    EXPECT_NEAR(m.left, m.right, m.left * 0.05);
    // Distance lowers it.
    double near = m.left;
    SetListenerPosition(-30, 0, 3);
    EXPECT_LT(RenderSettled(Ms(50)).left, near * 0.3);
}

TEST_F(SoundTest, WithoutThreeDSoundPositionsAndListenerChangeNothing) {
    StartSound();
    CSound s;
    ASSERT_EQ(s.Load(Tone("p.wav", 2000).c_str()), 1);
    s.Play(1);
    double before = RenderSettled(Ms(50)).left;
    s.SetPosition3D(-3, 0, 0);
    SetListenerPosition(100, 0, 0);
    SetListenerOrientation(1, 0, 0, 0, 1, 0);
    MixLevels m = RenderSettled(Ms(50));
    EXPECT_NEAR(m.left, before, before * 0.02);
    EXPECT_NEAR(m.left, m.right, m.left * 0.02);
}

TEST_F(SoundTest, SoundsOfOneFileShareTheirDataAndSourcesComeAsNeeded) {
    StartSound();
    Tone("shared.wav", 200);
    const int kSounds = 300;  // more than OpenAL's default of 256 sources
    std::unique_ptr<CSound[]> sounds(new CSound[kSounds]);
    for (int i = 0; i < kSounds; ++i) ASSERT_EQ(sounds[i].Load("shared.wav"), 1);
    EXPECT_EQ(SysSoundGetBufferCount(), 1);
    EXPECT_EQ(SysVoiceGetSourceCount(), 0) << "loading takes no source";

    for (int i = 0; i < kSounds; ++i) sounds[i].Play(0);
    for (int i = 0; i < kSounds; ++i) ASSERT_EQ(sounds[i].IsPlaying(), 1) << i;
    EXPECT_EQ(SysVoiceGetSourceCount(), kSounds);
    RenderMix(Ms(250));
    for (int i = 0; i < kSounds; ++i) EXPECT_EQ(sounds[i].IsPlaying(), 0);
    // Finished sources serve again instead of new ones.
    for (int i = 0; i < 10; ++i) sounds[i].Play(0);
    EXPECT_EQ(SysVoiceGetSourceCount(), kSounds);
    EXPECT_GT(RenderMix(Ms(20)).left, 0.05);

    // The same name in another folder is another file.
    ASSERT_TRUE(SysMakeDir("sub"));
    WriteWav(folder.File("sub/shared.wav"), kRate, 16, 1, MakeTone(kRate, 880, 0.2, 0.5));
    CSound other;
    {
        CFolderGuard guard("sub");
        ASSERT_EQ(other.Load("shared.wav"), 1);
    }
    EXPECT_EQ(SysSoundGetBufferCount(), 2);
    sounds.reset();
    EXPECT_EQ(SysSoundGetBufferCount(), 1);
    other.Release();
    EXPECT_EQ(SysSoundGetBufferCount(), 0);

    // Loading again releases first; a duplicate shares the data.
    CSound a, b;
    ASSERT_EQ(a.Load("shared.wav"), 1);
    ASSERT_EQ(a.Load("shared.wav"), 1);
    ASSERT_EQ(b.Duplicate(a), 1);
    EXPECT_EQ(SysSoundGetBufferCount(), 1);
    EXPECT_EQ(Count("release(shared.wav)\n"), (size_t)kSounds + 2);
    b.Play(0);
    EXPECT_EQ(b.IsPlaying(), 1);
    EXPECT_EQ(a.IsPlaying(), 0);
}

TEST_F(SoundTest, SoundKeptPastShutDownTouchesNothingOfTheNextDevice) {
    StartSound();
    auto old = std::make_unique<CSound>();
    ASSERT_EQ(old->Load(Tone("old.wav", 1000).c_str()), 1);
    FreeDirectSound();
    StartSound();
    CSound now;
    ASSERT_EQ(now.Load(Tone("new.wav", 1000).c_str()), 1);
    now.Play(1);
    old->Play(0);
    old.reset();
    EXPECT_EQ(now.IsPlaying(), 1);
    EXPECT_EQ(SysSoundGetBufferCount(), 1);
}

TEST_F(SoundTest, EffectsNeedTheEffectsFlag) {
    StartSound();
    CSound s;
    ASSERT_EQ(s.Load(Tone("fx.wav", 3000).c_str()), 1);
    s.Play(1);
    double dry = RenderSettled(Ms(100)).left;
    s.SetEffect(2);  // echo adds its repeats to the dry sound
    RenderMix(Ms(300));
    EXPECT_GT(RenderMix(Ms(100)).left, dry * 1.02);
    s.SetEffect(-1);
    RenderMix(Ms(3000));  // the echoes die away
    EXPECT_NEAR(RenderMix(Ms(100)).left, dry, dry * 0.02);
    FreeDirectSound();

    StartSound({"/fx"});
    CSound quiet;
    ASSERT_EQ(quiet.Load(Tone("fx.wav", 3000).c_str()), 1);
    quiet.Play(1);
    dry = RenderSettled(Ms(100)).left;
    quiet.SetEffect(2);
    RenderMix(Ms(300));
    EXPECT_NEAR(RenderMix(Ms(100)).left, dry, dry * 0.02);
}

TEST_F(SoundTest, WaveStreamPlaysItsBlocksInOrder) {
    StartSound();
    WaveFormat f;
    MakePcmFormat(&f, kRate, 16, 1);
    EXPECT_EQ(f.blockAlign, 2);
    EXPECT_EQ(f.avgBytesPerSec, 2u * kRate);
    const int kBlockFrames = kRate / 20;  // 50 ms
    CWaveStream stream;
    ASSERT_EQ(stream.CreateSoundBuffer(f, kBlockFrames * 2, 2), 1);
    EXPECT_LT(RenderMix(Ms(55)).peak, 1e-6) << "starts with silence";
    std::vector<int16_t> tone = MakeTone(kRate, 440, 0.05, 0.5);
    ASSERT_EQ(stream.Enqueue(tone.data(), (int)tone.size() * 2), 1);
    EXPECT_LT(RenderMix(Ms(45)).peak, 1e-6) << "the second silent block plays first";
    RenderMix(Ms(10));
    EXPECT_GT(RenderMix(Ms(40)).left, 0.05);

    WaveFormat adpcm = f;
    adpcm.formatTag = 2;
    EXPECT_EQ(stream.CreateSoundBuffer(adpcm, 100, 2), 0);
    EXPECT_NE(Log().find("CWaveStream::CreateSoundBuffer\n"), std::string::npos);
    EXPECT_EQ(stream.Enqueue(tone.data(), 100), 0);
}
