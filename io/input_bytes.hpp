// The bytes of an input stream, inflated when they are gzip data: the one layer every reader
// of the expression data reads through.
#pragma once

#include <zlib.h>

#include <istream>
#include <streambuf>
#include <string>
#include <vector>

#include "lib/string.hpp"

class tInputBytes : private std::streambuf {
 public:
  // source is read from its current position; name labels reports ("stdin" or a file name).
  // Gzip data (one or more members) are recognised by their magic bytes.
  tInputBytes(std::istream& source, const string& name);
  ~tInputBytes() override;
  tInputBytes(const tInputBytes&) = delete;
  tInputBytes& operator=(const tInputBytes&) = delete;

  // The (inflated) bytes, from the start.
  std::istream& stream() { return stream_; }
  // Up to size bytes from the start, without consuming them; only before stream() is read.
  const std::string& head(std::size_t size);
  bool compressed() const { return compressed_; }
  const string& name() const { return name_; }

 private:
  int_type underflow() override;
  std::streamsize xsgetn(char* s, std::streamsize n) override;
  std::size_t produce(char* s, std::size_t n);  // the head first, then fresh bytes
  std::size_t fresh(char* s, std::size_t n);    // plain or inflated bytes from source
  std::size_t raw(char* s, std::size_t n);      // bytes of the source itself
  std::size_t inflate_into(char* s, std::size_t n);
  bool next_member();  // after the end of a member: false at the end of the input

  std::istream& source_;
  string name_;
  std::istream stream_;
  std::string head_;  // bytes already taken from the source, served first
  std::size_t head_served_ = 0;
  bool compressed_ = false;
  z_stream zip_{};
  std::vector<char> packed_;  // compressed bytes not yet inflated: zip_.next_in into it
  bool source_ended_ = false;
  bool members_ended_ = false;
  std::vector<char> buffer_;  // the get area for small reads
};
