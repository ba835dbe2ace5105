#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

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
// Playing before opening opens the audio on the spot.
void OpenAudio();
// Stops every channel and closes the device; the next OpenAudio or play starts afresh.
void CloseAudio();
// True while a real sound device plays the mix.
bool AudioDeviceOpen();
// Called once per frame by the main loop: refills the buffers of streamed
// sounds, forgets finished channels and, without a device, advances the silent
// mixer by the milliseconds ClockMs moved since the previous call.
void AudioUpdate();
// After the sound device was removed (unplugged headphones, a USB card) the
// mixer plays on silently in time; this looks for a device again, as a level
// start does, and plays through it when one is there. Nothing otherwise.
void RetryAudioDevice();
// Tells the mixer, through the event queue as the system would, that its
// device was removed (tests; the next PollEvents delivers it).
void InjectAudioDeviceRemoved();
// The channels the mixer holds: playing, paused or cued ones, once those
// that finished or were stopped are let go. A screen at rest holds the same
// number every time it is reached, so a count that creeps up is a leak.
int MixerChannelCount();
// Stops the device thread and lets the caller mix by hand (tests, benchmarks).
void UseManualMixer();
// Runs the silent clock-driven mixer exactly as when no device can be opened,
// without trying one (tests and tools, with the driven clock).
void UseSilentMixer();
// Mixes the next `frames` stereo frames into `out` (2 × frames samples, may be
// null to discard them) and advances every playing channel; only under the
// manual mixer. Streamed sounds are refilled as needed.
void MixerRender(int16_t* out, int frames);
constexpr int MIXER_RATE = 44100;
// Sounds longer than this are streamed while they play instead of decoded whole.
constexpr double STREAM_ABOVE_SECONDS = 10.0;
// Playback rates are kept within [0, MAX_RATE].
constexpr float MAX_RATE = 16.0f;

// WAV or OGG Vorbis; null on failure. Long OGG files are streamed from disk
// while they play instead of being decoded whole.
SoundPtr LoadSound(const std::string& path, int flags = 0);
SoundPtr LoadSound(StreamPtr stream, int flags = 0);

// Starts the sound unpaused, at volume 1, centred and at normal speed, on
// `channel` (stopping what it played) or on a new channel when it is null.
// A stopped channel is not revived: the sound starts on a new one. Null when
// `sound` is null.
ChannelPtr PlaySound(const SoundPtr& sound, const ChannelPtr& channel = nullptr);
// As PlaySound, but paused at the start: configure several, then start them
// with StartCued so they begin on the same output sample.
ChannelPtr CueSound(const SoundPtr& sound, const ChannelPtr& channel = nullptr);
// Unpauses the given cued channels atomically (same output sample).
// Null entries and stopped channels are skipped.
void StartCued(std::initializer_list<ChannelPtr> channels);
void StartCued(const std::vector<ChannelPtr>& channels);
// Moves the given channels to `ms` milliseconds into their sounds, all on the
// same output sample, so tracks that played together stay together; each
// keeps its pause, volume, pan and rate. A looping sound wraps; a sound that
// does not loop and is shorter than `ms` finishes. Null and stopped channels
// are skipped; a streamed channel whose source no longer reads stays where it
// was, and the result is then false.
bool SeekChannels(const std::vector<ChannelPtr>& channels, int64_t ms);
// How far the mixer's channel positions may run ahead of the sound heard: the
// output buffering of the sound device, in milliseconds; 0 without a device,
// where positions follow the clock exactly.
int AudioLeadMs();
// False under the manual mixer, where the caller moves the channels by hand
// and their positions say nothing about the time that passed.
bool AudioKeepsTime();

class TSound {
public:
    virtual ~TSound() = default;
    int flags = 0;
    bool Loops() const { return (flags & SOUND_LOOP) != 0; }
    // Length in frames at the sound's own rate, and that rate.
    virtual int64_t Frames() const = 0;
    virtual int Rate() const = 0;
    virtual int Channels() const = 0;
    // True when the sound is decoded while it plays rather than held decoded.
    virtual bool Streamed() const = 0;
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
    // Position in source frames (for tests of pause and resume); a looping
    // sound's position wraps to its start.
    virtual int64_t Position() = 0;
};
