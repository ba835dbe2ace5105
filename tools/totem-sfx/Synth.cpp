#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace sfx {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2 * kPi;

size_t Frames(double seconds) { return size_t(std::max(0.0, seconds) * kRate + 0.5); }

// A decaying sine partial added into `s`.
void AddMode(Signal& s, double hz, double amp, double decaySeconds, double phase = 0) {
    if (hz <= 0 || hz >= kRate / 2.0) return;
    const double w = kTwoPi * hz / kRate;
    const double k = std::exp(-1.0 / (decaySeconds * kRate));
    double env = amp;
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] += float(env * std::sin(w * double(i) + phase));
        env *= k;
        if (env < 1e-6) break;
    }
}

// A very short filtered noise burst: the strike of a mallet or stick.
void AddKnock(Signal& s, double centreHz, double amp, double ms, uint32_t seed) {
    Noise noise(seed);
    Svf bp(Svf::BandPass, 1.2);
    const size_t n = std::min(s.size(), Frames(ms / 1000.0 * 4));
    const double tau = ms / 1000.0 * kRate;
    for (size_t i = 0; i < n; ++i)
        s[i] += float(amp * std::exp(-double(i) / tau) * bp.Process(noise.Next(), centreHz));
}

void Attack(Signal& s, double ms) {
    const size_t n = std::min(s.size(), Frames(ms / 1000.0));
    for (size_t i = 0; i < n; ++i) s[i] *= float(double(i) / double(n));
}
}  // namespace

double NoteHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

Signal Silence(double seconds) { return Signal(Frames(seconds), 0.0f); }

void MixInto(Signal& dst, const Signal& src, double atSeconds, double gain) {
    const size_t at = Frames(atSeconds);
    if (dst.size() < at + src.size()) dst.resize(at + src.size(), 0.0f);
    for (size_t i = 0; i < src.size(); ++i) dst[at + i] += float(src[i] * gain);
}

double Peak(const Signal& s) {
    double p = 0;
    for (float v : s) p = std::max(p, double(std::fabs(v)));
    return p;
}

double Rms(const Signal& s) {
    if (s.empty()) return 0;
    double sum = 0;
    for (float v : s) sum += double(v) * v;
    return std::sqrt(sum / double(s.size()));
}

double BrightnessHz(const Signal& s) {
    // For a sine of frequency f the slope's RMS is 2 sin(pi f / rate) times the
    // level's RMS; for a mixture this gives an energy-weighted mean frequency.
    double level = 0, slope = 0;
    for (size_t i = 1; i < s.size(); ++i) {
        level += double(s[i]) * s[i];
        const double d = double(s[i]) - s[i - 1];
        slope += d * d;
    }
    if (level <= 0) return 0;
    const double ratio = std::min(2.0, std::sqrt(slope / level));
    return std::asin(ratio / 2) * kRate / kPi;
}

void NormalisePeak(Signal& s, double peak) {
    const double p = Peak(s);
    if (p <= 0) return;
    const double g = peak / p;
    for (float& v : s) v = float(v * g);
}

void FadeEdges(Signal& s, double inMs, double outMs) {
    const size_t in = std::min(s.size(), Frames(inMs / 1000.0));
    for (size_t i = 0; i < in; ++i) s[i] *= float(double(i) / double(in));
    const size_t out = std::min(s.size(), Frames(outMs / 1000.0));
    for (size_t i = 0; i < out; ++i) s[s.size() - 1 - i] *= float(double(i) / double(out));
}

float Noise::Next() {
    // xorshift32: fast, and the same numbers on every machine.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return float(double(state_) / 2147483648.0 - 1.0);
}

float Svf::Process(float in, double cutoffHz) {
    // Chamberlin form, run twice per sample for stability at high cutoffs.
    const double f = 2 * std::sin(kPi * std::min(cutoffHz, kRate / 6.0) / (2.0 * kRate));
    double high = 0;
    for (int pass = 0; pass < 2; ++pass) {
        low_ += f * band_;
        high = in - low_ - damp_ * band_;
        band_ += f * high;
    }
    switch (mode_) {
    case LowPass: return float(low_);
    case BandPass: return float(band_);
    default: return float(high);
    }
}

Signal Marimba(double hz, double seconds, double brightness, uint32_t seed) {
    Signal s = Silence(seconds);
    // Lower bars ring longer; the upper modes die away much faster.
    const double decay = std::clamp(0.9 * std::sqrt(220.0 / hz), 0.18, 1.2);
    AddMode(s, hz, 1.0, decay);
    AddMode(s, hz * 3.93, 0.32 * brightness, decay * 0.22);
    AddMode(s, hz * 9.2, 0.12 * brightness, decay * 0.08);
    // The resonator tube under the bar adds a little of the fundamental's octave.
    AddMode(s, hz * 2.0, 0.06, decay * 0.5);
    AddKnock(s, std::min(hz * 6, 6000.0), 0.25 + 0.2 * brightness, 2.5, seed);
    Attack(s, 1.0);
    return s;
}

