// Reading an input whole, with gzip data inflated on the fly.
#include "distcorr/gzip_source.hpp"

#include <zlib.h>

#include <cstdio>

#include "lib/diagnostics.hpp"

namespace {

std::string source_label(const std::string& name) {
  return name.empty() ? "standard input" : name;
}

// Inflates one member starting at offset; returns the offset just after it.
std::size_t inflate_member(const std::string& bytes, std::size_t offset, std::string& out,
                           const std::string& source) {
  z_stream stream{};
  if (inflateInit2(&stream, 15 + 16) != Z_OK) error("zlib cannot start inflating");
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + offset));
  stream.avail_in = static_cast<uInt>(bytes.size() - offset);
  char buffer[1 << 16];
  int status = Z_OK;
  while (status == Z_OK) {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    status = inflate(&stream, Z_NO_FLUSH);
    out.append(buffer, sizeof buffer - stream.avail_out);
    // Input exhausted before the member's end: the data is cut short.
    if (status == Z_BUF_ERROR || (status == Z_OK && stream.avail_in == 0 && stream.avail_out != 0))
      status = Z_DATA_ERROR;
  }
  const std::size_t end = bytes.size() - stream.avail_in;
  const char* reason = stream.msg ? stream.msg : "unexpected end of data";
  inflateEnd(&stream);
  if (status != Z_STREAM_END) bye("%s: damaged gzip data (%s)", source.c_str(), reason);
  return end;
}

}  // namespace

bool is_gzip(const std::string& bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0x1f &&
         static_cast<unsigned char>(bytes[1]) == 0x8b;
}

std::string gunzip(const std::string& bytes, const std::string& source) {
  std::string out;
  std::size_t offset = 0;
  // Concatenated members inflate to the concatenation of their texts, as gzip -d gives it.
  while (offset < bytes.size() && is_gzip(bytes.substr(offset, 2)))
    offset = inflate_member(bytes, offset, out, source);
  if (offset < bytes.size() && bytes.find_first_not_of('\0', offset) != std::string::npos)
    bye("%s: trailing bytes after the gzip data", source.c_str());
  return out;
}

std::string read_source(const std::string& name) {
  std::FILE* file = name.empty() ? stdin : std::fopen(name.c_str(), "rb");
  if (!file) bye("Can't open file to read: %s", name.c_str());
  std::string bytes;
  char buffer[1 << 16];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    bytes.append(buffer, n);
  const bool failed = std::ferror(file);
  if (file != stdin) std::fclose(file);
  if (failed) bye("Can't read %s", source_label(name).c_str());
  return is_gzip(bytes) ? gunzip(bytes, source_label(name)) : bytes;
}
