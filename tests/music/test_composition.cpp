// The default module: its shape is what the show's timeline counts on, its
// bytes never change, it plays clean and in tune through libopenmpt, and it
// is composed rather than looped: varied melodies and chord loops that turn
// with the scenes, effects, metallic hats, a final drop that tops the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <libopenmpt/libopenmpt.hpp>
#include <map>
#include <set>

#include "assets/assets.h"
#include "assets/music/compose.h"
#include "assets/music/synth.h"

namespace {

using namespace assets;

const std::vector<uint8_t>& songbytes() {
  static const std::vector<uint8_t> bytes = composemodule();
  return bytes;
}

constexpr int32_t rate = 48000;
constexpr double positionseconds = 7.68;  // 64 rows x 6 ticks x 2.5 s / 125

// Mean square of the whole song once through, per order position; and its peak.
struct tlevels {
  double peak = 0;
  std::vector<double> power;
  std::vector<size_t> count;
  double db(size_t pos) const { return 10.0 * std::log10(power[pos] / double(count[pos])); }
};

tlevels measure() {
  openmpt::module mod(songbytes());
  tlevels lv;
  lv.power.assign(static_cast<size_t>(mod.get_num_orders()), 0.0);
  lv.count.assign(lv.power.size(), 0);
  std::vector<float> buf(2 * 480);
  while (true) {
    const size_t order = static_cast<size_t>(mod.get_current_order());
    const size_t got = mod.read_interleaved_stereo(rate, 480, buf.data());
    if (got == 0) break;
    for (size_t i = 0; i < 2 * got; i++) {
      lv.peak = std::max(lv.peak, std::fabs(double(buf[i])));
      lv.power.at(order) += double(buf[i]) * buf[i];
      lv.count.at(order)++;
    }
  }
  return lv;
}

// Fundamental of a steady mono signal by autocorrelation, searched between
// lo and hi Hz and refined with a parabola through the best lag.
double fundamental(const std::vector<float>& x, double lo, double hi) {
  const size_t minlag = size_t(rate / hi), maxlag = size_t(rate / lo) + 1;
  const size_t n = x.size() - maxlag - 1;
  std::vector<double> r(maxlag + 2, 0.0);
  for (size_t lag = minlag - 1; lag <= maxlag + 1; lag++)
    for (size_t i = 0; i < n; i++) r[lag] += double(x[i]) * x[i + lag];
  size_t best = minlag;
  for (size_t lag = minlag; lag <= maxlag; lag++)
    if (r[lag] > r[best]) best = lag;
  const double a = r[best - 1], b = r[best], c = r[best + 1];
  const double shift = 0.5 * (a - c) / (a - 2 * b + c);
  return rate / (double(best) + shift);
}


// ---- reading the song's cells -----------------------------------------------

const txmmodule& song() {
  static const txmmodule m = composesong();
  return m;
}

const txmpattern& at(uint32_t pos) { return song().patterns.at(song().orders.at(pos)); }

bool struck(const txmcell& c) { return c.note >= 1 && c.note <= xmnotes; }

// The chord loop of a position as its pads play it: the pitch class
// sounding on the pad channel at the start of each bar, -1 before the first.
std::vector<int> chordloop(uint32_t pos) {
  std::vector<int> loop;
  int sounding = -1;
  for (uint16_t r = 0; r < songrows; r++) {
    const txmcell& c = cell(at(pos), chpad, r);
    if (struck(c)) sounding = (c.note - 1) % 12;
    if (r % 16 == 15) loop.push_back(sounding);
  }
  return loop;
}

// The scene changes the show's timeline makes, as order positions.
constexpr uint32_t scenestarts[] = {3, 4, 5, 8, 10, 11, 12, 13, 15, 17, 19, 20, 22, 24};
constexpr uint32_t finaldrop[] = {22, 23};

// ---- spectra ------------------------------------------------------------------

// In-place radix-2 FFT; x.size() must be a power of two.
void fft(std::vector<std::complex<double>>& x) {
  const size_t n = x.size();
  for (size_t i = 1, j = 0; i < n; i++) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(x[i], x[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> step = std::polar(1.0, -2.0 * M_PI / double(len));
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> w = 1.0;
      for (size_t k = 0; k < len / 2; k++, w *= step) {
        const std::complex<double> a = x[i + k], b = x[i + k + len / 2] * w;
        x[i + k] = a + b;
        x[i + k + len / 2] = a - b;
      }
    }
  }
}

// Power spectrum of the Hann-windowed block of x starting at `from`.
std::vector<double> powerspectrum(const std::vector<float>& x, size_t from, size_t n) {
  std::vector<std::complex<double>> b(n);
  for (size_t i = 0; i < n; i++) b[i] = x[from + i] * (0.5 - 0.5 * std::cos(2.0 * M_PI * double(i) / double(n)));
  fft(b);
  std::vector<double> power(n / 2);
  for (size_t i = 0; i < n / 2; i++) power[i] = std::norm(b[i]);
  return power;
}

// Power between lo and hi Hz, summed over the blocks of a mono signal.
double bandpower(const std::vector<float>& x, double hz, double lo, double hi) {
  constexpr size_t n = 4096;
  double sum = 0;
  for (size_t from = 0; from + n <= x.size(); from += n) {
    const std::vector<double> power = powerspectrum(x, from, n);
    for (size_t k = 0; k < power.size(); k++) {
      const double f = double(k) * hz / double(n);
      if (f >= lo && f < hi) sum += power[k];
    }
  }
  return sum;
}

// The share of the power between lo and hi Hz that the strongest twentieth
// of the spectrum's bins hold: about 0.2 for noise, most of it where a comb
// of partials stands out of the gaps.
double peakshare(const std::vector<float>& x, double hz, double lo, double hi) {
  std::vector<double> power = powerspectrum(x, 0, 4096), band;
  for (size_t k = 0; k < power.size(); k++) {
    const double f = double(k) * hz / 4096.0;
    if (f >= lo && f < hi) band.push_back(power[k]);
  }
  std::sort(band.begin(), band.end(), std::greater<double>());
  double top = 0, all = 0;
  for (size_t k = 0; k < band.size(); k++) {
    if (k < band.size() / 20) top += band[k];
    all += band[k];
  }
  return top / all;
}

}  // namespace

