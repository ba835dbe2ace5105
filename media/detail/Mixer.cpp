#include "media/detail/Mixer.h"

#include <algorithm>
#include <cmath>

#include "media/Clock.h"
#include "media/System.h"

namespace media_detail {

// ---- channel ----------------------------------------------------------------

void MixerChannel::UpdateGains() {
    // Balance: the side the sound moves away from fades out, the other keeps
    // full level, so a centred sound plays at unit gain.
    gainL = volume * (pan > 0.0f ? 1.0f - pan : 1.0f);
    gainR = volume * (pan < 0.0f ? 1.0f + pan : 1.0f);
}

void MixerChannel::UpdateStep() {
    int sourceRate = sound ? sound->Rate() : MIXER_RATE;
    double frames = static_cast<double>(rate) * sourceRate / MIXER_RATE;
    step = static_cast<uint64_t>(std::llround(frames * 4294967296.0));
}

void MixerChannel::Stop() {
    SoundPtr oldSound;
    std::unique_ptr<StreamDecoder> oldStream;
    {
        std::lock_guard<std::mutex> hold(Mixer::Get().Lock());
        stopped = true;
        pcm = nullptr;
        oldSound = std::move(sound);
        oldStream = std::move(stream);
    }
    // The decoder and sound are released here, outside the lock.
}

void MixerChannel::SetPaused(int flag) {
    std::lock_guard<std::mutex> hold(Mixer::Get().Lock());
    if (!stopped) paused = flag != 0;
}

void MixerChannel::SetVolume(float v) {
    std::lock_guard<std::mutex> hold(Mixer::Get().Lock());
    if (stopped) return;
    volume = std::clamp(std::isnan(v) ? 0.0f : v, 0.0f, 1.0f);
    UpdateGains();
}

void MixerChannel::SetPan(float p) {
    std::lock_guard<std::mutex> hold(Mixer::Get().Lock());
    if (stopped) return;
    pan = std::clamp(std::isnan(p) ? 0.0f : p, -1.0f, 1.0f);
    UpdateGains();
}

void MixerChannel::SetRate(float r) {
    std::lock_guard<std::mutex> hold(Mixer::Get().Lock());
    if (stopped) return;
    rate = std::clamp(std::isnan(r) ? 1.0f : r, 0.0f, MAX_RATE);
    UpdateStep();
}

int MixerChannel::Playing() {
    std::lock_guard<std::mutex> hold(Mixer::Get().Lock());
    return Audible() ? 1 : 0;
}

int64_t MixerChannel::Position() {
    std::lock_guard<std::mutex> hold(Mixer::Get().Lock());
    // A streamed looping sound counts on past its end; report where in the
    // sound that is.
    if (stream && sound && sound->Loops() && sound->Frames() > 0) return pos % sound->Frames();
    return pos;
}

// ---- mixer ------------------------------------------------------------------

Mixer& Mixer::Get() {
    // Never destroyed: the audio thread may still run while statics are torn down.
    static Mixer* mixer = new Mixer();
    return *mixer;
}

void Mixer::Open() {
    if (mode_ != Mode::Closed) return;
    if (!sdlAudioInit_) {
        // Audio brings SDL's event loop up too; keep system signals fatal.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        sdlAudioInit_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    }
    if (sdlAudioInit_) device_ = OpenDevice();
    if (device_ == 0) {
        PrintLine(std::string("No sound device (") + SDL_GetError() + "), sound runs silently");
        EnterSilent();
        return;
    }
    mode_ = Mode::Device;
    SDL_PauseAudioDevice(device_, 0);
}

SDL_AudioDeviceID Mixer::OpenDevice() {
    SDL_AudioSpec want{};
    want.freq = MIXER_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = CHUNK;
    want.callback = &Mixer::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device != 0) deviceFrames_ = have.samples;
    return device;
}

int Mixer::LeadMs() const {
    // The callback mixes a buffer while the device still holds the one before.
    return mode_ == Mode::Device ? 2 * deviceFrames_ * 1000 / MIXER_RATE : 0;
}

void Mixer::DeviceRemoved(SDL_AudioDeviceID which) {
    if (mode_ != Mode::Device || which != device_) return;
    // SDL stops calling back for a lost device: without the silent mixer the
    // tracks would stand still while the chart runs on.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    PrintLine("The sound device was removed; sound runs silently until the next level");
    EnterSilent();
    deviceLost_ = true;
}

void Mixer::RetryDevice() {
    if (mode_ != Mode::Silent || !deviceLost_ || !sdlAudioInit_) return;
    const SDL_AudioDeviceID device = OpenDevice();
    if (device == 0) return;
    {
        std::lock_guard<std::mutex> hold(lock_);
        device_ = device;
        mode_ = Mode::Device;
        deviceLost_ = false;
    }
    PrintLine("A sound device is back");
    SDL_PauseAudioDevice(device_, 0);
}

void Mixer::CloseDevice() {
    deviceLost_ = false;
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);  // waits for a running callback to return
        device_ = 0;
    }
    if (sdlAudioInit_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        sdlAudioInit_ = false;
    }
}

