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

constexpr tchord am{9, true}, dm{2, true}, em{4, true}, f{5, false}, c{0, false}, g{7, false}, e{4, false};
constexpr tprogression progintro{am, am, f, e};
constexpr tprogression progmain{am, f, c, g};     // the main theme's loop
constexpr tprogression proglift{f, c, g, am};     // its answer, landing home
constexpr tprogression progdark{dm, am, dm, e};   // the breakdowns
constexpr tprogression progdescent{am, g, f, e};  // stepping down to the dominant
constexpr tprogression progbright{c, g, am, f};   // the relative major's colour
constexpr tprogression progclimb{dm, em, f, g};   // builds: rising into a drop
constexpr tprogression progdream{f, g, em, am};   // the calm scenes
constexpr tprogression progend{f, g, am, am};
constexpr tprogression progfinal{am, am, am, am};

// The final drop and the end sound a whole tone up, in B minor; the build
// before them ends on G, which belongs to both keys.
constexpr int keylift = 2;
constexpr uint32_t liftedfrom = 22;

constexpr tprogression raised(const tprogression& prog, int semis) {
  tprogression out = prog;
  for (tchord& ch : out) ch.root = static_cast<uint8_t>((ch.root + semis) % 12);
  return out;
}

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
constexpr double mix[songchannels] = {1.14, 1.4, 2.2, 1.3, 1.3, 1.3, 1.45, 1.6};

uint8_t vol(int v) { return static_cast<uint8_t>(0x10 + std::clamp(v, 0, 64)); }

bool inside(int row) { return row >= 0 && row < songrows; }

void put(txmpattern& p, uint16_t ch, int row, uint8_t note, uint8_t ins, int volume) {
  if (!inside(row)) return;
  txmcell& x = cell(p, ch, static_cast<uint16_t>(row));
  x.note = note;
  x.instrument = ins;
  x.volume = vol(static_cast<int>(volume * mix[ch] + 0.5));
}

// Releases a channel at row unless something already starts there.
void release(txmpattern& p, uint16_t ch, int row) {
  if (!inside(row)) return;
  txmcell& x = cell(p, ch, static_cast<uint16_t>(row));
  if (x.note == 0) x.note = xmkeyoff;
}

// Gives a cell an effect unless it already has one.
void fx(txmpattern& p, uint16_t ch, int row, uint8_t effect, uint8_t param) {
  if (!inside(row)) return;
  txmcell& x = cell(p, ch, static_cast<uint16_t>(row));
  if (x.effect != 0 || x.param != 0) return;
  x.effect = effect;
  x.param = param;
}

// Slides the sounding note's pitch to `note` without striking it again.
void glide(txmpattern& p, uint16_t ch, int row, uint8_t note, int volume, uint8_t speed) {
  put(p, ch, row, note, 0, volume);
  if (inside(row)) {
    txmcell& x = cell(p, ch, static_cast<uint16_t>(row));
    x.effect = xmtoneporta;
    x.param = speed;
  }
}

// One fine volume step per row on a channel: kind is xmfinevolup or down.
void volumeramp(txmpattern& p, uint16_t ch, int from, int to, uint8_t kind, int step) {
  for (int r = from; r < to; r++) fx(p, ch, r, xmextended, static_cast<uint8_t>(kind | step));
}

