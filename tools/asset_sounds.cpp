// The match's sound effects, synthesised: 16-bit mono PCM WAV at 44100 Hz,
// each faded in and out so that it starts and ends on silence.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/data_files.h"
#include "asset_art.h"

namespace {

constexpr int kRate = 44100;
constexpr double kTwoPi = 6.283185307179586;

using Samples = std::vector<double>;

Samples silence(double seconds) { return Samples(static_cast<size_t>(seconds * kRate), 0.0); }

double timeOf(size_t i) { return static_cast<double>(i) / kRate; }

// A band-limited sawtooth-like tone from a few harmonics.
double richTone(double phase, int harmonics, double tilt) {
    double v = 0;
    for (int k = 1; k <= harmonics; ++k) v += std::sin(phase * k) / std::pow(k, tilt);
    return v;
}

// A band-limited square (odd harmonics).
double squareTone(double phase, int harmonics) {
    double v = 0;
    for (int k = 1; k <= 2 * harmonics - 1; k += 2) v += std::sin(phase * k) / k;
    return v * 4 / 3.14159265358979;
}

// One-pole low-pass filter state.
struct LowPass {
    double y = 0;
    double step(double x, double cutoff) {
        const double a = 1.0 - std::exp(-kTwoPi * cutoff / kRate);
        y += a * (x - y);
        return y;
    }
};

// Every effect plays on the one channel and cuts off the last, so they are
// matched by what the ear goes by, the RMS of their loudest 100 ms, rather
// than by their peaks: a short crack at full peak still sounds softer than a
// jingle. Peaks that the level would push past the ceiling are rounded off
// by a soft knee instead of clipping.
constexpr double kLoudnessDb = -13.0;
constexpr double kCeiling = 0.95;

double loudest100MsRms(const Samples& s) {
    const size_t window = kRate / 10;
    double sum = 0, loudest = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        sum += s[i] * s[i];
        if (i >= window) sum -= s[i - window] * s[i - window];
        loudest = std::max(loudest, sum);
    }
    return std::sqrt(loudest / static_cast<double>(std::min(window, s.size())));
}

void softLimit(Samples& s) {
    const double knee = 0.7 * kCeiling, room = kCeiling - knee;
    for (double& v : s) {
        const double a = std::fabs(v);
        if (a > knee) v = std::copysign(knee + room * std::tanh((a - knee) / room), v);
    }
}

// Fades the ends, then brings the sound to the common loudness.
void finish(Samples& s, double fadeIn, double fadeOut) {
    const size_t in = static_cast<size_t>(fadeIn * kRate), out = static_cast<size_t>(fadeOut * kRate);
    for (size_t i = 0; i < in && i < s.size(); ++i) s[i] *= static_cast<double>(i) / static_cast<double>(in);
    for (size_t i = 0; i < out && i < s.size(); ++i) s[s.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(out);
    const double target = std::pow(10.0, kLoudnessDb / 20.0);
    // The knee takes a little level off each time; a few rounds settle it.
    for (int round = 0; round < 6; ++round) {
        const double rms = loudest100MsRms(s);
        if (rms <= 0) return;
        for (double& v : s) v *= target / rms;
        softLimit(s);
    }
}

void save(const std::string& path, const Samples& s) {
    SF_INFO info = {};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f) {
        std::fprintf(stderr, "velmora_make_assets: cannot write %s: %s\n", path.c_str(),
                     sf_strerror(nullptr));
        std::exit(1);
    }
    std::vector<short> pcm(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        pcm[i] = static_cast<short>(std::lround(std::clamp(s[i], -1.0, 1.0) * 32767.0));
    const sf_count_t n = static_cast<sf_count_t>(pcm.size());
    if (sf_write_short(f, pcm.data(), n) != n || sf_close(f) != 0) {
        std::fprintf(stderr, "velmora_make_assets: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

// The charge: a tone that climbs two octaves in 0.7 s, pulsing as it goes.
Samples chargeTone() {
    Samples s = silence(0.7);
    double phase = 0, phase5 = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i), u = t / 0.7;
        const double f = 190.0 * std::pow(2.0, 2.0 * u);
        phase += kTwoPi * f / kRate;
        phase5 += kTwoPi * f * 1.5 / kRate;
        const double pulse = 0.78 + 0.22 * std::cos(kTwoPi * (9 + 10 * u) * t);
        const double level = 0.45 + 0.55 * u;
        s[i] = level * pulse * (0.8 * richTone(phase, 6, 1.6) + 0.25 * std::sin(phase5));
    }
    finish(s, 0.008, 0.03);
    return s;
}

// The shot: a crack of noise over a falling thump.
Samples shot(Rng& rng) {
    Samples s = silence(0.4);
    LowPass noiseFilter, bodyFilter;
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        const double crack = noiseFilter.step(rng.range(-1, 1), 900 + 7000 * std::exp(-t / 0.03)) *
                             std::exp(-t / 0.035);
        const double f = 48 + 130 * std::exp(-t / 0.028);
        phase += kTwoPi * f / kRate;
        const double thump = std::sin(phase) * std::exp(-t / 0.085);
        const double click = t < 0.003 ? std::sin(kTwoPi * 1800 * t) * (1 - t / 0.003) : 0.0;
        s[i] = 1.3 * crack + 0.9 * thump + 0.4 * click + 0.15 * bodyFilter.step(crack, 300);
    }
    finish(s, 0.0008, 0.05);
    return s;
}

// The block: a knock on wood, a few short resonances struck by a tick of
// noise.
Samples woodKnock(Rng& rng) {
    Samples s = silence(0.26);
    const double modes[4][3] = {// frequency, decay (s), level
                                {640, 0.055, 1.0},
                                {1410, 0.032, 0.55},
                                {2470, 0.018, 0.35},
                                {205, 0.07, 0.45}};
    LowPass tick;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        double v = 0;
        for (const auto& m : modes) v += m[2] * std::sin(kTwoPi * m[0] * t) * std::exp(-t / m[1]);
        v += 0.6 * tick.step(rng.range(-1, 1), 3000) * std::exp(-t / 0.004);
        s[i] = v;
    }
    finish(s, 0.0005, 0.04);
    return s;
}

