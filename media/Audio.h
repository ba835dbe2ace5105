#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "media/TStream.h"

// Sound playback through the game's own mixer on an SDL audio device.
// Output: 44 100 Hz, stereo, 16-bit. With no audio device the mixer still runs
// on ClockMs, silently, so channels report Playing() for the sound's length and
// levels end on time. Tests pull mixed samples themselves with MixerRender.

class TSound;
class TChannel;
using SoundPtr = std::shared_ptr<TSound>;
using ChannelPtr = std::shared_ptr<TChannel>;

enum SoundFlags { SOUND_LOOP = 1 };

// Opens the audio device (or the silent clock-driven mixer when there is none,
// after one line on standard output). Safe to call more than once.
void OpenAudio();
void CloseAudio();
bool AudioDeviceOpen();
// Stops the device thread and lets the caller mix by hand (tests, benchmarks).
void UseManualMixer();
// Mixes the next `frames` stereo frames into `out` (2 × frames samples) and
// advances every playing channel; only under the manual mixer.
void MixerRender(int16_t* out, int frames);
constexpr int MIXER_RATE = 44100;

// WAV or OGG Vorbis; null on failure. Long OGG files are streamed from disk
// while they play instead of being decoded whole.
SoundPtr LoadSound(const std::string& path, int flags = 0);
SoundPtr LoadSound(StreamPtr stream, int flags = 0);

// Starts the sound at volume 1, unpaused, on `channel` (stopping what it
// played) or on a new channel when it is null.
ChannelPtr PlaySound(const SoundPtr& sound, const ChannelPtr& channel = nullptr);
// As PlaySound, but paused at the start: configure several, then start them
// with StartCued so they begin on the same output sample.
ChannelPtr CueSound(const SoundPtr& sound, const ChannelPtr& channel = nullptr);
// Unpauses the given cued channels atomically (same output sample).
void StartCued(std::initializer_list<ChannelPtr> channels);

class TSound {
public:
    virtual ~TSound() = default;
    int flags = 0;
    bool Loops() const { return (flags & SOUND_LOOP) != 0; }
    // Length in frames at the sound's own rate, and that rate.
    virtual int64_t Frames() const = 0;
    virtual int Rate() const = 0;
    virtual int Channels() const = 0;
};

class TChannel {
public:
    virtual ~TChannel() = default;
    virtual void Stop() = 0;
    virtual void SetPaused(int flag) = 0;
    virtual void SetVolume(float v) = 0;
    virtual void SetPan(float p) = 0;
    virtual void SetRate(float r) = 0;
    // 1 while neither stopped, finished nor paused.
    virtual int Playing() = 0;
    // Position in source frames (for tests of pause and resume).
    virtual int64_t Position() = 0;
};
