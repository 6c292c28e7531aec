// bench: how long start-up and each scene's frames take, measured on the
// wall clock while the show runs on its virtual one.
#pragma once

#include <cstdint>

namespace render {

void benchstart();
// A start-up console line was printed.
void benchmilestone(const char* line);
// A frame of this scene was presented.
void benchframe(int scene);
// Prints the table to standard output.
void benchreport(uint64_t showms);

}  // namespace render