// The catch: a soft, low thud with a little leather slap; the noise goes
// through two filter stages so that nothing hisses.
Samples softThud(Rng& rng) {
    Samples s = silence(0.25);
    LowPass low1, low2, slap1, slap2;
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(i);
        const double f = 62 + 40 * std::exp(-t / 0.04);
        phase += kTwoPi * f / kRate;
        const double attack = std::min(1.0, t / 0.004);
        const double body = std::sin(phase) * std::exp(-t / 0.07) * attack;
        const double noise = rng.range(-1, 1);
        const double air = low2.step(low1.step(noise, 420), 420) * std::exp(-t / 0.03) * attack;
        const double leather = slap2.step(slap1.step(noise, 1400), 1400) * std::exp(-t / 0.012);
        s[i] = body + 3.0 * air + 0.8 * leather;
    }
    finish(s, 0.002, 0.05);
    return s;
}

// A note of a jingle added into s at `start`.
void note(Samples& s, double start, double length, double freq, bool square, double level) {
    const size_t from = static_cast<size_t>(start * kRate);
    const size_t count = static_cast<size_t>(length * kRate);
    for (size_t i = 0; i < count && from + i < s.size(); ++i) {
        const double t = timeOf(i);
        const double vib = 1.0 + 0.004 * std::sin(kTwoPi * 6 * t) * std::min(1.0, t / 0.15);
        const double phase = kTwoPi * freq * vib * t;
        const double tone = square ? 0.6 * squareTone(phase, 5) + 0.4 * std::sin(phase * 2)
                                   : richTone(phase, 4, 2.0);
        const double env = std::min(1.0, t / 0.006) * std::exp(-t / (length * 0.55)) *
                           std::min(1.0, (length - t) / 0.02);
        s[from + i] += level * env * tone;
    }
}

// Zone jingle 1: a bright rising arpeggio.
Samples jingleRising() {
    Samples s = silence(0.72);
    const double notes[4] = {523.25, 659.26, 783.99, 1046.5};
    for (int k = 0; k < 4; ++k) {
        const double start = k * 0.1, len = k == 3 ? 0.42 : 0.16;
        note(s, start, len, notes[k], true, 1.0);
        note(s, start, len, notes[k] * 0.5, false, 0.35);
    }
    finish(s, 0.002, 0.06);
    return s;
}

// Zone jingle 2: a falling three-note phrase, softer and lower.
Samples jingleFalling() {
    Samples s = silence(0.76);
    const double notes[3] = {587.33, 466.16, 349.23};
    const double starts[3] = {0.0, 0.14, 0.28};
    const double lengths[3] = {0.16, 0.16, 0.46};
    for (int k = 0; k < 3; ++k) {
        note(s, starts[k], lengths[k], notes[k], false, 1.0);
        note(s, starts[k], lengths[k], notes[k] * 1.5, false, 0.25);
    }
    finish(s, 0.002, 0.06);
    return s;
}

}  // namespace

void writeSounds(const std::string& dir) {
    Rng rng(900);
    save(dir + "/" + dataFileName(DATA_CHARGE_SOUND), chargeTone());
    save(dir + "/" + dataFileName(DATA_SHOT_SOUND), shot(rng));
    save(dir + "/" + dataFileName(DATA_CPU_BLOCK_SOUND), woodKnock(rng));
    save(dir + "/" + dataFileName(DATA_CATCH_SOUND), softThud(rng));
    save(dir + "/" + dataFileName(DATA_PLAYER_SCORES_SOUND), jingleRising());
    save(dir + "/" + dataFileName(DATA_CPU_SCORES_SOUND), jingleFalling());
}
