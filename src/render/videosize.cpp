// videosize: the Y4M's size from the show's length.
#include "render/videosize.h"

#include <libopenmpt/libopenmpt.hpp>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "render/outputs.h"

namespace render {

uint64_t y4mbytes(uint64_t frames) { return std::strlen(y4mheader) + frames * y4mframebytes; }

std::optional<uint64_t> showframes(const std::string& modulepath, std::optional<uint32_t> framesperrow,
                                   uint32_t endposition) {
  if (endposition < 1) return std::nullopt;
  if (framesperrow) return uint64_t{endposition - 1} * 64 * *framesperrow;
  try {
    // Far above any module a tracker writes; the show refuses larger ones.
    std::error_code ec;
    if (std::filesystem::file_size(modulepath, ec) > (64u << 20) || ec) return std::nullopt;
    std::ifstream file(modulepath, std::ios::binary);
    if (!file) return std::nullopt;
    std::ostringstream log;  // libopenmpt would otherwise talk on stderr
    openmpt::module module(file, log);
    if (static_cast<int64_t>(endposition) >= module.get_num_orders()) return std::nullopt;
    const double from = module.set_position_order_row(1, 0);
    const double to = module.set_position_order_row(static_cast<int32_t>(endposition), 0);
    if (!(to > from)) return std::nullopt;
    return static_cast<uint64_t>((to - from) * 60.0 + 0.5);
  } catch (...) {
    return std::nullopt;
  }
}

std::string sizetext(uint64_t bytes) {
  const char* units[] = {"bytes", "kB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes);
  int unit = 0;
  while (value >= 1000 && unit < 4) {
    value /= 1000;
    ++unit;
  }
  char text[32];
  if (unit == 0)
    std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
  else
    std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
  return text;
}

}  // namespace render