// The show's timeline counts on this shape: 64-row positions of 7.68 s
// each; the show ends on exactly position 25, which the player must report
// before the song loops back to its start.
TEST(composition, shapeandtimingarewhatthetimelinecountson) {
  openmpt::module mod(songbytes());
  EXPECT_GE(mod.get_num_orders(), 26);
  EXPECT_EQ(mod.get_num_channels(), 8);
  for (int32_t p = 0; p < mod.get_num_patterns(); p++) EXPECT_EQ(mod.get_pattern_num_rows(p), 64) << "pattern " << p;
  EXPECT_EQ(mod.get_current_speed(), 6);
  EXPECT_EQ(mod.get_current_tempo(), 125);
  const int32_t orders = mod.get_num_orders();
  for (int32_t o = 0; o < orders; o++) EXPECT_NEAR(mod.set_position_order_row(o, 0), o * positionseconds, 1e-6) << o;
  EXPECT_NEAR(mod.set_position_order_row(11, 17), 11 * positionseconds + 17 * 0.12, 1e-6);
  EXPECT_NEAR(mod.get_duration_seconds(), orders * positionseconds, 1e-3);

  mod.set_repeat_count(-1);
  mod.set_position_order_row(24, 60);
  std::vector<int32_t> seen{mod.get_current_order()};
  std::vector<float> buf(2 * 480);
  for (int i = 0; i < 2000 && seen.size() < 4; i++) {
    mod.read_interleaved_stereo(rate, 480, buf.data());
    if (mod.get_current_order() != seen.back()) seen.push_back(mod.get_current_order());
  }
  EXPECT_EQ(seen, (std::vector<int32_t>{24, 25, 0, 1}));
}

