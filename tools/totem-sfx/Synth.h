#pragma once
#include <cstdint>
#include <vector>

// The small synthesiser behind the game's sound effects: mono float signals at
// the mixer's rate, and the island instruments the effects are made of —
// marimba bars, slit log drums, shakers, a wooden clave, plucked strings,
// metal chimes and wind-like noise sweeps. Everything is deterministic: noise
// comes from a seeded generator, so every build writes the same sounds.
namespace sfx {

constexpr int kRate = 44100;

using Signal = std::vector<float>;

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double NoteHz(double midi);

// An empty signal of `seconds`.
Signal Silence(double seconds);

// Adds `src` × `gain` into `dst` starting at `atSeconds`, growing `dst` if needed.
void MixInto(Signal& dst, const Signal& src, double atSeconds, double gain = 1.0);

// Peak absolute sample value and root-mean-square level.
double Peak(const Signal& s);
double Rms(const Signal& s);
// The energy-weighted mean frequency: a rough figure of how bright a sound is.
double BrightnessHz(const Signal& s);

// Scales so the peak becomes `peak` (a silent signal is left alone).
void NormalisePeak(Signal& s, double peak);

// Fades the first and last few milliseconds so no sound starts or ends with a click.
void FadeEdges(Signal& s, double inMs, double outMs);

// A seeded white-noise source in −1 … 1.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 1u) {}
    float Next();

private:
    uint32_t state_;
};

// A two-pole state-variable filter; cutoff may change from sample to sample.
class Svf {
public:
    enum Mode { LowPass, BandPass, HighPass };
    Svf(Mode mode, double q) : mode_(mode), damp_(1.0 / q) {}
    float Process(float in, double cutoffHz);

private:
    Mode mode_;
    double damp_;
    double low_ = 0, band_ = 0;
};

// One tuned bar of a marimba: a few decaying modes (the bar's 1 : 4 : 10
// tuning) and a soft mallet knock. `brightness` 0 … 1 weights the upper modes.
Signal Marimba(double hz, double seconds, double brightness, uint32_t seed);

// A slit log drum: a deep tone that settles onto its pitch, with a woody knock.
Signal LogDrum(double hz, double seconds, uint32_t seed);

// A seed shaker: filtered noise grains with the given number of shakes.
Signal Shaker(double seconds, int shakes, uint32_t seed);

// A hardwood clave: a short, high, dry ring.
Signal Clave(double hz, uint32_t seed);

// A plucked string (Karplus-Strong); `damping` 0 … 1 darkens and shortens it.
Signal Pluck(double hz, double seconds, double damping, uint32_t seed);

// A small metal chime (two-operator FM with an inharmonic ratio).
Signal Chime(double hz, double seconds, double brightness);

// Noise swept through a band-pass from `fromHz` to `toHz`, swelling in and out:
// wind, a thrown cloth, a wave.
Signal Sweep(double seconds, double fromHz, double toHz, double q, uint32_t seed);

// A rolling wave: low noise whose level swells and breaks.
Signal Wave(double seconds, uint32_t seed);

}  // namespace sfx
