#include "media/Audio.h"

#include "media/detail/Mixer.h"
#include "media/detail/SoundData.h"

using media_detail::Mixer;

void OpenAudio() { Mixer::Get().Open(); }
void CloseAudio() { Mixer::Get().Close(); }
bool AudioDeviceOpen() { return Mixer::Get().DeviceOpen(); }
void AudioUpdate() { Mixer::Get().Update(); }
void RetryAudioDevice() { Mixer::Get().RetryDevice(); }
void InjectAudioDeviceRemoved() {
    SDL_Event e{};
    e.type = SDL_AUDIODEVICEREMOVED;
    e.adevice.which = Mixer::Get().DeviceId();
    e.adevice.iscapture = 0;
    SDL_PushEvent(&e);
}
int MixerChannelCount() { return Mixer::Get().ChannelCount(); }
void UseManualMixer() { Mixer::Get().UseManual(); }
void UseSilentMixer() { Mixer::Get().UseSilent(); }
void MixerRender(int16_t* out, int frames) { Mixer::Get().Render(out, frames); }

SoundPtr LoadSound(const std::string& path, int flags) {
    StreamPtr stream = OpenRead(path);
    if (!stream) return nullptr;
    return LoadSound(std::move(stream), flags);
}

SoundPtr LoadSound(StreamPtr stream, int flags) {
    if (!stream || !stream->Seek(0)) return nullptr;
    char magic[4] = {};
    if (stream->Read(magic, 4) != 4) return nullptr;
    stream->Seek(0);
    if (std::string(magic, 4) == "RIFF") return media_detail::DecodeWav(stream->ReadAll(), flags);
    if (std::string(magic, 4) == "OggS") return media_detail::LoadOgg(std::move(stream), flags);
    return nullptr;
}

ChannelPtr PlaySound(const SoundPtr& sound, const ChannelPtr& channel) {
    return Mixer::Get().Start(sound, channel, false);
}

ChannelPtr CueSound(const SoundPtr& sound, const ChannelPtr& channel) {
    return Mixer::Get().Start(sound, channel, true);
}

void StartCued(std::initializer_list<ChannelPtr> channels) {
    Mixer::Get().Unpause(channels.begin(), channels.end());
}

void StartCued(const std::vector<ChannelPtr>& channels) {
    Mixer::Get().Unpause(channels.data(), channels.data() + channels.size());
}

bool SeekChannels(const std::vector<ChannelPtr>& channels, int64_t ms) {
    return Mixer::Get().Seek(channels.data(), channels.data() + channels.size(), ms);
}

int AudioLeadMs() { return Mixer::Get().LeadMs(); }

bool AudioKeepsTime() { return Mixer::Get().KeepsTime(); }
