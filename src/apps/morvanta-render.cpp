// morvanta-render: the show rendered offline; see render/render.h.
#include <cstdio>
#include <string>

#include "render/musicwatch.h"
#include "render/render.h"

int main(int argc, char** argv) {
  render::toptions options;
  std::string error;
  if (!render::parseoptions(argc, argv, options, error)) {
    std::fprintf(stderr, "morvanta-render: %s\n\n%s", error.c_str(), render::usage());
    return 2;
  }
  if (options.help) {
    std::fputs(render::usage(), stdout);
    return 0;
  }
  if (!options.checkmusic.empty()) return render::checkmusic(options.checkmusic);
  render::run(options);
}