// The same bytes on every run, and few enough of them to ship beside the show.
TEST(composition, samebyteseverytime) {
  const std::vector<uint8_t> again = composemodule();
  ASSERT_FALSE(again.empty());
  EXPECT_EQ(again, songbytes());
  EXPECT_LT(again.size(), 512u * 1024u);
}

TEST(composition, levelsleaveheadroomandfollowtheshow) {
  const tlevels lv = measure();
  EXPECT_LE(20.0 * std::log10(lv.peak), -1.0);
  double power = 0, count = 0;
  for (size_t pos = 0; pos < lv.power.size(); pos++) {
    EXPECT_GT(lv.db(pos), -40.0) << "position " << pos;  // none is silent
    power += lv.power[pos];
    count += double(lv.count[pos]);
  }
  EXPECT_GE(10.0 * std::log10(power / count), -20.0);
  EXPECT_LE(10.0 * std::log10(power / count), -16.0);
  // Quiet opening and calm end well below the drops around them.
  EXPECT_LT(lv.db(1), lv.db(4) - 4.0);
  EXPECT_LT(lv.db(24), lv.db(22) - 4.0);
  // The final drop is the loudest part, by a margin an ear notices.
  for (uint32_t pos = 0; pos < songpositions; pos++) {
    if (pos == finaldrop[0] || pos == finaldrop[1]) continue;
    for (uint32_t top : finaldrop) EXPECT_GT(lv.db(top), lv.db(pos) + 0.5) << top << " against " << pos;
  }
}

// Loops join without a step larger than the wave itself takes; one-shots
// start and end at rest; whatever loops can be released to silence; and
// each pitched (looped) instrument sounds A-3 at 220 Hz.
TEST(composition, instrumentsjoinwithoutclicksandareintune) {
  for (const txminstrument& ins : composesong().instruments) {
    ASSERT_FALSE(ins.samples.empty()) << ins.name;
    for (const txmsample& s : ins.samples) {
      ASSERT_FALSE(s.data.empty()) << s.name;
      if (s.looptype == txmloop::none) {
        EXPECT_LT(std::abs(s.data.front()), 300) << s.name;
        EXPECT_LT(std::abs(s.data.back()), 300) << s.name;
        continue;
      }
      int maxstep = 0;
      const uint32_t end = s.loopstart + s.looplength;
      for (uint32_t i = s.loopstart + 1; i < end; i++) maxstep = std::max(maxstep, std::abs(s.data[i] - s.data[i - 1]));
      EXPECT_LE(std::abs(s.data[s.loopstart] - s.data[end - 1]), maxstep) << s.name;
      ASSERT_TRUE(ins.volumeenv.on) << ins.name;
      EXPECT_EQ(ins.volumeenv.points.front().value, 0) << ins.name;
      EXPECT_EQ(ins.volumeenv.points.back().value, 0) << ins.name;
    }
    if (ins.samples[0].looptype == txmloop::none) continue;
    txmmodule m;
    m.channels = 1;
    m.orders = {0};
    m.patterns.push_back(emptypattern(64, 1));
    cell(m.patterns[0], 0, 0) = txmcell{46, 1, 0x50, 0, 0};  // A-3, full volume
    m.instruments = {ins};
    m.instruments[0].vibratodepth = 0;
    openmpt::module mod(writexm(m));
    std::vector<float> left(rate), right(rate);
    mod.read(rate, rate, left.data(), right.data());
    std::vector<float> steady(left.begin() + rate / 2, left.begin() + rate / 2 + 8192);
    EXPECT_NEAR(fundamental(steady, 150.0, 300.0), 220.0, 2.0) << ins.name;
  }
}

