// xdisplay: a private X server (Xvfb) for end-to-end tests of the live show
// in a real window, and the few things a user does to that window: look at
// it, press a key in it, ask it to close.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;  // Xlib's Display, kept out of the header

namespace testsupport {

// An Xvfb of our own on a free display number, stopped with the object.
class txserver {
 public:
  txserver() = default;
  ~txserver();
  txserver(const txserver&) = delete;
  txserver& operator=(const txserver&) = delete;

  // False with the reason when Xvfb is missing or does not come up.
  bool start(std::string& why);
  const std::string& display() const { return display_; }  // ":N"

 private:
  pid_t pid_ = 0;
  std::string display_;
};

// A window's picture as 8-bit red, green, blue per pixel.
struct twindowimage {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};

// A client connection to the display, and the top-level window with the
// given title once it is mapped.
class txclient {
 public:
  explicit txclient(const std::string& display);
  ~txclient();
  txclient(const txclient&) = delete;
  txclient& operator=(const txclient&) = delete;

  bool connected() const { return display_ != nullptr; }
  // Waits up to `seconds` for a viewable top-level window with this title.
  bool waitforwindow(const std::string& title, double seconds);
  // The window's contents (the innermost child, where the picture is).
  bool grab(twindowimage& image);
  // A press and release of Escape, delivered as the keyboard would.
  void pressescape();
  // What a window manager sends when the user closes the window.
  void requestclose();

 private:
  ::_XDisplay* display_ = nullptr;
  unsigned long window_ = 0;  // the titled top-level window
  unsigned long inner_ = 0;   // its innermost first child
};

}  // namespace testsupport
