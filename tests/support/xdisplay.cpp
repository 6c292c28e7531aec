// xdisplay: Xvfb and a minimal X client, for end-to-end tests.
#include "support/xdisplay.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace testsupport {

// ---- txserver -------------------------------------------------------------------

txserver::~txserver() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

bool txserver::start(std::string& why) {
  int fds[2];
  if (pipe(fds) != 0) {
    why = "no pipe for Xvfb";
    return false;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    const int devnull = open("/dev/null", O_RDWR);
    dup2(devnull, 0);
    dup2(devnull, 1);
    dup2(devnull, 2);
    close(fds[0]);
    // Xvfb finds a free display number itself and writes it to the pipe.
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    why = "cannot fork for Xvfb";
    return false;
  }
  pid_ = pid;
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline && number.find('\n') == std::string::npos) {
    if (poll(&p, 1, 100) <= 0) continue;
    char buf[16];
    const ssize_t n = read(fds[0], buf, sizeof buf);
    if (n <= 0) break;  // Xvfb ended (or is not installed: exec failed)
    number.append(buf, static_cast<size_t>(n));
  }
  close(fds[0]);
  if (number.find('\n') == std::string::npos) {
    why = "Xvfb did not start (scripts/install-deps installs it, Debian package xvfb)";
    return false;
  }
  display_ = ":" + number.substr(0, number.find('\n'));
  return true;
}

// ---- txclient -------------------------------------------------------------------

namespace {
// Windows come and go while the show starts (a window listed by one request
// can be gone by the next): Xlib's default handler would end the test on
// the BadWindow that follows. The requests that fail simply answer false.
int ignoreerror(Display*, XErrorEvent*) { return 0; }
}  // namespace

txclient::txclient(const std::string& display) {
  XSetErrorHandler(ignoreerror);
  display_ = XOpenDisplay(display.c_str());
}

txclient::~txclient() {
  if (display_) XCloseDisplay(display_);
}

namespace {

bool viewable(Display* d, Window w) {
  XWindowAttributes a;
  return XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
}

Window titled(Display* d, Window parent, const std::string& title) {
  Window root, up, *children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(d, parent, &root, &up, &children, &n)) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < n && !found; ++i) {
    char* name = nullptr;
    if (XFetchName(d, children[i], &name) && name) {
      if (title == name && viewable(d, children[i])) found = children[i];
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

Window innermost(Display* d, Window w) {
  for (;;) {
    Window root, up, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, w, &root, &up, &children, &n) || n == 0) {
      if (children) XFree(children);
      return w;
    }
    w = children[0];
    XFree(children);
  }
}

}  // namespace

bool txclient::waitforwindow(const std::string& title, double seconds) {
  if (!display_) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    window_ = titled(display_, DefaultRootWindow(display_), title);
    if (window_) {
      inner_ = innermost(display_, window_);
      // Still there a moment later: the show's own window, not a passing one.
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      if (viewable(display_, window_) && innermost(display_, window_) == inner_) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

bool txclient::grab(twindowimage& image) {
  XWindowAttributes a;
  if (!inner_ || !XGetWindowAttributes(display_, inner_, &a)) return false;
  XImage* x = XGetImage(display_, inner_, 0, 0, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height), AllPlanes, ZPixmap);
  if (!x) return false;
  // Each channel from its mask, so any true-colour visual reads right.
  auto channel = [](unsigned long pixel, unsigned long mask) {
    if (mask == 0) return uint8_t{0};
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long value = (pixel & mask) >> shift, max = mask >> shift;
    return static_cast<uint8_t>(value * 255 / max);
  };
  image.width = a.width;
  image.height = a.height;
  image.rgb.resize(static_cast<size_t>(a.width) * a.height * 3);
  for (int y = 0; y < a.height; ++y)
    for (int xx = 0; xx < a.width; ++xx) {
      const unsigned long p = XGetPixel(x, xx, y);
      uint8_t* o = &image.rgb[(static_cast<size_t>(y) * a.width + xx) * 3];
      o[0] = channel(p, x->red_mask);
      o[1] = channel(p, x->green_mask);
      o[2] = channel(p, x->blue_mask);
    }
  XDestroyImage(x);
  return true;
}

void txclient::pressescape() {
  if (!inner_) return;
  // Sent to the innermost window and propagated to whichever ancestor takes
  // keys, as the server does with a real key press.
  XKeyEvent k{};
  k.display = display_;
  k.window = inner_;
  k.root = DefaultRootWindow(display_);
  k.subwindow = None;
  k.time = CurrentTime;
  k.x = k.y = 1;
  k.same_screen = True;
  k.keycode = XKeysymToKeycode(display_, XK_Escape);
  for (int type : {KeyPress, KeyRelease}) {
    k.type = type;
    XSendEvent(display_, inner_, True, type == KeyPress ? KeyPressMask : KeyReleaseMask, reinterpret_cast<XEvent*>(&k));
  }
  XFlush(display_);
}

void txclient::requestclose() {
  if (!window_) return;
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = window_;
  e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window_, False, NoEventMask, &e);
  XFlush(display_);
}

}  // namespace testsupport