// Melody and harmony stay in A minor (G sharp as the leading tone) until
// the final drop lifts them a whole tone, to B minor (with A sharp).
TEST(composition, everypitchedpartstaysinkey) {
  const std::set<int> aminor = {9, 11, 0, 2, 4, 5, 7, 8}, bminor = {11, 1, 2, 4, 6, 7, 9, 10};
  for (uint32_t pos = 0; pos < songpositions; pos++) {
    const std::set<int>& scale = pos >= finaldrop[0] ? bminor : aminor;
    int lastinstrument[songchannels] = {};
    for (uint16_t r = 0; r < songrows; r++)
      for (uint16_t ch = 0; ch < songchannels; ch++) {
        const txmcell& c = cell(at(pos), ch, r);
        if (c.instrument != 0) lastinstrument[ch] = c.instrument;
        if (!struck(c) || lastinstrument[ch] == 0) continue;  // glides keep the instrument before them
        const txminstrument& ins = song().instruments[lastinstrument[ch] - 1];
        if (ins.samples[0].looptype == txmloop::none) continue;  // drums
        EXPECT_TRUE(scale.count((c.note - 1) % 12)) << ins.name << " note " << int(c.note) << " at " << pos << ":" << r;
      }
  }
  // Both keys are really used: the lift is not just allowed, it happens.
  EXPECT_EQ(chordloop(4)[0], 9);
  EXPECT_EQ(chordloop(finaldrop[0])[0], 11);
}

// A melody that returns comes back changed: of all the bars the lead plays,
// at least 40 differ from each other in notes or rhythm.
TEST(composition, leadvarieswhenitreturns) {
  std::set<std::vector<uint8_t>> distinct;
  int bars = 0;
  for (uint32_t pos = 0; pos < songpositions; pos++)
    for (int bar = 0; bar < 4; bar++) {
      std::vector<uint8_t> notes;
      bool plays = false;
      for (int r = bar * 16; r < bar * 16 + 16; r++) {
        const txmcell& c = cell(at(pos), chlead, static_cast<uint16_t>(r));
        notes.push_back(c.note);
        plays = plays || struck(c);
      }
      if (!plays) continue;
      bars++;
      distinct.insert(notes);
    }
  EXPECT_GE(distinct.size(), 40u) << "of " << bars << " bars";
}

// Several chord loops share the song, none dominates it, and every scene
// change brings a loop (or key) other than the one before it.
TEST(composition, chordloopsvaryandchangewiththescenes) {
  std::map<std::vector<int>, int> uses;
  for (uint32_t pos = 0; pos < songpositions; pos++) uses[chordloop(pos)]++;
  EXPECT_GE(uses.size(), 8u);
  for (const auto& [loop, n] : uses) EXPECT_LE(n, 6) << "a loop starting on pitch class " << loop[0];
  for (uint32_t s : scenestarts) EXPECT_NE(chordloop(s), chordloop(s - 1)) << "scene change at " << s;
}

// No two positions are near copies: of the cells either one uses, fewer
// than two thirds are identical.
TEST(composition, nopositionnearlycopiesanother) {
  for (uint32_t a = 0; a < songpositions; a++)
    for (uint32_t b = a + 1; b < songpositions; b++) {
      const std::vector<txmcell>&x = at(a).cells, &y = at(b).cells;
      size_t used = 0, same = 0;
      for (size_t i = 0; i < x.size(); i++) {
        if (x[i] == txmcell{} && y[i] == txmcell{}) continue;
        used++;
        same += x[i] == y[i];
      }
      EXPECT_LT(3 * same, 2 * used) << "positions " << a << " and " << b;
    }
}