void Mixer::Close() {
    CloseDevice();
    std::vector<std::shared_ptr<MixerChannel>> released;
    {
        std::lock_guard<std::mutex> hold(lock_);
        for (auto& ch : channels_) {
            ch->stopped = true;
            ch->listed = false;
            ch->pcm = nullptr;
        }
        released.swap(channels_);
        channels_.reserve(64);
        mode_ = Mode::Closed;
    }
    for (auto& ch : released) ch->Stop();  // frees each decoder outside the lock
}

bool Mixer::DeviceOpen() { return mode_ == Mode::Device; }

void Mixer::UseManual() {
    CloseDevice();
    std::lock_guard<std::mutex> hold(lock_);
    mode_ = Mode::Manual;
}

void Mixer::UseSilent() {
    CloseDevice();
    EnterSilent();
}

void Mixer::EnterSilent() {
    std::lock_guard<std::mutex> hold(lock_);
    mode_ = Mode::Silent;
    lastMs_ = ClockMs();
    silentMs_ = 0;
    silentFrames_ = 0;
}

void Mixer::Update() {
    RefillStreams();
    AdvanceSilent();
    Sweep();
}

void Mixer::AdvanceSilent() {
    if (mode_ == Mode::Silent) {
        int32_t now = ClockMs();
        int32_t elapsed = now - lastMs_;
        lastMs_ = now;
        if (elapsed > 0) {
            silentMs_ += elapsed;
            int64_t target = silentMs_ * MIXER_RATE / 1000;
            RenderFromMainThread(nullptr, target - silentFrames_);
            silentFrames_ = target;
            int64_t seconds = silentMs_ / 1000;
            silentMs_ -= seconds * 1000;
            silentFrames_ -= seconds * MIXER_RATE;
        }
    }
}

void Mixer::Render(int16_t* out, int frames) {
    if (mode_ != Mode::Manual) {
        if (out) std::fill(out, out + 2 * std::max(frames, 0), int16_t{0});
        return;
    }
    RenderFromMainThread(out, frames);
}

void Mixer::RenderFromMainThread(int16_t* out, int64_t frames) {
    while (frames > 0) {
        int n = static_cast<int>(std::min<int64_t>(frames, CHUNK));
        RefillStreams();
        {
            std::lock_guard<std::mutex> hold(lock_);
            MixLocked(out, n);
        }
        if (out) out += 2 * n;
        frames -= n;
    }
}

void SDLCALL Mixer::Callback(void* self, Uint8* stream, int len) {
    auto* mixer = static_cast<Mixer*>(self);
    auto* out = reinterpret_cast<int16_t*>(stream);
    int frames = len / 4;
    std::lock_guard<std::mutex> hold(mixer->lock_);
    while (frames > 0) {
        int n = std::min(frames, CHUNK);
        mixer->MixLocked(out, n);
        out += 2 * n;
        frames -= n;
    }
}

void Mixer::MixLocked(int16_t* out, int frames) {
    std::fill(acc_, acc_ + 2 * frames, 0.0f);
    for (auto& ptr : channels_) {
        MixerChannel& ch = *ptr;
        if (!ch.Audible()) continue;
        if (ch.pcm)
            MixPcm(ch, frames);
        else if (ch.stream)
            MixStream(ch, frames);
    }
    if (!out) return;
    for (int i = 0; i < 2 * frames; ++i)
        out[i] = static_cast<int16_t>(std::lrint(std::clamp(acc_[i], -32768.0f, 32767.0f)));
}

