// Fuzzes the input layer: any bytes read through it end soundly (gzip or not), and any text
// compressed as gzip, in one member or two, reads back exactly, in reads of every small size.
// The first input byte chooses the read sizes and the split into members; the rest is the text.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fatal_exit_guard.hpp"
#include "io/input_bytes.hpp"

namespace {

std::string gzip(const std::string& text) {
  z_stream zip{};
  require(deflateInit2(&zip, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK,
          "deflateInit2");
  std::string packed(deflateBound(&zip, text.size()) + 32, '\0');
  zip.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  zip.avail_in = static_cast<uInt>(text.size());
  zip.next_out = reinterpret_cast<Bytef*>(packed.data());
  zip.avail_out = static_cast<uInt>(packed.size());
  require(deflate(&zip, Z_FINISH) == Z_STREAM_END, "deflate");
  packed.resize(zip.total_out);
  deflateEnd(&zip);
  return packed;
}

// Everything the layer gives, in reads of 1 to 16 bytes and whole blocks, after a look at the head.
std::string read_all(const std::string& bytes, std::uint8_t choice) {
  std::istringstream source(bytes);
  tInputBytes input(source, "fuzz");
  std::string head = input.head(choice % 7);
  std::string text;
  std::istream& is = input.stream();
  char block[4096];
  for (unsigned n = choice;; n = n * 1103515245u + 12345u) {
    const std::size_t want = n % 3 == 0 ? sizeof block : 1 + (n >> 16) % 16;
    is.read(block, static_cast<std::streamsize>(want));
    text.append(block, static_cast<std::size_t>(is.gcount()));
    if (static_cast<std::size_t>(is.gcount()) < want) break;
  }
  require(text.compare(0, head.size(), head) == 0, "the head is the start of the bytes");
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1 || size > (1 << 16)) return 0;
  const std::uint8_t choice = bytes[0];
  const std::string text(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  run_until_fatal_exit([&] { read_all(text, choice); });
  const std::size_t split = text.size() * (choice % 4) / 4;
  const std::string packed = gzip(text.substr(0, split)) + gzip(text.substr(split));
  require(read_all(packed, choice) == text, "gzip data read back exactly");
  return 0;
}
