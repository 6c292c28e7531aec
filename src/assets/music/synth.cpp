// synth: the default module's instruments, synthesised.
// Depends on: assets/music/xmwriter.h.
#include "assets/music/synth.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace assets {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double middlec = 261.6255653005986;  // C-4
constexpr double drumrate = 44100.0;

// A pitched sample holds `period` frames per cycle at C-4.
constexpr uint32_t padperiod = 64;
constexpr uint32_t padcycles = 256;  // one loop: 16384 frames
constexpr uint32_t leadcycles = 256;
constexpr uint32_t bassperiod = 128;
constexpr uint32_t arpperiod = 64;

double randomphase(tnoise& noise) { return (nextnoise(noise) + 1.0) * pi; }

// A one-pole high pass (cutoff hz) over a signal at the drum rate.
void highpass(std::vector<double>& x, double hz, double rate) {
  const double a = 1.0 / (1.0 + 2.0 * pi * hz / rate);
  double previn = 0, prevout = 0;
  for (double& v : x) {
    const double out = a * (prevout + v - previn);
    previn = v;
    prevout = out;
    v = out;
  }
}

void lowpass(std::vector<double>& x, double hz, double rate) {
  const double k = 1.0 - std::exp(-2.0 * pi * hz / rate);
  double state = 0;
  for (double& v : x) {
    state += k * (v - state);
    v = state;
  }
}

// Scales a wave to a peak of 1, so that saturate's drive means the same for every sound.
void normaliseinplace(std::vector<double>& x) {
  double top = 0;
  for (double v : x) top = std::max(top, std::fabs(v));
  if (top > 0)
    for (double& v : x) v /= top;
}

// Soft saturation: a louder sound within the same peak.
void saturate(std::vector<double>& x, double drive) {
  for (double& v : x) v = std::tanh(drive * v);
}

// Ramps the first and last frames to zero so a one-shot never clicks.
void fadeends(std::vector<double>& x, size_t in, size_t out) {
  for (size_t i = 0; i < in && i < x.size(); i++) x[i] *= double(i) / double(in);
  for (size_t i = 0; i < out && i < x.size(); i++) x[x.size() - 1 - i] *= double(i) / double(out);
}

txmsample drumsample(const std::string& name, std::vector<double> wave, double rate, uint8_t volume, uint8_t panning,
                     bool eightbit) {
  txmsample s;
  s.name = name;
  s.data = normalise(wave, eightbit ? 0.97 : 0.9);
  s.eightbit = eightbit;
  s.volume = volume;
  s.panning = panning;
  const txmtuning t = tuningforrate(rate);
  s.relativenote = t.relativenote;
  s.finetune = t.finetune;
  return s;
}

// A looped pitched sample whose C-4 period is `period` frames.
txmsample loopedsample(const std::string& name, const std::vector<double>& wave, uint32_t period, uint8_t volume,
                       uint8_t panning) {
  txmsample s;
  s.name = name;
  s.data = normalise(wave, 0.9);
  s.looptype = txmloop::forward;
  s.loopstart = 0;
  s.looplength = static_cast<uint32_t>(s.data.size());
  s.volume = volume;
  s.panning = panning;
  const txmtuning t = tuningforrate(middlec * period);
  s.relativenote = t.relativenote;
  s.finetune = t.finetune;
  return s;
}

txmenvelope envelope(std::vector<txmenvpoint> points, int sustainpoint) {
  txmenvelope env;
  env.on = true;
  env.points = std::move(points);
  env.sustain = sustainpoint >= 0;
  env.sustainpoint = static_cast<uint8_t>(sustainpoint < 0 ? 0 : sustainpoint);
  return env;
}

// Harmonics of a soft saw on `cycles` per loop, stopping below the loop's
// Nyquist limit and at maxharmonic.
void addsaw(std::vector<tpartial>& parts, uint32_t cycles, size_t length, double amplitude, uint32_t maxharmonic,
            double softness, tnoise& noise) {
  for (uint32_t h = 1; h <= maxharmonic && size_t(h) * cycles * 2 < length; h++)
    parts.push_back({h * cycles, amplitude / h * std::exp(-double(h - 1) / softness), randomphase(noise)});
}

}  // namespace

// ---- building blocks -------------------------------------------------------

double nextnoise(tnoise& noise) {
  uint32_t x = noise.state;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  noise.state = x;
  return double(x) / 2147483648.0 - 1.0;
}

std::vector<double> additive(size_t length, const std::vector<tpartial>& partials) {
  std::vector<double> out(length, 0.0);
  for (const tpartial& p : partials) {
    const double step = 2.0 * pi * double(p.cycles) / double(length);
    for (size_t i = 0; i < length; i++) out[i] += p.amplitude * std::sin(step * double(i) + p.phase);
  }
  return out;
}

std::vector<int16_t> normalise(const std::vector<double>& wave, double peak) {
  double top = 0;
  for (double v : wave) top = std::max(top, std::fabs(v));
  const double scale = top > 0 ? peak * 32767.0 / top : 0.0;
  std::vector<int16_t> out(wave.size());
  for (size_t i = 0; i < wave.size(); i++) out[i] = static_cast<int16_t>(std::lround(wave[i] * scale));
  return out;
}