namespace {

// Linear interpolation between two frames; `t` is the fraction in 1/2^32.
inline void Blend(const int16_t* a, const int16_t* b, int channels, uint32_t t, float& l, float& r) {
    float w = static_cast<float>(t) * (1.0f / 4294967296.0f);
    l = a[0] + (b[0] - a[0]) * w;
    r = channels == 2 ? a[1] + (b[1] - a[1]) * w : l;
}

inline void Advance(int64_t& pos, uint32_t& frac, uint64_t step) {
    uint64_t f = static_cast<uint64_t>(frac) + (step & 0xFFFFFFFFu);
    pos += static_cast<int64_t>(step >> 32) + static_cast<int64_t>(f >> 32);
    frac = static_cast<uint32_t>(f);
}

}  // namespace

void Mixer::MixPcm(MixerChannel& ch, int frames) {
    const int16_t* samples = ch.pcm->Samples();
    const int channels = ch.pcm->Channels();
    const int64_t total = ch.pcm->Frames();
    const bool loops = ch.pcm->Loops();
    float* acc = acc_;
    for (int f = 0; f < frames; ++f) {
        int64_t i = ch.pos;
        int64_t next = i + 1 < total ? i + 1 : (loops ? 0 : i);
        float l, r;
        Blend(samples + i * channels, samples + next * channels, channels, ch.frac, l, r);
        acc[2 * f] += l * ch.gainL;
        acc[2 * f + 1] += r * ch.gainR;
        Advance(ch.pos, ch.frac, ch.step);
        if (ch.pos >= total) {
            if (!loops) {
                ch.pos = total;
                ch.frac = 0;
                ch.finished = true;
                return;
            }
            ch.pos %= total;
        }
    }
}

void Mixer::MixStream(MixerChannel& ch, int frames) {
    StreamDecoder& dec = *ch.stream;
    const int channels = dec.Channels();
    const int64_t written = dec.Written();
    const int64_t end = dec.EndFrame();
    float* acc = acc_;
    for (int f = 0; f < frames; ++f) {
        int64_t i = ch.pos;
        if (end >= 0 && i >= end) {
            ch.pos = end;
            ch.frac = 0;
            ch.finished = true;
            break;
        }
        int64_t next;
        if (i + 1 < written)
            next = i + 1;
        else if (end >= 0 && i + 1 == end)
            next = i;
        else
            break;  // the decoder fell behind: hold the place rather than skip
        float l, r;
        Blend(dec.Frame(i), dec.Frame(next), channels, ch.frac, l, r);
        acc[2 * f] += l * ch.gainL;
        acc[2 * f + 1] += r * ch.gainR;
        Advance(ch.pos, ch.frac, ch.step);
    }
    if (end >= 0 && ch.pos >= end) {
        ch.pos = end;
        ch.frac = 0;
        ch.finished = true;
    }
    dec.Release(std::min(ch.pos, written));
}

void Mixer::RefillStreams() {
    // Only the main thread changes the list and the decoders, so it may walk
    // them without the lock; the ring itself is shared through its counters.
    for (auto& ch : channels_)
        if (ch->stream) ch->stream->Refill();
}

void Mixer::Sweep() {
    std::vector<std::shared_ptr<MixerChannel>> done;
    std::vector<std::unique_ptr<StreamDecoder>> decoders;
    std::lock_guard<std::mutex> hold(lock_);
    auto keep = std::partition(channels_.begin(), channels_.end(),
                               [](const auto& ch) { return !ch->stopped && !ch->finished && ch->sound; });
    for (auto it = keep; it != channels_.end(); ++it) {
        (*it)->listed = false;
        // A finished stream's decoder and ring are not needed any more.
        if ((*it)->stream) decoders.push_back(std::move((*it)->stream));
        done.push_back(std::move(*it));
    }
    channels_.erase(keep, channels_.end());
    // `done` and `decoders` are destroyed after the lock is released (they are
    // declared before the guard).
}

