// Plain bytes are passed on in the reader's own large blocks; gzip data are inflated into them.
#include "io/input_bytes.hpp"

#include <algorithm>
#include <cstring>

#include "lib/diagnostics.hpp"

namespace {

constexpr std::size_t packed_block = 1 << 16;
constexpr std::size_t small_read_block = 1 << 16;

bool gzip_magic(const char* p) {
  return static_cast<unsigned char>(p[0]) == 0x1f && static_cast<unsigned char>(p[1]) == 0x8b;
}

}  // namespace

tInputBytes::tInputBytes(std::istream& source, const string& name)
    : source_(source), name_(name), stream_(this) {
  // A failure inside the layer (no memory, an unwinding report) must not pass for the end of
  // the input: the stream hands it on instead of only setting badbit.
  stream_.exceptions(std::ios::badbit);
  char magic[2];
  const std::size_t got = raw(magic, 2);
  head_.assign(magic, got);
  if (got < 2 || !gzip_magic(magic)) return;
  compressed_ = true;
  packed_.assign(magic, magic + 2);
  head_.clear();
  // 16 + MAX_WBITS: gzip wrapper only.
  if (inflateInit2(&zip_, 16 + MAX_WBITS) != Z_OK) bye("%s: cannot start inflating", name_.c_str());
  zip_.next_in = reinterpret_cast<Bytef*>(packed_.data());
  zip_.avail_in = 2;
}

tInputBytes::~tInputBytes() {
  if (compressed_) inflateEnd(&zip_);
}

const std::string& tInputBytes::head(std::size_t size) {
  std::vector<char> more(size);
  while (head_.size() < size) {
    const std::size_t got = fresh(more.data(), size - head_.size());
    if (got == 0) break;
    head_.append(more.data(), got);
  }
  return head_;
}

tInputBytes::int_type tInputBytes::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  buffer_.resize(small_read_block);
  const std::size_t got = produce(buffer_.data(), buffer_.size());
  if (got == 0) return traits_type::eof();
  setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
  return traits_type::to_int_type(*gptr());
}

std::streamsize tInputBytes::xsgetn(char* s, std::streamsize n) {
  std::size_t done = 0;
  const std::size_t wanted = static_cast<std::size_t>(n);
  // Bytes a small read left in the get area come first.
  if (gptr() < egptr()) {
    done = std::min(wanted, static_cast<std::size_t>(egptr() - gptr()));
    std::memcpy(s, gptr(), done);
    gbump(static_cast<int>(done));
  }
  while (done < wanted) {
    const std::size_t got = produce(s + done, wanted - done);
    if (got == 0) break;
    done += got;
  }
  return static_cast<std::streamsize>(done);
}

std::size_t tInputBytes::produce(char* s, std::size_t n) {
  if (head_served_ < head_.size()) {
    const std::size_t count = std::min(n, head_.size() - head_served_);
    std::memcpy(s, head_.data() + head_served_, count);
    head_served_ += count;
    return count;
  }
  return fresh(s, n);
}

std::size_t tInputBytes::fresh(char* s, std::size_t n) {
  return compressed_ ? inflate_into(s, n) : raw(s, n);
}

std::size_t tInputBytes::raw(char* s, std::size_t n) {
  if (source_ended_ || n == 0) return 0;
  source_.read(s, static_cast<std::streamsize>(n));
  const std::size_t got = static_cast<std::size_t>(source_.gcount());
  if (got < n) source_ended_ = true;
  return got;
}

std::size_t tInputBytes::inflate_into(char* s, std::size_t n) {
  if (members_ended_ || n == 0) return 0;
  zip_.next_out = reinterpret_cast<Bytef*>(s);
  zip_.avail_out = static_cast<uInt>(std::min<std::size_t>(n, 1u << 30));
  const uInt asked = zip_.avail_out;
  while (zip_.avail_out == asked) {
    if (zip_.avail_in == 0) {
      packed_.resize(packed_block);
      const std::size_t got = raw(packed_.data(), packed_.size());
      if (got == 0) bye("%s: the gzip data end early (the file is cut short)", name_.c_str());
      zip_.next_in = reinterpret_cast<Bytef*>(packed_.data());
      zip_.avail_in = static_cast<uInt>(got);
    }
    const int status = inflate(&zip_, Z_NO_FLUSH);
    if (status == Z_STREAM_END) {
      if (!next_member()) break;
      continue;
    }
    if (status != Z_OK && status != Z_BUF_ERROR)
      bye("%s: the gzip data are damaged (%s)", name_.c_str(),
          zip_.msg ? zip_.msg : "inflate failed");
  }
  return asked - zip_.avail_out;
}

bool tInputBytes::next_member() {
  if (zip_.avail_in == 0) {
    packed_.resize(packed_block);
    const std::size_t got = raw(packed_.data(), packed_.size());
    zip_.next_in = reinterpret_cast<Bytef*>(packed_.data());
    zip_.avail_in = static_cast<uInt>(got);
  }
  if (zip_.avail_in == 0) {
    members_ended_ = true;
    return false;
  }
  // Concatenated members continue the data; anything else after them is a fault.
  if (zip_.avail_in < 2 && !source_ended_) {
    const char first = static_cast<char>(*zip_.next_in);
    packed_.assign(1, first);
    packed_.resize(packed_block);
    const std::size_t got = raw(packed_.data() + 1, packed_.size() - 1);
    zip_.next_in = reinterpret_cast<Bytef*>(packed_.data());
    zip_.avail_in = static_cast<uInt>(got + 1);
  }
  if (zip_.avail_in < 2 || !gzip_magic(reinterpret_cast<const char*>(zip_.next_in)))
    bye("%s: bytes that are not gzip data follow the gzip data", name_.c_str());
  inflateReset(&zip_);
  return true;
}
