// The default module: its shape is what the show's timeline counts on, its
// bytes never change, and it plays clean and in tune through libopenmpt.
#include <gtest/gtest.h>

#include <cmath>
#include <libopenmpt/libopenmpt.hpp>
#include <set>

#include "assets/assets.h"
#include "assets/music/compose.h"

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

TEST(composition, samebyteseverytime) {
  const std::vector<uint8_t> again = composemodule();
  ASSERT_FALSE(again.empty());
  EXPECT_EQ(again, songbytes());
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
  EXPECT_GE(10.0 * std::log10(power / count), -21.0);
  EXPECT_LE(10.0 * std::log10(power / count), -16.0);
  // Quiet opening and calm end well below the drops around them.
  EXPECT_LT(lv.db(1), lv.db(4) - 4.0);
  EXPECT_LT(lv.db(24), lv.db(22) - 4.0);
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

// Melody and harmony stay in A minor (G sharp as the leading tone).
TEST(composition, everypitchedpartstaysinkey) {
  const std::set<int> scale = {9, 11, 0, 2, 4, 5, 7, 8};
  const txmmodule song = composesong();
  for (size_t p = 0; p < song.patterns.size(); p++) {
    for (const txmcell& c : song.patterns[p].cells) {
      if (c.note == 0 || c.note == xmkeyoff || c.instrument == 0) continue;
      const txminstrument& ins = song.instruments[c.instrument - 1];
      if (ins.samples[0].looptype == txmloop::none) continue;  // drums
      EXPECT_TRUE(scale.count((c.note - 1) % 12)) << ins.name << " note " << int(c.note) << " in pattern " << p;
    }
  }
}