// ---- drums -----------------------------------------------------------------

txminstrument makekick() {
  const size_t n = size_t(drumrate * 0.45);
  std::vector<double> w(n);
  tnoise noise{0x1234567u};
  double phase = 0;
  for (size_t i = 0; i < n; i++) {
    const double t = double(i) / drumrate;
    const double hz = 46.0 + 120.0 * std::exp(-t / 0.032);
    w[i] = std::sin(phase) * std::exp(-t / 0.2) + 0.25 * nextnoise(noise) * std::exp(-t / 0.003);
    phase += 2.0 * pi * hz / drumrate;
  }
  saturate(w, 2.4);
  fadeends(w, 44, 441);
  return oneinstrument("kick", drumsample("kick", w, drumrate, 64, 128, false));
}

txminstrument makesnare() {
  const size_t n = size_t(drumrate * 0.32);
  tnoise noise{0x2345678u};
  std::vector<double> hiss(n);
  for (double& v : hiss) v = nextnoise(noise);
  highpass(hiss, 1800.0, drumrate);
  lowpass(hiss, 11000.0, drumrate);
  std::vector<double> w(n);
  for (size_t i = 0; i < n; i++) {
    const double t = double(i) / drumrate;
    const double body = 0.7 * std::sin(2 * pi * 188.0 * t) * std::exp(-t / 0.045) +
                        0.35 * std::sin(2 * pi * 331.0 * t) * std::exp(-t / 0.03);
    w[i] = body + 1.5 * hiss[i] * std::exp(-t / 0.09);
  }
  saturate(w, 1.6);
  fadeends(w, 44, 441);
  return oneinstrument("snare", drumsample("snare", w, drumrate, 64, 120, false));
}

namespace {

// The square-wave modes of a struck cymbal, in Hz: their odd harmonics
// crowd the treble with partials that belong to no common fundamental,
// which is what makes metal ring instead of hiss.
constexpr double cymbalmodes[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};

// n frames of the six modes scaled by `scale`, each a band-limited square
// (odd harmonics below 18 kHz), with a little noise for the sizzle, through
// two high passes at cutoff.
std::vector<double> metal(size_t n, double scale, double cutoff, double noiseshare, uint32_t seed) {
  tnoise noise{seed};
  std::vector<double> w(n, 0.0);
  for (double mode : cymbalmodes) {
    const double hz = mode * scale;
    for (uint32_t h = 1; h * hz < 18000.0; h += 2) {
      const double step = 2.0 * pi * h * hz / drumrate, amplitude = 1.0 / h, phase = randomphase(noise);
      for (size_t i = 0; i < n; i++) w[i] += amplitude * std::sin(step * double(i) + phase);
    }
  }
  double top = 0;
  for (double v : w) top = std::max(top, std::fabs(v));
  for (double& v : w) v = v / top + noiseshare * nextnoise(noise);
  highpass(w, cutoff, drumrate);
  highpass(w, cutoff, drumrate);
  return w;
}

}  // namespace

txminstrument makeclosedhat() {
  std::vector<double> w = metal(size_t(drumrate * 0.1), 1.45, 3800.0, 0.05, 0x3456789u);
  for (size_t i = 0; i < w.size(); i++) w[i] *= std::exp(-double(i) / drumrate / 0.03);
  saturate(w, 2.5);
  fadeends(w, 22, 220);
  return oneinstrument("closed hat", drumsample("closed hat", w, drumrate, 64, 168, false));
}

txminstrument makeopenhat() {
  std::vector<double> w = metal(size_t(drumrate * 0.42), 1.45, 3200.0, 0.05, 0x456789au);
  for (size_t i = 0; i < w.size(); i++) w[i] *= std::exp(-double(i) / drumrate / 0.12);
  saturate(w, 2.5);
  fadeends(w, 22, 882);
  return oneinstrument("open hat", drumsample("open hat", w, drumrate, 64, 88, false));
}

txminstrument makecrash() {
  std::vector<double> w = metal(size_t(drumrate * 2.2), 2.1, 3000.0, 0.6, 0x56789abu);
  lowpass(w, 12000.0, drumrate);
  for (size_t i = 0; i < w.size(); i++) {
    const double t = double(i) / drumrate;
    w[i] *= std::exp(-t / 0.55);
  }
  fadeends(w, 88, 4410);
  return oneinstrument("crash", drumsample("crash", w, drumrate, 64, 108, false));
}

// Noise through a band pass sweeping up, growing louder; stored as 8 bits,
// which noise does not mind.
txminstrument makeriser() {
  constexpr double rate = 22050.0;
  const size_t n = size_t(rate * 1.92);
  tnoise noise{0x6789abcu};
  std::vector<double> w(n);
  double low = 0, band = 0;
  for (size_t i = 0; i < n; i++) {
    const double t = double(i) / double(n);
    const double hz = 300.0 * std::pow(7000.0 / 300.0, t);
    const double f = 2.0 * std::sin(pi * hz / rate);
    const double q = 0.35;
    const double high = nextnoise(noise) - low - q * band;
    band += f * high;
    low += f * band;
    w[i] = band * (0.05 + 0.95 * t * t);
  }
  fadeends(w, 220, 660);
  return oneinstrument("riser", drumsample("riser", w, rate, 64, 150, true));
}

