// halt: the two ways the show ends on a failure.
//
// criticalerror prints "Critical Error : " + text, then "System Halted!",
// and ends the process with exit code 1 (the music is left as it is).
// midaserror prints "MIDAS error: " + the library's message, closes the
// library and ends with exit code 0.
// Depends on: midas.
#pragma once

#include <string_view>

namespace tools {

[[noreturn]] void criticalerror(std::string_view text);
[[noreturn]] void midaserror();

}  // namespace tools
