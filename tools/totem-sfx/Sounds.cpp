#include "Sounds.h"

#include <cmath>

using namespace sfx;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Cuts or pads to exactly `seconds` and lets the tail die away over `fadeMs`.
Signal Fit(Signal s, double seconds, double fadeMs) {
    s.resize(size_t(seconds * kRate + 0.5), 0.0f);
    FadeEdges(s, 1.0, fadeMs);
    return s;
}

// The island's scale: A major pentatonic (A, B, C#, E, F#), as MIDI numbers.
constexpr double A4 = 69, B4 = 71, Cs5 = 73, E5 = 76, Fs5 = 78, A5 = 81, B5 = 83, Cs6 = 85, E6 = 88, Fs6 = 90,
                 A6 = 93, Cs7 = 97, E7 = 100;

// A dialog opens: a short breath of air and two rising marimba bars.
Signal DialogOpen() {
    Signal s = Silence(0.6);
    MixInto(s, Sweep(0.22, 600, 3200, 2.5, 11), 0.0, 0.35);
    MixInto(s, Marimba(NoteHz(E5), 0.5, 0.6, 12), 0.04, 0.7);
    MixInto(s, Marimba(NoteHz(A5), 0.5, 0.7, 13), 0.11, 0.85);
    return Fit(s, 0.6, 120);
}

// The main menu's stone frame slides away: a falling run and a low drum as it lands.
Signal MainClose() {
    Signal s = Silence(0.9);
    MixInto(s, Sweep(0.5, 3500, 350, 2.0, 21), 0.0, 0.4);
    const double run[] = {A5, Fs5, E5, Cs5, A4};
    for (int i = 0; i < 5; ++i) MixInto(s, Marimba(NoteHz(run[i]), 0.45, 0.55, 22 + i), 0.05 * i, 0.55);
    MixInto(s, LogDrum(NoteHz(33), 0.6, 28), 0.27, 0.9);
    return Fit(s, 0.9, 200);
}

// The main menu's frame arrives: a stone thud, then a rising arpeggio and a shimmer.
Signal MainOpen() {
    Signal s = Silence(1.2);
    MixInto(s, LogDrum(NoteHz(33), 0.7, 31), 0.0, 1.0);
    MixInto(s, Sweep(0.35, 400, 4000, 2.2, 32), 0.0, 0.3);
    MixInto(s, Shaker(0.3, 2, 33), 0.06, 0.25);
    const double arp[] = {A4, Cs5, E5, A5};
    for (int i = 0; i < 4; ++i) MixInto(s, Marimba(NoteHz(arp[i]), 0.7, 0.6, 34 + i), 0.12 + 0.07 * i, 0.6);
    MixInto(s, Chime(NoteHz(A6), 0.8, 0.5), 0.33, 0.2);
    return Fit(s, 1.2, 300);
}

// The story map opens: a wave rolls onto the beach, two log drums, glints of light.
Signal MapOpen() {
    Signal s = Silence(1.7);
    MixInto(s, Wave(1.6, 41), 0.0, 0.8);
    MixInto(s, LogDrum(NoteHz(38), 0.6, 42), 0.0, 0.8);
    MixInto(s, LogDrum(NoteHz(45), 0.6, 43), 0.24, 0.7);
    const double glints[] = {E6, A6, Cs7};
    for (int i = 0; i < 3; ++i) MixInto(s, Chime(NoteHz(glints[i]), 0.8, 0.4), 0.55 + 0.14 * i, 0.16);
    return Fit(s, 1.7, 350);
}

// A missed note: a dead, detuned string and a dull knock falling in pitch.
// Dark and short, so it tells the miss without drowning the song.
Signal Fail() {
    Signal s = Silence(0.36);
    MixInto(s, Pluck(82.4, 0.36, 0.95, 51), 0.0, 0.8);
    MixInto(s, Pluck(77.8, 0.36, 0.95, 52), 0.012, 0.6);
    Signal bonk = Silence(0.25);
    double phase = 0;
    for (size_t i = 0; i < bonk.size(); ++i) {
        const double t = double(i) / kRate;
        phase += 2 * kPi * (190 - 100 * t / 0.25) / kRate;
        bonk[i] = float(std::exp(-t / 0.07) * std::sin(phase));
    }
    MixInto(s, bonk, 0.0, 0.7);
    Svf lp(Svf::LowPass, 0.8);
    for (float& v : s) v = lp.Process(v, 900);
    return Fit(s, 0.36, 80);
}

// The gold rush begins: a racing run two octaves up into a ringing metal chord.
Signal GoldRush() {
    Signal s = Silence(1.6);
    const double run[] = {A4, B4, Cs5, E5, Fs5, A5, B5, Cs6, E6, Fs6, A6};
    for (int i = 0; i < 11; ++i) MixInto(s, Marimba(NoteHz(run[i]), 0.4, 0.8, 61 + i), 0.042 * i, 0.45);
    MixInto(s, Shaker(0.5, 6, 72), 0.0, 0.2);
    for (double n : {A6, Cs7, E7}) MixInto(s, Chime(NoteHz(n), 1.1, 0.7), 0.46, 0.2);
    MixInto(s, LogDrum(NoteHz(45), 0.5, 73), 0.46, 0.6);
    return Fit(s, 1.6, 400);
}

// A click on a fret or a starred note: a hardwood clave with a bright metal tick.
Signal Click() {
    Signal s = Silence(0.25);
    MixInto(s, Clave(2100, 81), 0.0, 1.0);
    MixInto(s, Chime(NoteHz(E7), 0.25, 0.6), 0.0, 0.3);
    return Fit(s, 0.25, 60);
}

