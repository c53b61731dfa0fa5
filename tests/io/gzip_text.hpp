// Gzip members made in the test, for inputs of known content.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

// text as one gzip member; a non-empty extra field is written as bgzip writes its block size.
inline std::string gzip_member(const std::string& text, const std::string& extra = "") {
  z_stream zip{};
  EXPECT_EQ(deflateInit2(&zip, 6, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
  gz_header header{};
  std::string extra_bytes = extra;
  if (!extra.empty()) {
    header.extra = reinterpret_cast<Bytef*>(extra_bytes.data());
    header.extra_len = static_cast<uInt>(extra_bytes.size());
    EXPECT_EQ(deflateSetHeader(&zip, &header), Z_OK);
  }
  std::string packed(deflateBound(&zip, text.size()) + 64 + extra.size(), '\0');
  zip.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  zip.avail_in = static_cast<uInt>(text.size());
  zip.next_out = reinterpret_cast<Bytef*>(packed.data());
  zip.avail_out = static_cast<uInt>(packed.size());
  EXPECT_EQ(deflate(&zip, Z_FINISH), Z_STREAM_END);
  packed.resize(zip.total_out);
  deflateEnd(&zip);
  return packed;
}