// ---- pitched instruments -------------------------------------------------------

txminstrument makebass() {
  tnoise noise{0x789abcdu};
  std::vector<tpartial> parts;
  addsaw(parts, 1, bassperiod, 1.0, 24, 4.0, noise);
  parts.push_back({1, 0.6, 0.0});  // a sine under it keeps the low end round
  std::vector<double> w = additive(bassperiod, parts);
  normaliseinplace(w);
  saturate(w, 2.0);
  txminstrument ins = oneinstrument("bass", loopedsample("bass", w, bassperiod, 64, 128));
  ins.volumeenv = envelope({{0, 0}, {1, 64}, {8, 50}, {14, 0}}, 2);
  ins.fadeout = 0x400;
  return ins;
}

// Three slightly detuned voices on each of root, fifth and octave: the
// detune is one cycle per loop, a slow chorus.
txminstrument makepadfifths() {
  tnoise noise{0x89abcdeu};
  const size_t length = size_t(padperiod) * padcycles;
  std::vector<tpartial> parts;
  const uint32_t tones[3] = {padcycles, padcycles * 3 / 2, padcycles * 2};
  const double weights[3] = {1.0, 0.6, 0.4};
  for (int k = 0; k < 3; k++)
    for (int d = -1; d <= 1; d++)
      addsaw(parts, tones[k] + static_cast<uint32_t>(d), length, weights[k], 10, 3.0, noise);
  txminstrument ins = oneinstrument("pad fifths", loopedsample("pad fifths", additive(length, parts), padperiod, 64, 104));
  ins.volumeenv = envelope({{0, 0}, {24, 64}, {90, 54}, {150, 0}}, 2);
  ins.fadeout = 0x80;
  return ins;
}

txminstrument makepad() {
  tnoise noise{0x9abcdefu};
  const size_t length = size_t(padperiod) * padcycles;
  std::vector<tpartial> parts;
  for (int d = -1; d <= 1; d++) addsaw(parts, padcycles + static_cast<uint32_t>(d), length, 1.0, 10, 3.0, noise);
  txminstrument ins = oneinstrument("pad", loopedsample("pad", additive(length, parts), padperiod, 64, 152));
  ins.volumeenv = envelope({{0, 0}, {24, 64}, {90, 54}, {150, 0}}, 2);
  ins.fadeout = 0x80;
  return ins;
}

// Three saws a few cents apart, their harmonics from the third up lifted
// nearly twice over the plain saw's: a lead that speaks in the 2-8 kHz range
// and stands over the hats rather than behind the pads.
txminstrument makelead() {
  tnoise noise{0xabcdef1u};
  const size_t length = size_t(padperiod) * leadcycles;
  std::vector<tpartial> parts;
  const uint32_t voices[3] = {leadcycles, leadcycles + 1, leadcycles - 1};
  const double weights[3] = {1.0, 0.7, 0.7};
  for (int k = 0; k < 3; k++)
    for (uint32_t h = 1; h <= 20 && size_t(h) * voices[k] * 2 < length; h++) {
      const double presence = h == 1 ? 1.0 : (h == 2 ? 1.4 : 1.8);
      parts.push_back({h * voices[k], weights[k] * presence / h * std::exp(-double(h - 1) / 12.0), randomphase(noise)});
    }
  std::vector<double> w = additive(length, parts);
  normaliseinplace(w);
  saturate(w, 1.6);  // denser, and brighter still
  txminstrument ins = oneinstrument("lead", loopedsample("lead", w, padperiod, 64, 128));
  ins.volumeenv = envelope({{0, 0}, {2, 64}, {12, 50}, {40, 44}, {52, 0}}, 3);
  ins.fadeout = 0x200;
  ins.vibratotype = 0;
  ins.vibratosweep = 80;
  ins.vibratodepth = 2;
  ins.vibratorate = 10;
  return ins;
}

// A narrow pulse (a quarter of the cycle high) plucked by its envelope:
// thin and glassy, so it glitters above the pads instead of thickening them.
txminstrument makearpeggio() {
  std::vector<tpartial> parts;
  for (uint32_t h = 1; h <= 16; h++) {
    const double pulse = std::sin(pi * double(h) / 4.0);  // the spectrum of a 25 % pulse
    if (std::fabs(pulse) > 1e-9) parts.push_back({h, pulse / h * std::exp(-double(h - 1) / 10.0), 0.0});
  }
  txminstrument ins = oneinstrument("arpeggio", loopedsample("arpeggio", additive(arpperiod, parts), arpperiod, 64, 96));
  ins.volumeenv = envelope({{0, 0}, {1, 64}, {6, 36}, {16, 14}, {40, 0}}, -1);
  return ins;
}

}  // namespace assets
