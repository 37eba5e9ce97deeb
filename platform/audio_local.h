// Platform-internal: what the sound and music backends share with the output mixer.
#pragma once

// Held while changing state that the output callback reads (the synthesiser's player).
void AudioLock();
void AudioUnlock();

// Renders the OpenAL mix into interleaved stereo floats (overwrites).
void AlRenderMix(float* interleaved, int frames);
int AlOpen();
void AlClose();

// Adds the music into interleaved stereo floats.
void MusicRenderAdd(float* interleaved, int frames);
