// midas-latency: how closely a live status follows the music in real time.
//
// Plays a song of 20 ms rows on the live output (the device SDL picks, or
// the silent clock with argument "silent") and records the wall time of
// every row change the status reports. The heard frame moves with real time,
// so those times lie on a line of slope 20 ms; the residuals show how far the
// status strays from it (buffer quantisation would show as up to one buffer).
// Not a test: timing on a shared machine is for people to read.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "midas/midas.h"
#include "midas/xmwriter.h"

int main(int argc, char** argv) {
  using clock = std::chrono::steady_clock;
  const bool silent = argc > 1 && std::strcmp(argv[1], "silent") == 0;
  if (silent) {
    std::FILE* in = std::tmpfile();
    std::fputs("2\n\n\n", in);
    std::rewind(in);
    midas::configure(in, stdout);
    std::fclose(in);
    std::puts("");
  }
  xmwriter::tsong song;
  song.speed = 1;  // 20 ms rows at 125 BPM
  song.orders = {0, 1, 0, 1};
  if (!MIDASstartup() || !MIDASinit() || !MIDASstartBackgroundPlay(0)) return 1;
  const std::string path = xmwriter::save(xmwriter::write(song), "latency.xm");
  MIDASmodule m = MIDASloadModule(path.c_str());
  std::remove(path.c_str());
  const midas::toutputinfo info = midas::outputinfo();
  std::printf("output: %s, %u Hz, buffer %u frames, %u frames queued in the driver\n", info.device ? "device" : "silent clock",
              info.rate, info.bufferframes, info.queuedframes);
  const MIDASmodulePlayHandle h = MIDASplayModule(m, true);
  if (!h) return 1;

  std::vector<double> changes;  // ms since play, per row change
  const auto t0 = clock::now();
  MIDASplayStatus last{}, s{};
  MIDASgetPlayStatus(h, &last);
  while (clock::now() - t0 < std::chrono::seconds(4)) {
    MIDASgetPlayStatus(h, &s);
    if (s.row != last.row || s.position != last.position) {
      changes.push_back(std::chrono::duration<double, std::milli>(clock::now() - t0).count());
      last = s;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  // Jump: the status shows the new order at once, its row 1 one row after
  // the jump's frames are heard.
  MIDASsetPosition(h, 2);
  const auto tj = clock::now();
  MIDASgetPlayStatus(h, &s);
  const uint32_t shown = s.position;
  do MIDASgetPlayStatus(h, &s);
  while (s.row == 0 && clock::now() - tj < std::chrono::seconds(1));
  const double jumprow = std::chrono::duration<double, std::milli>(clock::now() - tj).count();
  MIDASstopModule(h);
  MIDASfreeModule(m);
  MIDASstopBackgroundPlay();
  MIDASclose();

  // Least squares fit t = a + b k over the row changes.
  const size_t n = changes.size();
  if (n < 10) return 1;
  double sk = 0, st = 0, skk = 0, skt = 0;
  for (size_t k = 0; k < n; ++k) {
    sk += k;
    st += changes[k];
    skk += double(k) * k;
    skt += k * changes[k];
  }
  const double b = (n * skt - sk * st) / (n * skk - sk * sk);
  const double a = (st - b * sk) / n;
  double worst = 0, sum2 = 0;
  for (size_t k = 0; k < n; ++k) {
    const double r = changes[k] - (a + b * k);
    worst = std::max(worst, std::fabs(r));
    sum2 += r * r;
  }
  std::printf("%zu row changes; first %.2f ms after play; %.4f ms per row (20 nominal)\n", n, changes[0], b);
  std::printf("residuals: rms %.3f ms, worst %.3f ms\n", std::sqrt(sum2 / n), worst);
  std::printf("jump: status showed order %u at once; row 1 after %.2f ms\n", shown, jumprow);
  return 0;
}
