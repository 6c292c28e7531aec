// xmwriter: writes FastTracker 2 extended modules (XM, version 0x0104).
// Depends on: runtime/check.h.
#include "assets/music/xmwriter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "runtime/check.h"

namespace assets {

namespace {

// Sizes the file format fixes.
constexpr uint32_t headersize = 276;  // counted from its own field
constexpr uint32_t patternheadersize = 9;
constexpr uint32_t instrumentheadersize = 263;  // with samples
constexpr uint32_t bareinstrumentsize = 29;     // without samples
constexpr uint32_t sampleheadersize = 40;
constexpr uint8_t maxeffect = 35;  // 'Z'

struct tout {
  std::vector<uint8_t> bytes;
  void u8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
  void u16(uint32_t v) {
    u8(v & 0xffu);
    u8((v >> 8) & 0xffu);
  }
  void u32(uint32_t v) {
    u16(v & 0xffffu);
    u16(v >> 16);
  }
  // A fixed-width text field: cut to size, padded with zeros.
  void text(const std::string& s, size_t width) {
    for (size_t i = 0; i < width; i++) u8(i < s.size() ? static_cast<uint8_t>(s[i]) : 0u);
  }
  void append(const std::vector<uint8_t>& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }
};

std::string checkenvelope(const txmenvelope& env) {
  if (env.points.size() > xmmaxenvpoints) return "more than 12 envelope points";
  if (env.on && env.points.empty()) return "envelope switched on without points";
  for (size_t i = 0; i < env.points.size(); i++) {
    if (env.points[i].value > 64) return "envelope value above 64";
    if (i > 0 && env.points[i].tick <= env.points[i - 1].tick) return "envelope ticks not increasing";
  }
  if (env.sustain && env.sustainpoint >= env.points.size()) return "envelope sustain point past the last point";
  if (env.loop && (env.loopstart > env.loopend || env.loopend >= env.points.size()))
    return "envelope loop outside the points";
  return "";
}

std::string checksample(const txmsample& s) {
  if (s.volume > 64) return "sample volume above 64";
  if (s.data.size() > 0x7fffffffu / 2u) return "sample too long";
  if (static_cast<uint8_t>(s.looptype) > 2) return "unknown loop type";
  if (s.looptype != txmloop::none) {
    if (s.looplength == 0) return "sample loop of length 0";
    if (s.loopstart > s.data.size() || s.looplength > s.data.size() - s.loopstart)
      return "sample loop past the end of the data";
  }
  return "";
}

std::string checkinstrument(const txminstrument& ins) {
  if (ins.samples.size() > xmmaxsamples) return "more than 16 samples in an instrument";
  for (uint8_t n : ins.notemap)
    if (!ins.samples.empty() && n >= ins.samples.size()) return "note map names a missing sample";
  if (ins.fadeout > 0xfff) return "fadeout above 0xfff";
  if (ins.vibratotype > 3 || ins.vibratodepth > 15 || ins.vibratorate > 63) return "vibrato out of range";
  std::string why = checkenvelope(ins.volumeenv);
  if (!why.empty()) return why;
  for (const txmsample& s : ins.samples) {
    why = checksample(s);
    if (!why.empty()) return why;
  }
  return "";
}

}  // namespace

// ---- checking ------------------------------------------------------------

std::string checkxm(const txmmodule& m) {
  if (m.channels < 1 || m.channels > xmmaxchannels) return "channel count outside 1..32";
  if (m.speed < 1 || m.speed > 31) return "speed outside 1..31";
  if (m.bpm < 32 || m.bpm > 255) return "tempo outside 32..255";
  if (m.orders.empty() || m.orders.size() > xmmaxorders) return "order list length outside 1..256";
  if (m.restart >= m.orders.size()) return "restart position past the order list";
  if (m.patterns.empty() || m.patterns.size() > xmmaxpatterns) return "pattern count outside 1..256";
  for (uint8_t o : m.orders)
    if (o >= m.patterns.size()) return "order names a missing pattern";
  if (m.instruments.size() > xmmaxinstruments) return "more than 128 instruments";
  for (const txmpattern& p : m.patterns) {
    if (p.rows < 1 || p.rows > xmmaxrows) return "pattern rows outside 1..256";
    if (p.channels != m.channels) return "pattern channel count differs from the module's";
    if (p.cells.size() != static_cast<size_t>(p.rows) * p.channels) return "pattern cell count is not rows x channels";
    for (const txmcell& c : p.cells) {
      if (c.note > xmkeyoff) return "note above key off";
      if (c.instrument > m.instruments.size()) return "cell names a missing instrument";
      if (c.effect > maxeffect) return "unknown effect";
    }
  }
  for (const txminstrument& ins : m.instruments) {
    std::string why = checkinstrument(ins);
    if (!why.empty()) return why;
  }
  return "";
}

// ---- pieces --------------------------------------------------------------

txminstrument oneinstrument(const std::string& name, txmsample sample) {
  txminstrument ins;
  ins.name = name;
  ins.samples.push_back(std::move(sample));
  return ins;
}

txmpattern emptypattern(uint16_t rows, uint16_t channels) {
  txmpattern p;
  p.rows = rows;
  p.channels = channels;
  p.cells.assign(static_cast<size_t>(rows) * channels, txmcell{});
  return p;
}

txmcell& cell(txmpattern& pattern, uint16_t channel, uint16_t row) {
  MORVANTA_REQUIRE(channel < pattern.channels && row < pattern.rows);
  return pattern.cells[static_cast<size_t>(row) * pattern.channels + channel];
}

const txmcell& cell(const txmpattern& pattern, uint16_t channel, uint16_t row) {
  MORVANTA_REQUIRE(channel < pattern.channels && row < pattern.rows);
  return pattern.cells[static_cast<size_t>(row) * pattern.channels + channel];
}

// A cell with all five fields is stored as they are; any other cell as a
// flag byte (bit 7 set, bits 0..4 = which fields follow) and those fields.
std::vector<uint8_t> packpattern(const txmpattern& pattern) {
  std::vector<uint8_t> out;
  out.reserve(pattern.cells.size() * 2);
  for (const txmcell& c : pattern.cells) {
    const uint8_t fields[5] = {c.note, c.instrument, c.volume, c.effect, c.param};
    uint8_t flags = 0;
    for (uint8_t i = 0; i < 5; i++)
      if (fields[i] != 0) flags = static_cast<uint8_t>(flags | (1u << i));
    if (flags == 0x1f) {
      out.insert(out.end(), fields, fields + 5);
      continue;
    }
    out.push_back(static_cast<uint8_t>(0x80u | flags));
    for (uint8_t i = 0; i < 5; i++)
      if (fields[i] != 0) out.push_back(fields[i]);
  }
  return out;
}

std::vector<uint8_t> deltacode(const std::vector<int16_t>& data, bool eightbit) {
  std::vector<uint8_t> out;
  out.reserve(data.size() * (eightbit ? 1 : 2));
  uint16_t previous = 0;  // differences wrap, as the reader's sums do
  for (int16_t v : data) {
    if (eightbit) {
      // floor((v + 128) / 256) on a non-negative dividend, then clamped
      const int32_t rounded = std::min((int32_t{v} + 32896) / 256 - 128, 127);
      const uint8_t high = static_cast<uint8_t>(rounded);
      out.push_back(static_cast<uint8_t>(high - static_cast<uint8_t>(previous)));
      previous = high;
    } else {
      const uint16_t d = static_cast<uint16_t>(static_cast<uint16_t>(v) - previous);
      out.push_back(static_cast<uint8_t>(d & 0xffu));
      out.push_back(static_cast<uint8_t>(d >> 8));
      previous = static_cast<uint16_t>(v);
    }
  }
  return out;
}

// C-4 plays at 8363 Hz with relative note 0 and finetune 0; a finetune step
// is 1/128 semitone.
txmtuning tuningforrate(double hz) {
  if (!(hz > 0.0)) return {};
  const double semis = 12.0 * std::log2(hz / 8363.0);
  long steps = std::lround(semis * 128.0);
  long rel = steps >= 0 ? steps / 128 : -((-steps + 127) / 128);
  const long fine = steps - rel * 128;  // 0..127 after the floor division
  txmtuning t;
  t.relativenote = static_cast<int8_t>(rel < -96 ? -96 : (rel > 95 ? 95 : rel));
  t.finetune = static_cast<int8_t>(fine);
  return t;
}

// ---- the file ------------------------------------------------------------

std::vector<uint8_t> writexm(const txmmodule& m) {
  if (!checkxm(m).empty()) return {};
  tout o;
  o.text("Extended Module: ", 17);
  o.text(m.name, 20);
  o.u8(0x1a);
  o.text(m.tracker, 20);
  o.u16(0x0104);
  o.u32(headersize);
  o.u16(static_cast<uint32_t>(m.orders.size()));
  o.u16(m.restart);
  o.u16(m.channels);
  o.u16(static_cast<uint32_t>(m.patterns.size()));
  o.u16(static_cast<uint32_t>(m.instruments.size()));
  o.u16(m.linearfrequencies ? 1u : 0u);
  o.u16(m.speed);
  o.u16(m.bpm);
  for (uint32_t i = 0; i < 256; i++) o.u8(i < m.orders.size() ? m.orders[i] : 0u);

  for (const txmpattern& p : m.patterns) {
    const std::vector<uint8_t> packed = packpattern(p);
    o.u32(patternheadersize);
    o.u8(0);  // packing type
    o.u16(p.rows);
    o.u16(static_cast<uint32_t>(packed.size()));  // at most 256*32*5 bytes
    o.append(packed);
  }

  for (const txminstrument& ins : m.instruments) {
    const bool hassamples = !ins.samples.empty();
    o.u32(hassamples ? instrumentheadersize : bareinstrumentsize);
    o.text(ins.name, 22);
    o.u8(0);  // type
    o.u16(static_cast<uint32_t>(ins.samples.size()));
    if (!hassamples) continue;
    o.u32(sampleheadersize);
    for (uint8_t n : ins.notemap) o.u8(n);
    const txmenvelope& env = ins.volumeenv;
    for (uint32_t i = 0; i < xmmaxenvpoints; i++) {
      o.u16(i < env.points.size() ? env.points[i].tick : 0u);
      o.u16(i < env.points.size() ? env.points[i].value : 0u);
    }
    for (uint32_t i = 0; i < xmmaxenvpoints * 2; i++) o.u16(0);  // panning envelope
    o.u8(static_cast<uint32_t>(env.points.size()));
    o.u8(0);
    o.u8(env.sustainpoint);
    o.u8(env.loopstart);
    o.u8(env.loopend);
    o.u8(0);
    o.u8(0);
    o.u8(0);
    o.u8((env.on ? 1u : 0u) | (env.sustain ? 2u : 0u) | (env.loop ? 4u : 0u));
    o.u8(0);
    o.u8(ins.vibratotype);
    o.u8(ins.vibratosweep);
    o.u8(ins.vibratodepth);
    o.u8(ins.vibratorate);
    o.u16(ins.fadeout);
    for (uint32_t i = 0; i < 22; i++) o.u8(0);  // reserved

    for (const txmsample& s : ins.samples) {
      const uint32_t bytesper = s.eightbit ? 1u : 2u;
      o.u32(static_cast<uint32_t>(s.data.size()) * bytesper);
      o.u32(s.looptype == txmloop::none ? 0u : s.loopstart * bytesper);
      o.u32(s.looptype == txmloop::none ? 0u : s.looplength * bytesper);
      o.u8(s.volume);
      o.u8(static_cast<uint8_t>(s.finetune));
      o.u8(static_cast<uint32_t>(s.looptype) | (s.eightbit ? 0u : 0x10u));
      o.u8(s.panning);
      o.u8(static_cast<uint8_t>(s.relativenote));
      o.u8(0);
      o.text(s.name, 22);
    }
    for (const txmsample& s : ins.samples) o.append(deltacode(s.data, s.eightbit));
  }
  return o.bytes;
}

}  // namespace assets