int Mixer::ChannelCount() {
    Sweep();
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<int>(channels_.size());
}

ChannelPtr Mixer::Start(const SoundPtr& sound, const ChannelPtr& channel, bool paused) {
    if (!sound) return nullptr;
    if (mode_ == Mode::Closed) Open();
    Sweep();
    std::unique_ptr<StreamDecoder> decoder;
    if (sound->Streamed()) {
        decoder = StreamDecoder::Open(std::static_pointer_cast<StreamedSound>(sound));
        if (!decoder) return nullptr;
    }
    auto ch = std::dynamic_pointer_cast<MixerChannel>(channel);
    if (ch) {
        std::lock_guard<std::mutex> hold(lock_);
        if (ch->stopped) ch = nullptr;
    }
    if (!ch) ch = std::make_shared<MixerChannel>();
    SoundPtr oldSound;
    std::unique_ptr<StreamDecoder> oldStream;
    {
        std::lock_guard<std::mutex> hold(lock_);
        oldSound = std::move(ch->sound);
        oldStream = std::move(ch->stream);
        ch->sound = sound;
        ch->pcm = sound->Streamed() ? nullptr : static_cast<const PcmSound*>(sound.get());
        ch->stream = std::move(decoder);
        ch->pos = 0;
        ch->frac = 0;
        // A fresh start: the defaults of a new channel, whatever the old sound used.
        ch->volume = 1.0f;
        ch->pan = 0.0f;
        ch->rate = 1.0f;
        ch->paused = paused;
        ch->finished = false;
        ch->UpdateGains();
        ch->UpdateStep();
        if (!ch->listed) {
            channels_.push_back(ch);
            ch->listed = true;
        }
    }
    return ch;
}

void Mixer::Unpause(const ChannelPtr* first, const ChannelPtr* last) {
    std::lock_guard<std::mutex> hold(lock_);
    for (; first != last; ++first) {
        auto* ch = dynamic_cast<MixerChannel*>(first->get());
        if (ch && !ch->stopped) ch->paused = false;
    }
}

bool Mixer::Seek(const ChannelPtr* first, const ChannelPtr* last, int64_t ms) {
    struct Move {
        std::shared_ptr<MixerChannel> ch;
        int64_t frame;
        bool finished;
        std::unique_ptr<StreamDecoder> stream;
    };
    std::vector<Move> moves;
    bool all = true;
    ms = std::max<int64_t>(ms, 0);
    // Without a device the time up to now is mixed first, so a channel put
    // at `ms` now does not have that time added to it at the next update.
    AdvanceSilent();
    // Decoders are opened here, on the main thread and outside the lock; the
    // audio thread only sees the finished swap.
    for (; first != last; ++first) {
        auto ch = std::dynamic_pointer_cast<MixerChannel>(*first);
        SoundPtr sound;
        if (ch) {
            std::lock_guard<std::mutex> hold(lock_);
            if (!ch->stopped) sound = ch->sound;
        }
        if (!sound) continue;
        const int64_t total = sound->Frames();
        int64_t frame = ms * sound->Rate() / 1000;
        bool finished = false;
        std::unique_ptr<StreamDecoder> stream;
        if (sound->Streamed()) {
            stream = StreamDecoder::Open(std::static_pointer_cast<StreamedSound>(sound), frame);
            if (!stream) {
                all = false;
                continue;
            }
            finished = stream->EndFrame() >= 0 && frame >= stream->EndFrame();
        } else if (sound->Loops() && total > 0) {
            frame %= total;
        } else if (frame >= total) {
            frame = total;
            finished = true;
        }
        moves.push_back({std::move(ch), frame, finished, std::move(stream)});
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        for (Move& m : moves) {
            MixerChannel& ch = *m.ch;
            if (ch.stopped) continue;
            ch.pos = m.frame;
            ch.frac = 0;
            ch.finished = m.finished;
            if (m.stream) std::swap(ch.stream, m.stream);
            // A channel that had finished and was swept plays again.
            if (!ch.finished && !ch.listed) {
                channels_.push_back(m.ch);
                ch.listed = true;
            }
        }
    }
    // The replaced decoders go with `moves`, outside the lock.
    return all;
}

}  // namespace media_detail
