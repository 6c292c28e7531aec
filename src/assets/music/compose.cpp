// compose: the default module, written by code.
// Depends on: assets/music/xmwriter.h, assets/music/synth.h, assets/assets.h.
#include "assets/music/compose.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "assets/assets.h"
#include "assets/music/synth.h"

namespace assets {

namespace {

// ---- the band ----------------------------------------------------------------

enum tchannel : uint16_t { chkick, chsnare, chhats, chbass, chpad, chthird, chlead, chfx };

enum tinstrumentno : uint8_t {
  ikick = 1,
  isnare,
  iclosedhat,
  iopenhat,
  icrash,
  iriser,
  ibass,
  ipadfifths,
  ipad,
  ilead,
  iarp,
};

constexpr uint8_t c4 = 49;  // drums play at their recorded rate on C-4

// ---- harmony -------------------------------------------------------------------

struct tchord {
  uint8_t root;  // pitch class, C = 0
  bool minor;
};

// One chord per bar, four bars per pattern.
using tprogression = std::array<tchord, 4>;

constexpr tchord am{9, true}, dm{2, true}, f{5, false}, c{0, false}, g{7, false}, e{4, false};
constexpr tprogression progintro{am, am, f, e};
constexpr tprogression progmain{am, f, c, g};
constexpr tprogression proglift{f, c, g, am};
constexpr tprogression progdark{dm, am, dm, e};
constexpr tprogression progend{f, g, am, am};
constexpr tprogression progfinal{am, am, am, am};

constexpr uint8_t octave(int n) { return static_cast<uint8_t>(n * 12 + 1); }

// The note of pitch class pc (0..11) at or above low.
uint8_t notefrom(uint8_t pc, uint8_t low) {
  return static_cast<uint8_t>(low + (pc + 12 - (low - 1) % 12) % 12);
}

uint8_t third(const tchord& ch) { return static_cast<uint8_t>((ch.root + (ch.minor ? 3 : 4)) % 12); }

// Registers: bass E-1..D#-2, pads F-3..E-4 and A-3..G#-4, arpeggio G-4 up.
constexpr uint8_t basslow = octave(1) + 4;
constexpr uint8_t padlow = octave(3) + 5;
constexpr uint8_t thirdlow = octave(3) + 9;
constexpr uint8_t arplow = octave(4) + 7;

// ---- writing cells ---------------------------------------------------------------

// The parts below write volumes as dynamics (about 40 is a drop's level);
// the mix scales each channel, since the player gives every channel the
// same headroom and a lone channel at full volume peaks near -14.5 dBFS.
constexpr double mix[songchannels] = {1.14, 1.25, 1.9, 1.3, 1.3, 1.3, 1.45, 1.6};

uint8_t vol(int v) { return static_cast<uint8_t>(0x10 + std::clamp(v, 0, 64)); }

void put(txmpattern& p, uint16_t ch, int row, uint8_t note, uint8_t ins, int volume) {
  if (row < 0 || row >= songrows) return;
  txmcell& x = cell(p, ch, static_cast<uint16_t>(row));
  x.note = note;
  x.instrument = ins;
  x.volume = vol(static_cast<int>(volume * mix[ch] + 0.5));
}

// Releases a channel at row unless something already starts there.
void release(txmpattern& p, uint16_t ch, int row) {
  if (row < 0 || row >= songrows) return;
  txmcell& x = cell(p, ch, static_cast<uint16_t>(row));
  if (x.note == 0) x.note = xmkeyoff;
}

const tchord& chordat(const tprogression& prog, int row) { return prog[static_cast<size_t>(row / 16)]; }

// ---- drums ----------------------------------------------------------------------

void kicks(txmpattern& p, int from, int to, int v) {
  for (int r = from; r < to; r++)
    if (r % 4 == 0) put(p, chkick, r, c4, ikick, v);
}

// Half time: the kick on 1 and the "and" of 3, the snare on 3.
void halftime(txmpattern& p, int from, int to, int v) {
  for (int r = from; r < to; r++) {
    if (r % 16 == 0 || r % 16 == 10) put(p, chkick, r, c4, ikick, v);
    if (r % 16 == 8) put(p, chsnare, r, c4, isnare, v * 3 / 4);
  }
}

void backbeat(txmpattern& p, int from, int to, int v) {
  for (int r = from; r < to; r++)
    if (r % 8 == 4) put(p, chsnare, r, c4, isnare, v);
}

// A snare roll growing from v0 to v1, one hit every step rows.
void roll(txmpattern& p, int from, int to, int step, int v0, int v1) {
  for (int r = from; r < to; r += step)
    put(p, chsnare, r, c4, isnare, v0 + (v1 - v0) * (r - from) / std::max(1, to - from - 1));
}

// Closed sixteenths, accented on the off-beat eighths.
void hats16(txmpattern& p, int from, int to, int v) {
  static constexpr int accent[4] = {70, 40, 100, 45};
  for (int r = from; r < to; r++) put(p, chhats, r, c4, iclosedhat, v * accent[r % 4] / 100);
}

// Open hats on the off-beats, soft closed ones on the beats.
void hatsoff(txmpattern& p, int from, int to, int v) {
  for (int r = from; r < to; r++) {
    if (r % 4 == 2) put(p, chhats, r, c4, iopenhat, v);
    if (r % 4 == 0) put(p, chhats, r, c4, iclosedhat, v / 2);
  }
}

void hats8(txmpattern& p, int from, int to, int v) {
  for (int r = from; r < to; r++)
    if (r % 2 == 0) put(p, chhats, r, c4, iclosedhat, r % 4 == 2 ? v : v * 6 / 10);
}

void crash(txmpattern& p, int row, int v) { put(p, chfx, row, c4, icrash, v); }
void riser(txmpattern& p, int row, int v) { put(p, chfx, row, c4, iriser, v); }

// ---- bass ---------------------------------------------------------------------------

enum class tbass { whole, pulse, offbeat, groove };

void bass(txmpattern& p, const tprogression& prog, int from, int to, tbass style, int v) {
  for (int r = from; r < to; r++) {
    const uint8_t root = notefrom(chordat(prog, r).root, basslow);
    const uint8_t fifth = notefrom(static_cast<uint8_t>((chordat(prog, r).root + 7) % 12), root);
    const int inbar = r % 16;
    switch (style) {
      case tbass::whole:
        if (inbar == 0 || r == from) put(p, chbass, r, root, ibass, v);
        break;
      case tbass::pulse:
        if (r % 2 == 0)
          put(p, chbass, r, inbar == 14 ? static_cast<uint8_t>(root + 12) : root, ibass, r % 4 == 0 ? v : v * 8 / 10);
        else
          release(p, chbass, r);
        break;
      case tbass::offbeat:
        if (r % 4 == 2) put(p, chbass, r, inbar == 14 ? static_cast<uint8_t>(root + 12) : root, ibass, v);
        if (r % 4 == 0) release(p, chbass, r);
        break;
      case tbass::groove: {
        // root, root, octave, root, fifth, octave, root: a bar of sixteenths
        static constexpr int hits[16] = {1, 0, -1, 1, 0, -1, 3, -1, 1, 0, 2, -1, 3, -1, 1, -1};
        const int h = hits[inbar];
        const uint8_t notes[4] = {0, root, fifth, static_cast<uint8_t>(root + 12)};
        if (h > 0) put(p, chbass, r, notes[h], ibass, inbar % 4 == 0 ? v : v * 85 / 100);
        if (h < 0) release(p, chbass, r);
        break;
      }
    }
  }
  if (to < songrows) release(p, chbass, to);
}

// ---- pads: root, fifth and octave on one channel, the third on another ---------------

void pads(txmpattern& p, const tprogression& prog, int from, int to, int v) {
  for (int r = from; r < to; r++) {
    if (r != from && (r % 16 != 0 || (chordat(prog, r).root == chordat(prog, r - 1).root &&
                                      chordat(prog, r).minor == chordat(prog, r - 1).minor)))
      continue;
    const tchord& ch = chordat(prog, r);
    put(p, chpad, r, notefrom(ch.root, padlow), ipadfifths, v);
    put(p, chthird, r, notefrom(third(ch), thirdlow), ipad, v * 8 / 10);
  }
  if (to < songrows) {
    release(p, chpad, to);
    release(p, chthird, to);
  }
}

// ---- arpeggio ------------------------------------------------------------------------

enum class tarp { quarters, eighths, sixteenths };

void arp(txmpattern& p, const tprogression& prog, int from, int to, tarp style, int v) {
  static constexpr int up[8] = {0, 1, 2, 3, 4, 3, 2, 1};
  static constexpr int busy[16] = {0, 2, 3, 1, 2, 4, 3, 2, 0, 2, 3, 5, 4, 3, 2, 1};
  for (int r = from; r < to; r++) {
    const tchord& ch = chordat(prog, r);
    const uint8_t root = notefrom(ch.root, arplow);
    const int steps[6] = {0, ch.minor ? 3 : 4, 7, 12, ch.minor ? 15 : 16, 19};
    const int inbar = r % 16;
    int index = -1;
    if (style == tarp::quarters && inbar % 4 == 0) index = inbar / 4;
    if (style == tarp::eighths && inbar % 2 == 0) index = up[inbar / 2];
    if (style == tarp::sixteenths) index = busy[inbar];
    if (index < 0) continue;
    put(p, chfx, r, static_cast<uint8_t>(root + steps[index]), iarp, inbar % 4 == 0 ? v : v * 3 / 4);
  }
}

// ---- melodies --------------------------------------------------------------------------

// A phrase of 64 rows: "E5:6" is E of octave 5 held 6 rows, "-:4" rests.
using tmelody = std::string_view;

struct tphrasetoken {
  uint8_t note = 0;  // 0 = rest
  int length = 0;    // 0 = end of the phrase
  size_t next = 0;
};

constexpr tphrasetoken readtoken(tmelody m, size_t i) {
  tphrasetoken t;
  while (i < m.size() && m[i] == ' ') i++;
  if (i >= m.size()) return t;
  if (m[i] == '-') {
    i++;
  } else {
    constexpr int pcs[7] = {9, 11, 0, 2, 4, 5, 7};  // A..G
    int pc = pcs[m[i] - 'A'];
    i++;
    if (i < m.size() && m[i] == '#') {
      pc++;
      i++;
    }
    const int oct = i < m.size() ? m[i] - '0' : 0;
    i++;
    t.note = static_cast<uint8_t>(oct * 12 + pc + 1);
  }
  i++;  // ':'
  while (i < m.size() && m[i] >= '0' && m[i] <= '9') t.length = t.length * 10 + (m[i++] - '0');
  t.next = i;
  return t;
}

constexpr int phraserows(tmelody m) {
  int rows = 0;
  for (tphrasetoken t = readtoken(m, 0); t.length > 0; t = readtoken(m, t.next)) rows += t.length;
  return rows;
}

constexpr tmelody melodya =  // over Am F C G
    "E5:6 D5:2 C5:4 B4:2 C5:2  A4:6 C5:2 F5:4 E5:2 C5:2  G4:6 C5:2 E5:4 D5:2 E5:2  D5:8 B4:4 G4:2 B4:2";
constexpr tmelody melodyhigh =  // the same chords, an octave of excitement higher
    "A5:4 G5:2 E5:2 C6:4 B5:2 A5:2  A5:6 G5:2 F5:4 E5:2 F5:2  G5:4 E5:2 C5:2 G5:4 A5:2 G5:2  D5:4 G5:4 B5:6 -:2";
constexpr tmelody melodyb =  // over F C G Am
    "A5:6 G5:2 F5:4 C5:4  E5:6 D5:2 E5:4 G5:4  D5:6 B4:2 D5:4 G5:2 F5:2  E5:12 -:4";
constexpr tmelody melodydark =  // over Dm Am Dm E
    "F5:4 E5:2 D5:2 A4:8  C5:4 B4:2 A4:2 E5:8  F5:4 G5:2 A5:2 D5:8  G#5:6 E5:2 B4:4 G#4:4";
constexpr tmelody melodyend =  // over F G Am Am
    "C5:8 A4:8  B4:8 D5:8  E5:16  A4:12 -:4";

// A phrase that is not exactly one pattern long drifts against the chords.
static_assert(phraserows(melodya) == songrows && phraserows(melodyhigh) == songrows &&
              phraserows(melodyb) == songrows && phraserows(melodydark) == songrows &&
              phraserows(melodyend) == songrows);

// Writes the part of the phrase that starts inside [from, to); a note still
// sounding at `to` is released there.
void lead(txmpattern& p, tmelody m, int from, int to, int v) {
  int row = 0;
  bool sounding = false;
  for (tphrasetoken t = readtoken(m, 0); t.length > 0 && row < to; t = readtoken(m, t.next)) {
    if (row >= from) {
      if (t.note != 0)
        put(p, chlead, row, t.note, ilead, v);
      else
        release(p, chlead, row);
      sounding = t.note != 0;
    }
    row += t.length;
  }
  if (sounding && to < songrows) release(p, chlead, to);
}

// ---- the song, position by position -----------------------------------------------------

txmpattern position(uint32_t pos) {
  txmpattern p = emptypattern(songrows, songchannels);
  switch (pos) {
    case 0:  // lead-in: the pads swell in, the arpeggio wakes
      put(p, chpad, 0, notefrom(am.root, padlow), ipadfifths, 6);
      put(p, chthird, 0, notefrom(third(am), thirdlow), ipad, 5);
      for (uint16_t r = 2; r < 32; r += 2) {
        cell(p, chpad, r).volume = vol(static_cast<int>((6 + r) * mix[chpad]));
        cell(p, chthird, r).volume = vol(static_cast<int>((5 + r * 8 / 10) * mix[chthird]));
      }
      pads(p, progintro, 32, 64, 36);
      bass(p, progintro, 32, 64, tbass::whole, 30);
      arp(p, progintro, 32, 48, tarp::quarters, 18);
      riser(p, 48, 18);
      break;
    case 1:  // quiet opening
      pads(p, progmain, 0, 64, 26);
      arp(p, progmain, 0, 64, tarp::eighths, 16);
      break;
    case 2:  // the logos arrive: a heartbeat and the bass
      pads(p, progmain, 0, 64, 32);
      arp(p, progmain, 0, 64, tarp::eighths, 20);
      bass(p, progmain, 0, 48, tbass::whole, 34);
      for (int r : {0, 16, 32}) put(p, chkick, r, c4, ikick, 34);
      break;
    case 3:  // the build
      pads(p, progmain, 0, 64, 30);
      kicks(p, 0, 48, 40);
      hats8(p, 0, 32, 20);
      hats16(p, 32, 48, 24);
      bass(p, progmain, 0, 48, tbass::pulse, 32);
      arp(p, progmain, 0, 48, tarp::sixteenths, 18);
      roll(p, 48, 56, 2, 18, 30);
      roll(p, 56, 64, 1, 32, 48);
      riser(p, 48, 36);
      break;
    case 4:  // first drop
      crash(p, 0, 40);
      kicks(p, 0, 56, 56);
      backbeat(p, 0, 56, 44);
      hats16(p, 0, 64, 28);
      bass(p, progmain, 0, 64, tbass::groove, 48);
      pads(p, progmain, 0, 64, 42);
      lead(p, melodya, 0, 64, 43);
      arp(p, progmain, 16, 64, tarp::sixteenths, 24);
      roll(p, 56, 64, 1, 28, 44);
      break;
    case 5:  // credits: the groove without the tune
      crash(p, 0, 36);
      kicks(p, 0, 64, 56);
      backbeat(p, 0, 64, 42);
      hatsoff(p, 0, 64, 28);
      bass(p, progmain, 0, 64, tbass::offbeat, 50);
      pads(p, progmain, 0, 64, 38);
      arp(p, progmain, 16, 64, tarp::sixteenths, 26);
      roll(p, 60, 64, 1, 24, 38);
      break;
    case 6:
      kicks(p, 0, 64, 56);
      backbeat(p, 0, 64, 42);
      hats16(p, 0, 64, 28);
      bass(p, proglift, 0, 64, tbass::groove, 48);
      pads(p, proglift, 0, 64, 42);
      lead(p, melodyb, 0, 64, 43);
      arp(p, proglift, 0, 64, tarp::eighths, 20);
      roll(p, 60, 64, 1, 24, 38);
      break;
    case 7:  // the credits fade: drums out, a riser
      kicks(p, 0, 48, 56);
      backbeat(p, 0, 48, 42);
      hats16(p, 0, 48, 28);
      bass(p, progmain, 0, 48, tbass::groove, 48);
      pads(p, progmain, 0, 64, 42);
      lead(p, melodyhigh, 0, 48, 38);
      arp(p, progmain, 0, 48, tarp::sixteenths, 24);
      riser(p, 48, 34);
      roll(p, 48, 56, 2, 16, 26);
      roll(p, 56, 64, 1, 28, 42);
      break;
    case 8:  // breakdown under the point cloud
      pads(p, progdark, 0, 64, 32);
      arp(p, progdark, 0, 64, tarp::eighths, 20);
      bass(p, progdark, 0, 64, tbass::whole, 28);
      hats8(p, 32, 64, 16);
      break;
    case 9:  // the build to the burst
      kicks(p, 0, 48, 46);
      hats16(p, 0, 48, 22);
      bass(p, progdark, 0, 48, tbass::pulse, 34);
      pads(p, progdark, 0, 64, 30);
      lead(p, melodydark, 0, 48, 32);
      arp(p, progdark, 0, 48, tarp::eighths, 20);
      roll(p, 32, 48, 2, 20, 30);
      roll(p, 48, 64, 1, 32, 52);
      riser(p, 48, 40);
      break;
    case 10:  // second drop; the text changes at row 32, then it all falls away
      crash(p, 0, 40);
      kicks(p, 0, 48, 56);
      backbeat(p, 0, 48, 44);
      hats16(p, 0, 48, 28);
      bass(p, progmain, 0, 48, tbass::groove, 48);
      pads(p, progmain, 0, 64, 42);
      lead(p, melodya, 0, 32, 43);
      lead(p, melodyhigh, 32, 48, 43);
      arp(p, progmain, 16, 32, tarp::sixteenths, 24);
      crash(p, 32, 30);
      arp(p, progmain, 44, 64, tarp::sixteenths, 18);
      break;
    case 11:  // the eye: calm, drums as the lens grows, the tune with the text
      pads(p, proglift, 0, 64, 32);
      arp(p, proglift, 0, 48, tarp::eighths, 20);
      kicks(p, 16, 54, 50);
      hatsoff(p, 16, 54, 24);
      bass(p, proglift, 16, 54, tbass::offbeat, 46);
      backbeat(p, 32, 48, 40);
      lead(p, melodyb, 32, 54, 38);
      riser(p, 48, 40);
      roll(p, 48, 54, 1, 26, 34);
      roll(p, 54, 64, 1, 36, 52);
      break;
    case 12:  // third drop
      crash(p, 0, 40);
      kicks(p, 0, 48, 56);
      backbeat(p, 0, 48, 44);
      hats16(p, 0, 48, 28);
      bass(p, progmain, 0, 48, tbass::groove, 48);
      bass(p, progmain, 48, 64, tbass::whole, 40);
      pads(p, progmain, 0, 64, 42);
      lead(p, melodyhigh, 0, 48, 43);
      arp(p, progmain, 16, 64, tarp::sixteenths, 24);
      hats8(p, 48, 64, 16);
      roll(p, 60, 64, 1, 30, 40);
      break;
    case 13:  // the counter: groove and arpeggio
      crash(p, 0, 36);
      kicks(p, 0, 64, 56);
      backbeat(p, 0, 64, 42);
      hatsoff(p, 0, 64, 28);
      bass(p, proglift, 0, 64, tbass::offbeat, 50);
      pads(p, proglift, 0, 64, 38);
      arp(p, proglift, 16, 64, tarp::sixteenths, 28);
      roll(p, 60, 64, 1, 24, 38);
      break;
    case 14:
      kicks(p, 0, 48, 56);
      backbeat(p, 0, 48, 42);
      hats16(p, 0, 48, 28);
      bass(p, progmain, 0, 48, tbass::groove, 48);
      pads(p, progmain, 0, 64, 42);
      lead(p, melodya, 0, 48, 43);
      arp(p, progmain, 0, 48, tarp::sixteenths, 24);
      riser(p, 48, 32);
      roll(p, 48, 64, 2, 18, 34);
      break;
    case 15:  // second credits: half time, darker
      crash(p, 0, 36);
      halftime(p, 0, 64, 54);
      hats8(p, 0, 64, 24);
      bass(p, progdark, 0, 64, tbass::pulse, 38);
      pads(p, progdark, 0, 64, 32);
      arp(p, progdark, 16, 64, tarp::sixteenths, 22);
      break;
    case 16:
      kicks(p, 0, 48, 54);
      backbeat(p, 0, 48, 40);
      hats16(p, 0, 48, 26);
      bass(p, progdark, 0, 48, tbass::pulse, 44);
      pads(p, progdark, 0, 64, 38);
      lead(p, melodydark, 0, 48, 38);
      riser(p, 48, 36);
      roll(p, 48, 56, 2, 18, 28);
      roll(p, 56, 64, 1, 30, 46);
      break;
    case 17:  // fourth drop: the tunnel
      crash(p, 0, 40);
      kicks(p, 0, 64, 56);
      backbeat(p, 0, 64, 44);
      hats16(p, 0, 64, 28);
      bass(p, progmain, 0, 64, tbass::groove, 48);
      pads(p, progmain, 0, 64, 42);
      lead(p, melodya, 0, 64, 43);
      arp(p, progmain, 16, 64, tarp::sixteenths, 24);
      roll(p, 60, 64, 1, 24, 38);
      break;
    case 18:
      kicks(p, 0, 48, 56);
      backbeat(p, 0, 48, 44);
      hats16(p, 0, 48, 28);
      bass(p, proglift, 0, 48, tbass::groove, 48);
      pads(p, proglift, 0, 64, 42);
      lead(p, melodyb, 0, 48, 43);
      arp(p, proglift, 0, 48, tarp::sixteenths, 24);
      riser(p, 48, 34);
      roll(p, 48, 56, 2, 16, 26);
      roll(p, 56, 64, 1, 28, 44);
      break;
    case 19:  // squeezed picture: the tune turns at the second text line
      crash(p, 0, 38);
      kicks(p, 0, 48, 56);
      backbeat(p, 0, 48, 42);
      hatsoff(p, 0, 48, 28);
      bass(p, progmain, 0, 48, tbass::offbeat, 50);
      pads(p, progmain, 0, 64, 38);
      lead(p, melodyhigh, 0, 32, 38);
      lead(p, melodya, 32, 48, 38);
      arp(p, progmain, 12, 64, tarp::eighths, 22);
      break;
    case 20:  // breakdown under the drifting dots
      pads(p, progdark, 0, 64, 32);
      arp(p, progdark, 0, 64, tarp::eighths, 20);
      bass(p, progdark, 0, 64, tbass::whole, 28);
      hats8(p, 32, 64, 14);
      break;
    case 21:  // the last build
      pads(p, progdark, 0, 64, 30);
      kicks(p, 16, 54, 48);
      hats16(p, 16, 54, 22);
      bass(p, progdark, 16, 54, tbass::pulse, 34);
      lead(p, melodydark, 0, 54, 32);
      arp(p, progdark, 0, 48, tarp::eighths, 20);
      roll(p, 32, 48, 2, 18, 28);
      roll(p, 48, 64, 1, 30, 52);
      riser(p, 48, 40);
      break;
    case 22:  // final drop
      crash(p, 0, 42);
      kicks(p, 0, 64, 58);
      backbeat(p, 0, 64, 46);
      hats16(p, 0, 64, 30);
      bass(p, progmain, 0, 64, tbass::groove, 50);
      pads(p, progmain, 0, 64, 38);
      lead(p, melodyhigh, 0, 64, 42);
      arp(p, progmain, 16, 64, tarp::sixteenths, 22);
      roll(p, 60, 64, 1, 24, 38);
      break;
    case 23:  // the drums leave for the end text
      kicks(p, 0, 48, 56);
      backbeat(p, 0, 48, 44);
      hats16(p, 0, 56, 28);
      bass(p, proglift, 0, 48, tbass::groove, 48);
      bass(p, proglift, 48, 64, tbass::whole, 40);
      pads(p, proglift, 0, 64, 38);
      lead(p, melodyb, 0, 64, 43);
      arp(p, proglift, 0, 64, tarp::sixteenths, 24);
      break;
    case 24:  // calm end under the end text
      pads(p, progend, 0, 64, 34);
      bass(p, progend, 0, 64, tbass::whole, 32);
      arp(p, progend, 0, 64, tarp::quarters, 20);
      lead(p, melodyend, 0, 64, 28);
      break;
    default: {  // 25: the last chord rings out into silence
      pads(p, progfinal, 0, 40, 34);
      put(p, chbass, 0, notefrom(am.root, basslow), ibass, 32);
      release(p, chbass, 32);
      const uint8_t root = notefrom(am.root, arplow);
      const int fall[4] = {12, 7, 3, 0};
      for (int k = 0; k < 4; k++) put(p, chfx, k * 8, static_cast<uint8_t>(root + fall[k]), iarp, 20 - 3 * k);
      break;
    }
  }
  return p;
}

std::vector<txminstrument> instruments() {
  // In the order of tinstrumentno.
  std::vector<txminstrument> band;
  for (txminstrument (*make)() : {makekick, makesnare, makeclosedhat, makeopenhat, makecrash, makeriser, makebass,
                                  makepadfifths, makepad, makelead, makearpeggio})
    band.push_back(make());
  return band;
}

bool samecells(const txmpattern& a, const txmpattern& b) {
  return a.rows == b.rows && a.channels == b.channels && a.cells == b.cells;
}

}  // namespace

txmmodule composesong() {
  txmmodule m;
  m.name = "Morvanta";
  m.channels = songchannels;
  m.restart = 0;
  m.speed = 6;
  m.bpm = 125;
  m.instruments = instruments();
  // Identical positions share one pattern.
  for (uint32_t pos = 0; pos < songpositions; pos++) {
    txmpattern p = position(pos);
    size_t index = 0;
    while (index < m.patterns.size() && !samecells(m.patterns[index], p)) index++;
    if (index == m.patterns.size()) m.patterns.push_back(std::move(p));
    m.orders.push_back(static_cast<uint8_t>(index));
  }
  return m;
}

std::vector<uint8_t> composemodule() { return writexm(composesong()); }

}  // namespace assets
