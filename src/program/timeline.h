// timeline: how a scene is run, and the steps every scene loop shares.
//
// A scene is its timeline set-up (what the timeline clears and loads before
// the loop), its own set-up, the drawing of one loop pass, the music-gated
// steps after the present, and its end test. The loop around them is the
// same for every scene:
//
//   set-ups; poll
//   repeat: quit check; draw; [query]; [end test]; present; [query];
//           music-gated steps; end test; poll
//
// where the scene says when it queries the music and whether its end test
// comes before the present (its last drawn frame is then not shown).
#pragma once

#include <cstdint>

namespace program {

enum class tquery : uint8_t {
  inpass,         // the scene's own drawing queries at its place
  beforepresent,  // after the drawing, before the present
  afterpresent,   // after the present
};

struct tscene {
  const char* name;
  void (*timelinesetup)();
  void (*setup)();      // the scene's own set-up (may be null)
  void (*pass)();       // one loop pass: the drawing (may be null)
  void (*musicsteps)(); // after the present (may be null)
  bool (*ended)();
  tquery query;
  bool endbeforepresent;  // scene 2
  bool presentsitself;    // scene 3: a pass handles one star; some passes present
};

// The fifteen scenes in playing order (scenes/sceneNN.cpp).
extern const tscene scenetable[15];

// Steps shared by the scene loops.
void pollevent();
void quitcheck();
void querystatus();
bool atleast(uint32_t position);                 // position >= p
bool pastrow(uint32_t position, uint32_t row);   // position >= p and row > r

// Runs one scene: its set-ups, then its loop until its end test holds.
void runscene(const tscene& scene);

// Which scene is running (1..15), for the renderer's progress and tests.
extern int currentscene;

}  // namespace program
