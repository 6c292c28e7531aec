// scene: what a scene is to the timeline, and the steps every scene loop
// shares with it.
//
// A scene is a record: its timeline set-up (what the timeline clears and
// loads before the loop), its own set-up, one loop pass of drawing, and the
// rules the timeline applies after the present: a palette fade gated on the
// music and the end test. Where a scene queries the music, and whether its
// end test comes before the present, are data in the record too. Steps a
// scene owns that depend on the music (scene 1's logos, scene 5's burst,
// scene 7's lens) run inside its pass, after the query it makes there.
//
// The loop around a scene is the same for all fifteen:
//
//   set-ups; poll
//   repeat: quit check; pass; [query]; [end test]; present; [query];
//           fade rule; end test; poll
//
// This header sits below both the timeline and the scenes.
// Depends on: program (playstatus, event, shutdown), tarngr.
#pragma once

#include <cstdint>

#include "program/program.h"
#include "tarngr/tarngr.h"

namespace program {

// ---- the record ----------------------------------------------------------

enum class tquery : uint8_t {
  inpass,         // the pass queries at its own place (scenes 1, 5, 7, 9)
  beforepresent,  // after the pass, before the present
  afterpresent,   // after the present (scenes 4, 8, 10, 14, 15)
};

enum class tfadekind : uint8_t { none, down, up };

// One fadedown (or fadeup) per frame while the position is at least (or,
// with exactposition, exactly) `position` and the row is above `afterrow`.
struct tfaderule {
  tfadekind kind = tfadekind::none;
  uint32_t position = 0;
  uint32_t afterrow = 0;
  bool exactposition = false;
};

// The loop ends in the first frame whose position is at least (or exactly)
// `position`; with beforepresent that frame is not shown.
struct tendrule {
  uint32_t position = 0;
  bool exactposition = false;
  bool beforepresent = false;
};

struct tscene {
  const char* name = nullptr;
  void (*timelinesetup)() = nullptr;  // the timeline's clears and loads
  void (*setup)() = nullptr;          // the scene's own state (may be null)
  void (*pass)() = nullptr;           // one loop pass (every scene has one)
  tquery query = tquery::beforepresent;
  tfaderule fade = {};
  tendrule end = {};
  bool presentsitself = false;  // scene 3: one pass per star, some passes present
};

// ---- steps the loops share -------------------------------------------------

// SDL 1.2 answers 0 or 1, never -1: the loop never leaves here.
void pollevent();
// A window-close request or an Escape press ends the show.
void quitcheck();
// Refreshes playstatus; a failed query prints its line and keeps the old one.
void querystatus();

inline bool atleast(uint32_t position) { return playstatus.position >= position; }
// position >= p and row > r
inline bool pastrow(uint32_t position, uint32_t row) {
  return playstatus.position >= position && playstatus.row > row;
}

bool fadeapplies(const tfaderule& rule);
bool endreached(const tendrule& rule);

// ---- set-up steps ----------------------------------------------------------

// The 64,000 pixels (16,000 words) to 0.
void clearframe(tarngr::tbitmap& bm);
// 320x201 16-bit cells (32,160 words) to 0: work4 and work5.
void clearcells(tarngr::tbitmap& bm);
// All 256 entries (63, 63, 63).
void allwhite();

}  // namespace program