Signal LogDrum(double hz, double seconds, uint32_t seed) {
    Signal s = Silence(seconds);
    // The tone starts a little sharp and settles as the slit's tongue relaxes.
    double phase = 0, env = 1;
    const double k = std::exp(-1.0 / (0.22 * kRate));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double f = hz * (1 + 0.35 * std::exp(-t / 0.025));
        phase += kTwoPi * f / kRate;
        s[i] += float(env * std::sin(phase));
        env *= k;
    }
    AddMode(s, hz * 2.76, 0.28, 0.06);
    AddMode(s, hz * 4.1, 0.10, 0.03);
    AddKnock(s, 900, 0.45, 4, seed);
    Attack(s, 1.5);
    return s;
}

Signal Shaker(double seconds, int shakes, uint32_t seed) {
    Signal s = Silence(seconds);
    Noise noise(seed);
    Svf hp(Svf::HighPass, 0.8);
    Svf bp(Svf::BandPass, 1.5);
    const double spacing = seconds / std::max(1, shakes);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double local = std::fmod(t, spacing);
        // Each shake: seeds hit the wall fast, then rattle off.
        const double env = (1 - std::exp(-local / 0.004)) * std::exp(-local / (spacing * 0.35));
        const float n = hp.Process(noise.Next(), 3500);
        s[i] = float(env * bp.Process(n, 7000) * 1.6);
    }
    return s;
}

Signal Clave(double hz, uint32_t seed) {
    Signal s = Silence(0.18);
    AddMode(s, hz, 1.0, 0.035);
    AddMode(s, hz * 2.71, 0.25, 0.012);
    AddKnock(s, 3000, 0.5, 1.5, seed);
    Attack(s, 0.4);
    return s;
}

Signal Pluck(double hz, double seconds, double damping, uint32_t seed) {
    Signal s = Silence(seconds);
    const size_t period = std::max<size_t>(2, size_t(kRate / hz + 0.5));
    std::vector<double> line(period);
    Noise noise(seed);
    // A soft pick: smoothed noise, so the string starts warm rather than buzzing.
    double prev = 0;
    for (double& v : line) {
        prev = 0.5 * prev + 0.5 * noise.Next();
        v = prev;
    }
    // Averaging neighbours is the string's own low-pass; damping adds loss per
    // round trip, so a damped string dies quickly into a dull thunk.
    const double gain = 0.996 - 0.05 * std::clamp(damping, 0.0, 1.0);
    size_t pos = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const size_t next = (pos + 1) % period;
        s[i] = float(line[pos]);
        line[pos] = gain * 0.5 * (line[pos] + line[next]);
        pos = next;
    }
    Attack(s, 0.6);
    return s;
}

Signal Chime(double hz, double seconds, double brightness) {
    Signal s = Silence(seconds);
    const double ratio = 3.51;  // inharmonic: sounds like struck metal, not a voice
    const double wc = kTwoPi * hz / kRate, wm = wc * ratio;
    const double decay = std::clamp(1.4 * std::sqrt(880.0 / hz), 0.25, 2.0);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double index = brightness * 2.2 * std::exp(-t / (decay * 0.25));
        const double env = std::exp(-t / decay);
        s[i] = float(env * std::sin(wc * double(i) + index * std::sin(wm * double(i))));
    }
    Attack(s, 0.8);
    return s;
}

Signal Sweep(double seconds, double fromHz, double toHz, double q, uint32_t seed) {
    Signal s = Silence(seconds);
    Noise noise(seed);
    Svf bp(Svf::BandPass, q);
    for (size_t i = 0; i < s.size(); ++i) {
        const double x = double(i) / double(s.size());
        const double hz = fromHz * std::pow(toHz / fromHz, x);
        const double env = std::sin(kPi * x) * std::sin(kPi * x);
        s[i] = float(env * bp.Process(noise.Next(), hz));
    }
    return s;
}

Signal Wave(double seconds, uint32_t seed) {
    Signal s = Silence(seconds);
    Noise noise(seed);
    Svf lp(Svf::LowPass, 0.7);
    Svf hp(Svf::HighPass, 0.7);
    for (size_t i = 0; i < s.size(); ++i) {
        const double x = double(i) / double(s.size());
        // Rises slowly, breaks at two thirds, hisses away as foam.
        const double swell = x < 0.62 ? std::pow(x / 0.62, 2.0) : std::exp(-(x - 0.62) / 0.16);
        const double cutoff = 300 + 2600 * swell;
        const float n = lp.Process(noise.Next(), cutoff);
        s[i] = float(swell * hp.Process(n, 120));
    }
    return s;
}

}  // namespace sfx
