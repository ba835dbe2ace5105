#include "tools/totem-songgen/SongRenderer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>

namespace {

struct Ev {
    size_t frame;
    int order;  // note-offs first
    int channel, key, velocity;
};

size_t FrameAt(const SongScore& s, long long tick) {
    return size_t(std::llround(s.Seconds(tick) * SongRenderer::kRate));
}

}  // namespace

SongRenderer::~SongRenderer() {
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

bool SongRenderer::Open(const std::string& soundfont, std::string& error) {
    // FluidSynth would print its own warnings; failures are reported here instead.
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
    settings_ = new_fluid_settings();
    if (!settings_) {
        error = "FluidSynth settings cannot be created";
        return false;
    }
    fluid_settings_setnum(settings_, "synth.sample-rate", kRate);
    fluid_settings_setnum(settings_, "synth.gain", 0.5);
    fluid_settings_setint(settings_, "synth.polyphony", 256);
    fluid_settings_setint(settings_, "synth.cpu-cores", 1);
    synth_ = new_fluid_synth(settings_);
    if (!synth_) {
        error = "FluidSynth cannot be started";
        return false;
    }
    font_ = fluid_synth_sfload(synth_, soundfont.c_str(), 1);
    if (font_ == FLUID_FAILED) {
        error = "soundfont " + soundfont + " cannot be loaded";
        return false;
    }
    return true;
}

size_t SongRenderer::FramesFor(const SongScore& score, double tailSeconds) {
    return FrameAt(score, score.endTick) + size_t(tailSeconds * kRate);
}

bool SongRenderer::Render(const SongScore& score, bool lead, size_t frames, std::vector<float>& out,
                          std::string& error) {
    if (!synth_) {
        error = "FluidSynth is not open";
        return false;
    }
    fluid_synth_system_reset(synth_);
    // Channel mix: volume and pan, so the parts sit apart in the stereo picture.
    static const int volume[16] = {112, 84, 104, 64, 74, 0, 0, 0, 0, 108, 0, 0, 0, 0, 0, 0};
    static const int pan[16] = {64, 44, 64, 64, 86, 64, 64, 64, 64, 64, 64, 64, 64, 64, 64, 64};
    for (int ch = 0; ch < 16; ++ch) {
        const int program = score.programs[size_t(ch)];
        if (program < 0) continue;
        if ((ch == SongScore::kLeadChannel) != lead) continue;
        if (ch == SongScore::kDrumChannel) {
            fluid_synth_bank_select(synth_, ch, 128);
            fluid_synth_program_select(synth_, ch, unsigned(font_), 128, 0);
        } else if (fluid_synth_program_select(synth_, ch, unsigned(font_), 0, unsigned(program)) != FLUID_OK) {
            error = "the soundfont has no instrument " + std::to_string(program);
            return false;
        }
        fluid_synth_cc(synth_, ch, 7, volume[ch]);
        fluid_synth_cc(synth_, ch, 10, pan[ch]);
        fluid_synth_cc(synth_, ch, 91, 40);
    }
    std::vector<Ev> events;
    auto add = [&](long long tick, int length, int channel, int key, int velocity) {
        events.push_back({FrameAt(score, tick), 1, channel, key, velocity});
        events.push_back({FrameAt(score, tick + length), 0, channel, key, 0});
    };
    if (lead) {
        for (const auto& n : score.lead) add(n.tick, n.length, SongScore::kLeadChannel, n.pitch, n.velocity);
    } else {
        for (const auto& n : score.band) add(n.tick, n.length, n.channel, n.pitch, n.velocity);
    }
    std::stable_sort(events.begin(), events.end(), [](const Ev& a, const Ev& b) {
        return a.frame != b.frame ? a.frame < b.frame : a.order < b.order;
    });
    out.assign(frames * 2, 0.0f);
    size_t done = 0, next = 0;
    while (done < frames) {
        while (next < events.size() && events[next].frame <= done) {
            const Ev& e = events[next++];
            if (e.order == 1)
                fluid_synth_noteon(synth_, e.channel, e.key, e.velocity);
            else
                fluid_synth_noteoff(synth_, e.channel, e.key);
        }
        size_t until = next < events.size() ? std::min(frames, events[next].frame) : frames;
        until = std::min(until, done + 4096);
        if (until == done) until = done + 1;
        const int n = int(until - done);
        if (fluid_synth_write_float(synth_, n, out.data() + 2 * done, 0, 2, out.data() + 2 * done, 1, 2) != FLUID_OK) {
            error = "FluidSynth failed while rendering";
            return false;
        }
        done = until;
    }
    return true;
}
