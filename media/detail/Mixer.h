#pragma once
// Shared between the media layer's own modules only; never included outside media/.
#include <SDL2/SDL.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "media/Audio.h"
#include "media/detail/SoundData.h"
#include "media/detail/StreamDecoder.h"

namespace media_detail {

// One channel of the mixer. Its playback state is shared with the audio
// thread, so every member below is read and written only under the mixer's
// lock; the setters take it for the few instructions they need.
class MixerChannel : public TChannel {
public:
    void Stop() override;
    void SetPaused(int flag) override;
    void SetVolume(float v) override;
    void SetPan(float p) override;
    void SetRate(float r) override;
    int Playing() override;
    int64_t Position() override;

private:
    friend class Mixer;
    bool Audible() const { return sound && !paused && !stopped && !finished; }
    void UpdateGains();
    void UpdateStep();

    SoundPtr sound;
    const PcmSound* pcm = nullptr;          // set when the sound is held decoded
    std::unique_ptr<StreamDecoder> stream;  // set when it is streamed
    int64_t pos = 0;                        // whole source frames played
    uint32_t frac = 0;                      // and the fraction, in 1/2^32 frames
    uint64_t step = 0;                      // source frames per output frame, 32.32
    float volume = 1.0f, pan = 0.0f, rate = 1.0f;
    float gainL = 1.0f, gainR = 1.0f;
    bool paused = false, stopped = false, finished = false;
    bool listed = false;  // in the mixer's list of channels
};

// The game's mixer: sums every audible channel into the 44.1 kHz stereo output.
//
// It runs in one of three ways. With a sound device, SDL's audio thread pulls
// the mix through a callback. Without one, AudioUpdate mixes, each frame, the
// output frames that the milliseconds since the previous update stand for and
// throws them away, so sounds still take their real length to finish (and,
// under a driven clock, exactly as long every run). Tests and benchmarks pull
// the mix themselves with MixerRender.
//
// The main thread alone adds and removes channels and decodes streamed
// sounds; the audio thread only reads the channel list and the decoded
// samples under the lock, so it never allocates, frees or waits on a decoder.
class Mixer {
public:
    static Mixer& Get();

    void Open();
    void Close();
    bool DeviceOpen();
    void UseManual();
    void UseSilent();
    // The device was unplugged: play on silently, in time.
    void DeviceRemoved(SDL_AudioDeviceID which);
    // Opens a device again after one was removed; nothing otherwise.
    void RetryDevice();
    SDL_AudioDeviceID DeviceId() const { return device_; }
    void Update();
    void Render(int16_t* out, int frames);

    // Channels listed after letting go of the finished and stopped ones.
    int ChannelCount();

    ChannelPtr Start(const SoundPtr& sound, const ChannelPtr& channel, bool paused);
    void Unpause(const ChannelPtr* first, const ChannelPtr* last);
    bool Seek(const ChannelPtr* first, const ChannelPtr* last, int64_t ms);
    int LeadMs() const;
    bool KeepsTime() const { return mode_ == Mode::Device || mode_ == Mode::Silent; }

    std::mutex& Lock() { return lock_; }

private:
    enum class Mode { Closed, Device, Silent, Manual };
    static constexpr int CHUNK = 1024;  // output frames mixed in one go

    Mixer() { channels_.reserve(64); }
    static void SDLCALL Callback(void* self, Uint8* stream, int len);
    void CloseDevice();
    void EnterSilent();
    // Without a device: mixes, and throws away, the time since the last call.
    void AdvanceSilent();
    // Opens the default output device and starts it; 0 when there is none.
    SDL_AudioDeviceID OpenDevice();
    // Mixes in chunks, refilling streamed sounds between them (main thread).
    void RenderFromMainThread(int16_t* out, int64_t frames);
    void MixLocked(int16_t* out, int frames);
    void MixPcm(MixerChannel& ch, int frames);
    void MixStream(MixerChannel& ch, int frames);
    void RefillStreams();
    void Sweep();

    std::mutex lock_;
    Mode mode_ = Mode::Closed;
    SDL_AudioDeviceID device_ = 0;
    int deviceFrames_ = 0;  // the device's buffer, in output frames
    bool sdlAudioInit_ = false;
    bool deviceLost_ = false;  // silent because the device went away
    std::vector<std::shared_ptr<MixerChannel>> channels_;
    float acc_[2 * CHUNK];
    // Silent mixing: the clock reading of the last update, and the milliseconds
    // and frames mixed since the last whole second, so rounding never drifts.
    int32_t lastMs_ = 0;
    int64_t silentMs_ = 0;
    int64_t silentFrames_ = 0;
};

}  // namespace media_detail
