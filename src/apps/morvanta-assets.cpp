// morvanta-assets: writes the default data files, morvanta.dat (the fourteen
// pictures drawn by code) and morvanta.xm (the music), into OUTDIR. The same
// bytes on every run; the build runs it into <build>/data.
// Depends on: assets, picturefiles, myio.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "apps/picturefiles.h"
#include "assets/assets.h"
#include "myio/myio.h"

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]) == "--help") {
    std::fprintf(argc == 2 ? stdout : stderr,
                 "usage: morvanta-assets OUTDIR\nWrites OUTDIR/morvanta.dat and OUTDIR/morvanta.xm.\n");
    return argc == 2 ? 0 : 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);

  std::vector<uint8_t> archive;
  std::string error;
  if (!picturefiles::packartwork(assets::drawpictures(), archive, error)) {
    std::fprintf(stderr, "morvanta-assets: %s\n", error.c_str());
    return 1;
  }
  const std::string dat = (dir / "morvanta.dat").string();
  const std::string xm = (dir / "morvanta.xm").string();
  if (!myio::writefile(dat, archive)) {
    std::fprintf(stderr, "morvanta-assets: cannot write %s\n", dat.c_str());
    return 1;
  }
  if (!myio::writefile(xm, assets::composemodule())) {
    std::fprintf(stderr, "morvanta-assets: cannot write %s\n", xm.c_str());
    return 1;
  }
  return 0;
}
