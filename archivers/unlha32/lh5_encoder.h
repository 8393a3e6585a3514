// Our own -lh5- compressor: LZSS over an 8 KiB window with static Huffman blocks.
#pragma once

#include <string>
#include <string_view>

namespace lzh {

// The -lh5- stream of data (the member's compressed bytes).
std::string CompressLh5(std::string_view data);

}  // namespace lzh
