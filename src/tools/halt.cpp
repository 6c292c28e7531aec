// halt: fatal console lines and exit codes.
#include "tools/halt.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "midas/midas.h"
#include "tools/seam.h"

namespace tools {

void criticalerror(std::string_view text) {
  std::printf("Critical Error : %.*s\n", static_cast<int>(text.size()), text.data());
  std::printf("System Halted!\n");
  std::fflush(stdout);
  if (seam::current.halt) seam::current.halt();
  // The music may still be playing on its own thread: leave without running
  // static destructors under its feet.
  std::_Exit(1);
}

void midaserror() {
  std::printf("MIDAS error: %s\n", MIDASgetErrorMessage(MIDASgetLastError()));
  MIDASclose();
  std::fflush(stdout);
  std::exit(0);
}

}  // namespace tools