// Every note on the channel in [from, to) panned left and right in turn.
void pingpong(txmpattern& p, uint16_t ch, int from, int to) {
  bool left = true;
  for (int r = std::max(from, 0); r < std::min(to, int{songrows}); r++) {
    const txmcell& x = cell(p, ch, static_cast<uint16_t>(r));
    if (x.instrument == 0) continue;
    fx(p, ch, r, xmpanning, left ? 0x48 : 0xb8);
    left = !left;
  }
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

// Soft snares on the sixteenth before each beat, struck two ticks late the
// way a hand swings them.
void ghosts(txmpattern& p, int from, int to, int v) {
  for (int r = from; r < to; r++)
    if (r % 8 == 7) {
      put(p, chsnare, r, c4, isnare, v);
      fx(p, chsnare, r, xmextended, xmnotedelay | 2);
    }
}

// A snare roll growing from v0 to v1, one hit every step rows.
void roll(txmpattern& p, int from, int to, int step, int v0, int v1) {
  for (int r = from; r < to; r += step)
    put(p, chsnare, r, c4, isnare, v0 + (v1 - v0) * (r - from) / std::max(1, to - from - 1));
}

// The end of a fill: every row struck twice, retriggered after three ticks.
void doubletime(txmpattern& p, int from, int to, int v) {
  for (int r = from; r < to; r++) {
    put(p, chsnare, r, c4, isnare, v);
    fx(p, chsnare, r, xmextended, xmretrig | 3);
  }
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

// Every sixteenth: an open hat on the off-beats, choked by the closed ones.
void hatsdrive(txmpattern& p, int from, int to, int v) {
  static constexpr int accent[4] = {75, 45, 100, 55};
  for (int r = from; r < to; r++)
    put(p, chhats, r, c4, r % 4 == 2 ? iopenhat : iclosedhat, v * accent[r % 4] / 100);
}

void crash(txmpattern& p, int row, int v) { put(p, chfx, row, c4, icrash, v); }
void riser(txmpattern& p, int row, int v) { put(p, chfx, row, c4, iriser, v); }

// ---- bass ---------------------------------------------------------------------------

enum class tbass { whole, pulse, offbeat, groove, drive };

// A bar of sixteenths: 0 holds, -1 releases, 1 root, 2 fifth, 3 octave, and
// 4 glides up to the octave from the note still sounding.
constexpr int groovebar[16] = {1, 0, -1, 1, 0, -1, 3, -1, 1, 0, 2, 0, 4, -1, 1, -1};
constexpr int drivebar[16] = {1, 3, 1, 3, 1, 3, 1, 3, 1, 3, 1, 3, 2, 3, 2, 4};

void bass(txmpattern& p, const tprogression& prog, int from, int to, tbass style, int v) {
  for (int r = from; r < to; r++) {
    const uint8_t root = notefrom(chordat(prog, r).root, basslow);
    const uint8_t fifth = notefrom(static_cast<uint8_t>((chordat(prog, r).root + 7) % 12), root);
    const uint8_t notes[5] = {0, root, fifth, static_cast<uint8_t>(root + 12), static_cast<uint8_t>(root + 12)};
    const int inbar = r % 16;
    switch (style) {
      case tbass::whole:
        if (inbar == 0 || r == from) put(p, chbass, r, root, ibass, v);
        break;
      case tbass::pulse:
        if (r % 2 == 0)
          put(p, chbass, r, inbar == 14 ? notes[3] : root, ibass, r % 4 == 0 ? v : v * 8 / 10);
        else
          release(p, chbass, r);
        break;
      case tbass::offbeat:
        if (r % 4 == 2) put(p, chbass, r, inbar == 14 ? notes[3] : root, ibass, v);
        if (r % 4 == 0) release(p, chbass, r);
        break;
      case tbass::groove:
      case tbass::drive: {
        const int h = (style == tbass::groove ? groovebar : drivebar)[inbar];
        const int level = inbar % 4 == 0 ? v : v * 85 / 100;
        if (h == 4 && r != from)
          glide(p, chbass, r, notes[h], level, 0x40);
        else if (h > 0)
          put(p, chbass, r, notes[h], ibass, level);
        if (h < 0) release(p, chbass, r);
        break;
      }
    }
  }
  if (to < songrows) release(p, chbass, to);
}

// A long bass note that falls away under a build's last rows.
void dive(txmpattern& p, const tchord& ch, int from, int to, int v) {
  put(p, chbass, from, static_cast<uint8_t>(notefrom(ch.root, basslow) + 12), ibass, v);
  for (int r = from + 2; r < to; r++) fx(p, chbass, r, xmportadown, 0x04);
}

// ---- pads: root, fifth and octave on one channel, the third on another ---------------

void pads(txmpattern& p, const tprogression& prog, int from, int to, int v, bool withthird = true) {
  for (int r = from; r < to; r++) {
    if (r != from && (r % 16 != 0 || (chordat(prog, r).root == chordat(prog, r - 1).root &&
                                      chordat(prog, r).minor == chordat(prog, r - 1).minor)))
      continue;
    const tchord& ch = chordat(prog, r);
    put(p, chpad, r, notefrom(ch.root, padlow), ipadfifths, v);
    if (withthird) put(p, chthird, r, notefrom(third(ch), thirdlow), ipad, v * 8 / 10);
  }
  if (to < songrows) {
    release(p, chpad, to);
    if (withthird) release(p, chthird, to);
  }
}

// The pads fade with the picture.
void padfade(txmpattern& p, int from, int to, bool withthird = true) {
  volumeramp(p, chpad, from, to, xmfinevoldown, 2);
  if (withthird) volumeramp(p, chthird, from, to, xmfinevoldown, 2);
}

// ---- arpeggio ------------------------------------------------------------------------

// shimmer holds one note a beat and spins the chord on it with the
// arpeggio command, the way chip music plays chords on one voice.
enum class tarp { quarters, eighths, sixteenths, shimmer };

void arp(txmpattern& p, const tprogression& prog, int from, int to, tarp style, int v) {
  static constexpr int up[8] = {0, 1, 2, 3, 4, 3, 2, 1};
  static constexpr int busy[16] = {0, 2, 3, 1, 2, 4, 3, 2, 0, 2, 3, 5, 4, 3, 2, 1};
  for (int r = from; r < to; r++) {
    const tchord& ch = chordat(prog, r);
    const uint8_t root = notefrom(ch.root, arplow);
    const int steps[6] = {0, ch.minor ? 3 : 4, 7, 12, ch.minor ? 15 : 16, 19};
    const int inbar = r % 16;
    if (style == tarp::shimmer) {
      if (inbar % 4 == 0) put(p, chfx, r, root, iarp, v);
      fx(p, chfx, r, xmarpeggio, ch.minor ? 0x37 : 0x47);
      continue;
    }
    int index = -1;
    if (style == tarp::quarters && inbar % 4 == 0) index = inbar / 4;
    if (style == tarp::eighths && inbar % 2 == 0) index = up[inbar / 2];
    if (style == tarp::sixteenths) index = busy[inbar];
    if (index < 0) continue;
    put(p, chfx, r, static_cast<uint8_t>(root + steps[index]), iarp, inbar % 4 == 0 ? v : v * 3 / 4);
  }
}

// ---- melodies --------------------------------------------------------------------------

// A phrase of 64 rows: "E5:6" is E of octave 5 held 6 rows, "-:4" rests,
// "/G5:4" glides to G from the note before.
using tmelody = std::string_view;

struct tphrasetoken {
  uint8_t note = 0;  // 0 = rest
  bool glide = false;
  int length = 0;  // 0 = end of the phrase
  size_t next = 0;
};

constexpr tphrasetoken readtoken(tmelody m, size_t i) {
  tphrasetoken t;
  while (i < m.size() && m[i] == ' ') i++;
  if (i >= m.size()) return t;
  if (m[i] == '/') {
    t.glide = true;
    i++;
  }
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

// The main theme (over Am F C G) and its returns: the same call, new answers.
constexpr tmelody themea =
    "E5:6 D5:2 C5:4 B4:2 C5:2  A4:6 C5:2 F5:4 E5:2 C5:2  G4:6 C5:2 E5:4 D5:2 E5:2  D5:8 B4:4 G4:2 B4:2";
constexpr tmelody themeareturn =
    "E5:6 D5:2 C5:4 B4:2 C5:2  A4:4 C5:2 F5:2 A5:6 G5:2  E5:4 /G5:4 E5:2 D5:2 C5:4  B4:4 D5:4 G5:8";
constexpr tmelody themeahigh =
    "A5:4 G5:2 E5:2 /C6:4 B5:2 A5:2  A5:6 G5:2 F5:4 E5:2 F5:2  G5:4 E5:2 C5:2 G5:4 A5:2 G5:2  D5:4 G5:4 B5:6 -:2";
constexpr tmelody themeafinal =
    "A5:6 /C6:2 B5:4 A5:2 G5:2  A5:4 F5:2 A5:2 C6:6 A5:2  G5:6 E5:2 C6:4 B5:2 C6:2  D6:8 B5:4 G5:2 /A5:2";
// The answering theme (over F C G Am).
constexpr tmelody themeb =
    "A5:6 G5:2 F5:4 C5:4  E5:6 D5:2 E5:4 G5:4  D5:6 B4:2 D5:4 G5:2 F5:2  E5:12 -:4";
constexpr tmelody themebreturn =
    "A5:6 G5:2 F5:4 C5:4  E5:4 G5:2 C6:2 B5:4 G5:4  D5:2 G5:4 B5:2 A5:4 G5:2 D5:2  C5:8 E5:4 A5:4";
constexpr tmelody themebhigh =
    "C6:6 A5:2 F5:4 A5:4  G5:6 E5:2 C5:4 E5:4  B4:4 D5:4 G5:6 F5:2  E5:8 C5:4 A4:4";
// The falling theme (over Am G F E).
constexpr tmelody themec =
    "A4:2 C5:2 E5:4 A5:4 G5:2 E5:2  D5:2 G5:2 B5:4 A5:2 G5:2 D5:4  C5:2 F5:2 A5:4 C6:4 A5:4  G#5:6 E5:2 B4:4 E5:4";
constexpr tmelody themecreturn =
    "A4:2 C5:2 E5:4 A5:4 G5:2 E5:2  B5:4 A5:2 G5:2 D5:6 G5:2  A5:6 F5:2 C5:4 F5:2 A5:2  G#5:6 B5:2 E5:4 D5:2 B4:2";
constexpr tmelody themecfinal =
    "C6:4 B5:2 A5:2 E5:4 A5:2 C6:2  /D6:4 B5:2 G5:2 D6:4 B5:2 A5:2  C6:6 A5:2 F5:4 A5:2 C6:2  B5:8 G#5:4 E5:4";
// Over Dm Am Dm E.
constexpr tmelody themedark =
    "F5:4 E5:2 D5:2 A4:8  C5:4 B4:2 A4:2 E5:8  F5:4 G5:2 A5:2 D5:8  G#5:6 E5:2 B4:4 G#4:4";
constexpr tmelody themedarkreturn =
    "D5:2 F5:2 A5:4 G5:2 F5:2 E5:4  E5:4 C5:2 A4:2 C5:4 E5:4  F5:2 A5:2 D6:4 C6:2 A5:2 F5:4  E5:6 G#5:2 B5:8";
// Over F G Em Am: the eye's half of it, then the squeezed picture's whole.
constexpr tmelody themeeye = "F5:8 C5:8  G5:8 D5:8  B4:4 E5:4 G5:4 B5:4  /C6:6 B5:2 A5:8";
constexpr tmelody themedream = "C5:6 A4:2 C5:4 F5:4  D5:6 B4:2 D5:4 G5:4  E5:4 G5:4 B5:6 A5:2  A5:12 -:4";
// Over C G Am F: the counter's plucked riff, and the drifting dots' slow line.
constexpr tmelody riffbright =
    "G5:2 E5:2 C5:2 E5:2 G5:2 C6:4 G5:2  B5:2 G5:2 D5:2 G5:2 B5:2 D6:4 B5:2  "
    "C6:2 A5:2 E5:2 A5:2 C6:2 E6:4 C6:2  A5:2 F5:2 C5:2 F5:2 A5:4 G5:2 F5:2";
constexpr tmelody linebright = "G5:8 E5:8  D5:8 B4:8  C5:8 E5:8  A5:12 -:4";
// Over Dm Em F G: each bar a step higher.
constexpr tmelody lineclimb = "D5:4 F5:4 A5:8  E5:4 G5:4 B5:8  F5:4 A5:4 C6:8  D6:6 B5:2 G5:4 /A5:4";
// Over F G Am Am.
constexpr tmelody lineend = "C5:8 A4:8  B4:8 D5:8  /E5:16  A4:12 -:4";

constexpr tmelody allmelodies[] = {themea,          themeareturn, themeahigh,      themeafinal, themeb,     themebreturn,
                                   themebhigh,      themec,       themecreturn,    themecfinal, themedark,  themedarkreturn,
                                   themeeye,        themedream,   riffbright,      linebright,  lineclimb,  lineend};

// A phrase that is not exactly one pattern long drifts against the chords.
constexpr bool phrasesfit() {
  for (tmelody m : allmelodies)
    if (phraserows(m) != songrows) return false;
  return true;
}
static_assert(phrasesfit());

// Writes the part of the phrase that starts inside [from, to), shift
// semitones up; a note still sounding at `to` is released there. Notes held
// six rows or more waver from their fourth row on.
void lead(txmpattern& p, tmelody m, int from, int to, int v, int shift = 0) {
  int row = 0;
  bool sounding = false;
  for (tphrasetoken t = readtoken(m, 0); t.length > 0 && row < to; t = readtoken(m, t.next)) {
    if (row >= from) {
      if (t.note != 0) {
        const uint8_t note = static_cast<uint8_t>(t.note + shift);
        if (t.glide && sounding)
          glide(p, chlead, row, note, v, 0x20);
        else
          put(p, chlead, row, note, ilead, v);
        if (t.length >= 6)
          for (int r = row + 3; r < std::min(row + t.length, to); r++) fx(p, chlead, r, xmvibrato, 0x54);
      } else {
        release(p, chlead, row);
      }
      sounding = t.note != 0;
    }
    row += t.length;
  }
  if (sounding && to < songrows) release(p, chlead, to);
}

// Cuts every lead note in [from, to) short after `ticks`: a plucked line.
void staccato(txmpattern& p, int from, int to, int ticks) {
  for (int r = from; r < to; r++)
    if (cell(p, chlead, static_cast<uint16_t>(r)).instrument != 0) fx(p, chlead, r, xmextended, xmnotecut | ticks);
}

// The lead of [from, to], `delay` rows later on the third pad's channel at
// `share` of its volume, panned to `pan` on each struck note: the tracker's
// tape echo. The channel's own pads must stay out of that stretch.
void echo(txmpattern& p, int from, int to, int delay, double share, uint8_t pan) {
  for (int r = from; r <= to && r + delay < songrows; r++) {
    const txmcell source = cell(p, chlead, static_cast<uint16_t>(r));
    if (source.note == 0 && source.effect == 0 && source.param == 0) continue;
    txmcell& copy = cell(p, chthird, static_cast<uint16_t>(r + delay));
    copy = source;
    if (source.volume != 0) copy.volume = vol(static_cast<int>((source.volume - 0x10) * share + 0.5));
    if (source.instrument != 0 && source.effect == 0 && source.param == 0) {
      copy.effect = xmpanning;
      copy.param = pan;
    }
  }
}

// ---- the song, position by position -----------------------------------------------------

txmpattern position(uint32_t pos) {
  txmpattern p = emptypattern(songrows, songchannels);
  const int key = pos >= liftedfrom ? keylift : 0;
  switch (pos) {
    case 0:  // lead-in: the pads swell in, the arpeggio wakes
      put(p, chpad, 0, notefrom(am.root, padlow), ipadfifths, 6);
      put(p, chthird, 0, notefrom(third(am), thirdlow), ipad, 5);
      volumeramp(p, chpad, 1, 32, xmfinevolup, 1);
      volumeramp(p, chthird, 1, 32, xmfinevolup, 1);
      pads(p, progintro, 32, 64, 36);
      bass(p, progintro, 32, 64, tbass::whole, 30);
      arp(p, progintro, 32, 48, tarp::quarters, 18);
      riser(p, 48, 18);
      break;
    case 1:  // quiet opening: the arpeggio walks between the speakers
      pads(p, progmain, 0, 64, 26);
      arp(p, progmain, 0, 64, tarp::eighths, 16);
      pingpong(p, chfx, 0, 64);
      break;
    case 2:  // the logos arrive: a heartbeat and the bass; all fades with them
      pads(p, progdescent, 0, 64, 32);
      arp(p, progdescent, 0, 64, tarp::eighths, 20);
      pingpong(p, chfx, 0, 64);
      bass(p, progdescent, 0, 48, tbass::whole, 34);
      for (int r : {0, 16, 32}) put(p, chkick, r, c4, ikick, 34);
      padfade(p, 49, 64);
      break;
    case 3:  // the build
      pads(p, progclimb, 0, 64, 30);
      kicks(p, 0, 48, 40);
      hats8(p, 0, 32, 20);
      hats16(p, 32, 48, 24);
      bass(p, progclimb, 0, 48, tbass::pulse, 32);
      dive(p, g, 48, 64, 36);
      arp(p, progclimb, 0, 48, tarp::sixteenths, 18);
      roll(p, 48, 56, 2, 18, 30);
      roll(p, 56, 62, 1, 32, 44);
      doubletime(p, 62, 64, 48);
      riser(p, 48, 36);
      break;
    case 4:  // first drop
      crash(p, 0, 40);
      kicks(p, 0, 56, 52);
      backbeat(p, 0, 56, 44);
      hats16(p, 0, 64, 28);
      bass(p, progmain, 0, 64, tbass::groove, 44);
      pads(p, progmain, 0, 64, 38);
      lead(p, themea, 0, 64, 43);
      arp(p, progmain, 16, 64, tarp::sixteenths, 24);
      roll(p, 56, 64, 1, 28, 44);
      break;
    case 5:  // credits: the groove without the tune
      crash(p, 0, 36);
      kicks(p, 0, 64, 52);
      backbeat(p, 0, 64, 42);
      ghosts(p, 0, 64, 16);
      hatsoff(p, 0, 64, 28);
      bass(p, progbright, 0, 64, tbass::offbeat, 46);
      pads(p, progbright, 0, 64, 38);
      arp(p, progbright, 16, 64, tarp::sixteenths, 26);
      pingpong(p, chfx, 16, 64);
      roll(p, 60, 64, 1, 24, 38);
      break;
    case 6:  // the answer
      kicks(p, 0, 64, 52);
      backbeat(p, 0, 64, 42);
      hats16(p, 0, 64, 28);
      bass(p, proglift, 0, 64, tbass::groove, 44);
      pads(p, proglift, 0, 64, 38);
      lead(p, themeb, 0, 64, 43);
      arp(p, proglift, 0, 64, tarp::eighths, 20);
      roll(p, 60, 62, 1, 24, 32);
      doubletime(p, 62, 64, 38);
      break;
    case 7:  // the credits fade: drums out, a riser
      kicks(p, 0, 48, 52);
      backbeat(p, 0, 48, 42);
      hats16(p, 0, 48, 28);
      bass(p, progmain, 0, 48, tbass::groove, 44);
      pads(p, progmain, 0, 64, 38);
      padfade(p, 49, 64);
      lead(p, themeareturn, 0, 48, 40);
      arp(p, progmain, 0, 48, tarp::sixteenths, 24);
      riser(p, 48, 34);
      roll(p, 48, 56, 2, 16, 26);
      roll(p, 56, 64, 1, 28, 42);
      break;
    case 8:  // breakdown under the point cloud: chords spun on one voice
      pads(p, progdark, 0, 64, 32);
      arp(p, progdark, 0, 64, tarp::shimmer, 18);
      bass(p, progdark, 0, 64, tbass::whole, 28);
      hats8(p, 32, 64, 16);
      break;
    case 9:  // the build to the burst
      kicks(p, 0, 48, 46);
      hats16(p, 0, 48, 22);
      bass(p, progdark, 0, 48, tbass::pulse, 34);
      dive(p, e, 48, 64, 38);
      pads(p, progdark, 0, 64, 30);
      lead(p, themedark, 0, 48, 34);
      arp(p, progdark, 0, 48, tarp::eighths, 20);
      roll(p, 32, 48, 2, 20, 30);
      roll(p, 48, 60, 1, 32, 48);
      doubletime(p, 60, 64, 52);
      riser(p, 48, 40);
      break;
    case 10:  // second drop; the text changes at row 32, then it all falls away
      crash(p, 0, 40);
      kicks(p, 0, 48, 52);
      backbeat(p, 0, 48, 44);
      hats16(p, 0, 32, 28);
      hatsoff(p, 32, 48, 28);
      bass(p, progdescent, 0, 48, tbass::groove, 44);
      bass(p, progdescent, 48, 64, tbass::whole, 40);
      pads(p, progdescent, 0, 64, 38);
      padfade(p, 49, 64);
      lead(p, themec, 0, 48, 43);
      arp(p, progdescent, 16, 32, tarp::sixteenths, 24);
      crash(p, 32, 30);
      arp(p, progdescent, 44, 64, tarp::quarters, 18);
      break;
    case 11:  // the eye: calm, drums as the lens grows, the tune with the text
      pads(p, progdream, 0, 32, 32);
      pads(p, progdream, 32, 64, 32, false);
      arp(p, progdream, 0, 48, tarp::eighths, 20);
      pingpong(p, chfx, 0, 48);
      kicks(p, 16, 54, 50);
      hatsoff(p, 16, 54, 24);
      bass(p, progdream, 16, 54, tbass::offbeat, 46);
      backbeat(p, 32, 48, 40);
      lead(p, themeeye, 32, 54, 38);
      echo(p, 32, 54, 3, 0.45, 0x40);
      riser(p, 48, 40);
      roll(p, 48, 54, 1, 26, 34);
      roll(p, 54, 62, 1, 36, 48);
      doubletime(p, 62, 64, 52);
      break;
    case 12:  // third drop: the tune an octave up, with its echo
      crash(p, 0, 40);
      kicks(p, 0, 48, 52);
      backbeat(p, 0, 48, 44);
      ghosts(p, 0, 48, 16);
      hats16(p, 0, 48, 28);
      bass(p, progmain, 0, 48, tbass::groove, 44);
      bass(p, progmain, 48, 64, tbass::whole, 40);
      pads(p, progmain, 0, 64, 38, false);
      padfade(p, 49, 64, false);
      lead(p, themeahigh, 0, 48, 42);
      echo(p, 0, 48, 3, 0.4, 0x40);
      arp(p, progmain, 16, 64, tarp::sixteenths, 24);
      hats8(p, 48, 64, 16);
      roll(p, 60, 64, 1, 30, 40);
      break;
    case 13:  // the counter: a plucked riff over the groove
      crash(p, 0, 36);
      kicks(p, 0, 64, 52);
      backbeat(p, 0, 64, 42);
      hats16(p, 0, 64, 26);
      bass(p, progbright, 0, 64, tbass::groove, 44);
      pads(p, progbright, 0, 64, 36);
      lead(p, riffbright, 0, 64, 36);
      staccato(p, 0, 64, 4);
      arp(p, progbright, 16, 64, tarp::quarters, 22);
      roll(p, 60, 64, 1, 24, 38);
      break;
    case 14:
      kicks(p, 0, 48, 52);
      backbeat(p, 0, 48, 42);
      hats16(p, 0, 48, 28);
      bass(p, proglift, 0, 48, tbass::groove, 44);
      pads(p, proglift, 0, 64, 38);
      padfade(p, 49, 64);
      lead(p, themebreturn, 0, 48, 43);
      arp(p, proglift, 0, 48, tarp::sixteenths, 24);
      riser(p, 48, 32);
      roll(p, 48, 64, 2, 18, 34);
      break;
    case 15:  // second credits: half time, darker
      crash(p, 0, 36);
      halftime(p, 0, 64, 54);
      ghosts(p, 0, 64, 14);
      hats8(p, 0, 64, 24);
      bass(p, progdark, 0, 64, tbass::pulse, 38);
      pads(p, progdark, 0, 64, 32);
      arp(p, progdark, 16, 64, tarp::sixteenths, 22);
      pingpong(p, chfx, 16, 64);
      break;
    case 16:
      kicks(p, 0, 48, 54);
      backbeat(p, 0, 48, 40);
      hats16(p, 0, 48, 26);
      bass(p, progdark, 0, 48, tbass::pulse, 44);
      dive(p, e, 48, 64, 38);
      pads(p, progdark, 0, 64, 38, false);
      padfade(p, 49, 64, false);
      lead(p, themedarkreturn, 0, 48, 38);
      echo(p, 0, 48, 3, 0.4, 0xc0);
      riser(p, 48, 36);
      roll(p, 48, 56, 2, 18, 28);
      roll(p, 56, 62, 1, 30, 42);
      doubletime(p, 62, 64, 46);
      break;
    case 17:  // fourth drop: the tunnel
      crash(p, 0, 40);
      kicks(p, 0, 64, 52);
      backbeat(p, 0, 64, 44);
      ghosts(p, 0, 64, 16);
      hats16(p, 0, 64, 28);
      bass(p, progdescent, 0, 64, tbass::groove, 44);
      pads(p, progdescent, 0, 64, 38);
      lead(p, themecreturn, 0, 64, 43);
      arp(p, progdescent, 16, 64, tarp::sixteenths, 24);
      roll(p, 60, 64, 1, 24, 38);
      break;
    case 18:
      kicks(p, 0, 48, 52);
      backbeat(p, 0, 48, 44);
      hatsoff(p, 0, 48, 28);
      bass(p, proglift, 0, 48, tbass::offbeat, 46);
      pads(p, proglift, 0, 64, 40, false);
      padfade(p, 49, 64, false);
      lead(p, themebhigh, 0, 48, 42);
      echo(p, 0, 48, 3, 0.4, 0xc0);
      arp(p, proglift, 0, 48, tarp::eighths, 22);
      riser(p, 48, 34);
      roll(p, 48, 56, 2, 16, 26);
      roll(p, 56, 64, 1, 28, 44);
      break;
    case 19:  // squeezed picture: the tune turns at the second text line
      crash(p, 0, 38);
      kicks(p, 0, 48, 52);
      backbeat(p, 0, 48, 42);
      hats16(p, 0, 32, 26);
      hatsoff(p, 32, 48, 28);
      bass(p, progdream, 0, 48, tbass::offbeat, 46);
      pads(p, progdream, 0, 64, 38, false);
      padfade(p, 49, 64, false);
      lead(p, themedream, 0, 48, 40);
      echo(p, 0, 48, 3, 0.45, 0x40);
      arp(p, progdream, 12, 64, tarp::eighths, 22);
      break;
    case 20:  // breakdown under the drifting dots: a slow line and its echo
      pads(p, progbright, 0, 16, 18, false);
      volumeramp(p, chpad, 1, 16, xmfinevolup, 1);
      pads(p, progbright, 16, 64, 30, false);
      arp(p, progbright, 0, 64, tarp::quarters, 18);
      pingpong(p, chfx, 0, 64);
      bass(p, progbright, 0, 64, tbass::whole, 28);
      lead(p, linebright, 0, 64, 28);
      echo(p, 0, 64, 6, 0.5, 0xc0);
      hats8(p, 32, 64, 14);
      break;
    case 21:  // the last build, each bar a step higher
      pads(p, progclimb, 0, 64, 30);
      kicks(p, 16, 54, 48);
      hats16(p, 16, 54, 22);
      bass(p, progclimb, 16, 54, tbass::pulse, 34);
      dive(p, g, 54, 64, 40);
      lead(p, lineclimb, 0, 54, 34);
      arp(p, progclimb, 0, 48, tarp::eighths, 20);
      roll(p, 32, 48, 2, 18, 28);
      roll(p, 48, 60, 1, 30, 48);
      doubletime(p, 60, 64, 54);
      riser(p, 48, 40);
      break;
    case 22: {  // final drop, a tone higher: everything at once
      const tprogression prog = raised(progmain, key);
      crash(p, 0, 44);
      kicks(p, 0, 64, 60);
      backbeat(p, 0, 64, 52);
      ghosts(p, 0, 64, 20);
      hatsdrive(p, 0, 64, 32);
      bass(p, prog, 0, 64, tbass::drive, 50);
      pads(p, prog, 0, 64, 48, false);
      lead(p, themeafinal, 0, 64, 46, key);
      echo(p, 0, 64, 3, 0.5, 0x40);
      arp(p, prog, 16, 64, tarp::sixteenths, 28);
      roll(p, 60, 62, 1, 30, 40);
      doubletime(p, 62, 64, 46);
      break;
    }
    case 23: {  // and once more, falling, before the end text
      const tprogression prog = raised(progdescent, key);
      crash(p, 0, 42);
      kicks(p, 0, 56, 60);
      backbeat(p, 0, 56, 52);
      ghosts(p, 0, 56, 20);
      hatsdrive(p, 0, 56, 32);
      bass(p, prog, 0, 56, tbass::drive, 50);
      bass(p, prog, 56, 64, tbass::whole, 42);
      pads(p, prog, 0, 64, 48, false);
      lead(p, themecfinal, 0, 64, 46, key);
      echo(p, 0, 64, 3, 0.5, 0xc0);
      arp(p, prog, 8, 64, tarp::sixteenths, 28);
      roll(p, 56, 60, 1, 32, 42);
      doubletime(p, 60, 64, 48);
      break;
    }
    case 24: {  // calm end under the end text
      const tprogression prog = raised(progend, key);
      pads(p, prog, 0, 64, 34, false);
      bass(p, prog, 0, 64, tbass::whole, 32);
      arp(p, prog, 0, 64, tarp::quarters, 20);
      lead(p, lineend, 0, 64, 28, key);
      echo(p, 0, 64, 6, 0.5, 0x40);
      break;
    }
    default: {  // 25: the last chord rings out into silence
      const tprogression prog = raised(progfinal, key);
      pads(p, prog, 0, 40, 34);
      volumeramp(p, chpad, 8, 40, xmfinevoldown, 1);
      volumeramp(p, chthird, 8, 40, xmfinevoldown, 1);
      put(p, chbass, 0, notefrom(prog[0].root, basslow), ibass, 32);
      release(p, chbass, 32);
      const uint8_t root = notefrom(prog[0].root, arplow);
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
