// Our own decoders for the methods libarchive does not read: -lh1- (LHarc 1.x,
// adaptive Huffman), -lz5- and -lzs- (LArc), and the static-Huffman family
// -lh4- to -lh7- for archives libarchive refuses whole; PMarc's -pm0- and -pm2-.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lzh {

// The methods libarchive cannot decode (ours are used for them).
bool OwnDecoder(std::string_view method);
// Every method we can decode ourselves (for archives libarchive refuses whole).
bool Decodable(std::string_view method);
// Decodes exactly original bytes; false when the data runs out or is invalid.
bool DecodeOld(std::string_view method, std::string_view packed, uint64_t original, std::string& out);

}  // namespace lzh