// A melody completed: four marimba bars climbing, the last one crowned by a chime.
Signal Melody() {
    Signal s = Silence(1.1);
    const double phrase[] = {E5, Fs5, A5, Cs6};
    for (int i = 0; i < 4; ++i) MixInto(s, Marimba(NoteHz(phrase[i]), 0.75, 0.65, 91 + i), 0.11 * i, 0.6);
    MixInto(s, Chime(NoteHz(Cs7), 0.75, 0.5), 0.33, 0.2);
    return Fit(s, 1.1, 250);
}

// A long note held to its end: a rush of air that opens into a bright chord.
Signal LongDone() {
    Signal s = Silence(0.9);
    MixInto(s, Sweep(0.45, 300, 5000, 3.0, 101), 0.0, 0.45);
    MixInto(s, Marimba(NoteHz(A4), 0.55, 0.6, 102), 0.34, 0.55);
    MixInto(s, Marimba(NoteHz(E5), 0.55, 0.6, 103), 0.34, 0.5);
    MixInto(s, Chime(NoteHz(A6), 0.55, 0.6), 0.35, 0.22);
    return Fit(s, 0.9, 220);
}

// While a long note is held: a rain stick's seeds trickling over a soft, pulsing
// breath of wind. It has no pitch, so it sits under any song's key, and it
// loops: the last sample runs into the first.
Signal LongHold() {
    constexpr double kLoop = 2.0, kOverlap = 0.25;
    Signal s = Silence(kLoop + kOverlap);
    Noise grains(111), air(112);
    Svf seedRing(Svf::BandPass, 6.0), wind(Svf::BandPass, 1.6), hiss(Svf::HighPass, 0.7);
    Svf soften(Svf::LowPass, 0.7);  // a band-pass alone lets too much hiss through
    double grainEnv = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        // Seeds: random taps, about 400 a second, each a tiny ringing click.
        if (grains.Next() > 0.982f) grainEnv = 0.4 + 0.6 * std::fabs(double(grains.Next()));
        grainEnv *= 0.9965;
        const float tap = seedRing.Process(float(grainEnv * grains.Next()), 5200);
        // Wind: swells four times a second (8 whole swells per loop).
        const double swell = 0.65 + 0.35 * std::sin(2 * kPi * 4.0 * t);
        const float breath =
            soften.Process(wind.Process(air.Next(), 900 + 300 * std::sin(2 * kPi * 0.5 * t)), 1600);
        s[i] = float(0.08 * hiss.Process(tap, 2500) + 0.8 * swell * breath);
    }
    // Fold the overlap back over the start so the loop point is seamless.
    const size_t loop = size_t(kLoop * kRate + 0.5), overlap = s.size() - loop;
    for (size_t i = 0; i < overlap; ++i) {
        const double x = double(i) / double(overlap);
        s[i] = float(s[i] * std::sin(0.5 * kPi * x) + s[loop + i] * std::cos(0.5 * kPi * x));
    }
    s.resize(loop);
    return s;
}

// A bonus item caught (and each tally step of the results): a quick two-bar "ding".
Signal BonusEat() {
    Signal s = Silence(0.35);
    MixInto(s, Marimba(NoteHz(B5), 0.3, 0.8, 121), 0.0, 0.6);
    MixInto(s, Marimba(NoteHz(E6), 0.3, 0.9, 122), 0.055, 0.7);
    MixInto(s, Chime(NoteHz(E7), 0.3, 0.5), 0.055, 0.18);
    return Fit(s, 0.35, 90);
}

// A prize won: a drum roll of three logs, a rolled marimba chord and chimes.
Signal Achievement() {
    Signal s = Silence(1.5);
    const double drums[] = {33, 40, 45};
    for (int i = 0; i < 3; ++i) MixInto(s, LogDrum(NoteHz(drums[i]), 0.5, 131 + i), 0.1 * i, 0.75);
    MixInto(s, Shaker(0.35, 3, 134), 0.28, 0.22);
    const double chord[] = {A4, Cs5, E5, A5};
    for (int i = 0; i < 4; ++i) MixInto(s, Marimba(NoteHz(chord[i]), 1.0, 0.6, 135 + i), 0.3 + 0.022 * i, 0.45);
    MixInto(s, Chime(NoteHz(A6), 1.1, 0.6), 0.32, 0.2);
    MixInto(s, Chime(NoteHz(E7), 1.0, 0.6), 0.46, 0.16);
    return Fit(s, 1.5, 350);
}

}  // namespace

const std::vector<SoundRecipe>& SoundRecipes() {
    // Peaks sit at -1 dBFS, so the game's volume setting and the mixer have
    // headroom; the hold loop sits lower because it plays under the song.
    static const std::vector<SoundRecipe> recipes = {
        {"menu_dialogopen", 0.4, 0.8, -1, false, DialogOpen},
        {"menu_main_close", 0.6, 1.1, -1, false, MainClose},
        {"menu_main_open", 0.8, 1.4, -1, false, MainOpen},
        {"menu_map_open", 1.2, 2.0, -1, false, MapOpen},
        {"gryph_fail", 0.2, 0.5, -1, false, Fail},
        {"gryph_goldrush", 1.2, 2.0, -1, false, GoldRush},
        {"gryph_click", 0.12, 0.35, -1, false, Click},
        {"gryph_melody", 0.8, 1.4, -1, false, Melody},
        {"gryph_long", 0.6, 1.1, -1, false, LongDone},
        {"gryph_longnote", 1.9, 2.1, -4, true, LongHold},
        {"bonuseat", 0.2, 0.45, -1, false, BonusEat},
        {"result_achivement", 1.1, 1.8, -1, false, Achievement},
    };
    return recipes;
}
