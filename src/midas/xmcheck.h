// xmcheck: walks an XM file's structure before libopenmpt sees it.
//
// libopenmpt is lenient: it plays a cut-off file with the missing patterns
// left empty. The show would then run against a song that is not the one on
// disk, so the library refuses such a file with a message that says where it
// breaks. Checked: the signature, version 1.04, counts no tracker can write
// (orders, channels, patterns, instruments, rows, samples per instrument),
// and that every pattern, instrument, sample header and sample body lies
// inside the file. Sizes are summed in 64 bits, so no count can wrap.
// Depends on: nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace midas {

// True when the bytes hold a whole XM module; else why names the fault.
bool checkxm(const uint8_t* data, size_t size, std::string& why);

}  // namespace midas