// Effect commands shape most positions, of every kind the arrangement
// relies on; none of them moves the clock the timeline counts on (speed or
// tempo changes, jumps, breaks, pattern loops or delays).
TEST(composition, effectsshapemostpatternsbutnevertheclock) {
  std::set<int> kinds;  // effect, or 0xe0 + the extended command
  uint32_t witheffects = 0;
  for (uint32_t pos = 0; pos < songpositions; pos++) {
    bool any = false;
    for (const txmcell& c : at(pos).cells) {
      if (c.effect == 0 && c.param == 0) continue;
      any = true;
      kinds.insert(c.effect == xmextended ? 0xe0 + (c.param >> 4) : c.effect);
      EXPECT_TRUE(c.effect != 0x0b && c.effect != 0x0d && c.effect != 0x0f) << "position " << pos;
      if (c.effect == xmextended) {
        EXPECT_TRUE(c.param >> 4 != 0x6 && c.param >> 4 != 0xe) << "position " << pos;
      }
    }
    witheffects += any;
  }
  EXPECT_GE(witheffects, songpositions * 3 / 4);
  for (int kind : {int{xmarpeggio}, int{xmportadown}, int{xmtoneporta}, int{xmvibrato}, int{xmpanning},
                   0xe0 + (xmretrig >> 4), 0xe0 + (xmfinevolup >> 4), 0xe0 + (xmfinevoldown >> 4),
                   0xe0 + (xmnotecut >> 4), 0xe0 + (xmnotedelay >> 4)})
    EXPECT_TRUE(kinds.count(kind)) << std::hex << kind;
}

// The final drop strikes more notes than any other position.
TEST(composition, finaldropisthedensest) {
  auto notes = [](uint32_t pos) {
    return std::count_if(at(pos).cells.begin(), at(pos).cells.end(), [](const txmcell& c) { return struck(c); });
  };
  for (uint32_t pos = 0; pos < songpositions; pos++) {
    if (pos == finaldrop[0] || pos == finaldrop[1]) continue;
    for (uint32_t top : finaldrop) EXPECT_GT(notes(top), notes(pos)) << top << " against " << pos;
  }
}

// In the final drop the presence band (2-8 kHz) sits within 6 dB of the
// body (250 Hz-2 kHz): the lead and the hats cut through.
TEST(composition, finaldropisbright) {
  openmpt::module mod(songbytes());
  mod.set_position_order_row(static_cast<int32_t>(finaldrop[0]), 0);
  std::vector<float> left(size_t(2 * positionseconds * rate)), right(left.size()), mono(left.size());
  for (size_t got = 0, n = 1; got < left.size() && n > 0; got += n)
    n = mod.read(rate, left.size() - got, left.data() + got, right.data() + got);
  for (size_t i = 0; i < mono.size(); i++) mono[i] = 0.5f * (left[i] + right[i]);
  const double body = bandpower(mono, rate, 250.0, 2000.0), presence = bandpower(mono, rate, 2000.0, 8000.0);
  EXPECT_GT(10.0 * std::log10(presence / body), -6.0);
}

// The hats ring like metal: their power sits in a comb of partials, where
// the noise beside them spreads it evenly.
TEST(composition, hatsringlikemetal) {
  tnoise noise;
  std::vector<float> hiss(4096);
  for (float& v : hiss) v = float(nextnoise(noise));
  EXPECT_LT(peakshare(hiss, 44100.0, 2000.0, 16000.0), 0.3);  // the measure itself
  int hats = 0;
  for (const txminstrument& ins : song().instruments) {
    if (ins.name.find("hat") == std::string::npos) continue;
    hats++;
    std::vector<float> x(4096, 0.0f);
    const std::vector<int16_t>& data = ins.samples.at(0).data;
    for (size_t i = 0; i < x.size() && i < data.size(); i++) x[i] = float(data[i]) / 32768.0f;
    EXPECT_GT(peakshare(x, 44100.0, 2000.0, 16000.0), 0.6) << ins.name;
  }
  EXPECT_EQ(hats, 2);
}
