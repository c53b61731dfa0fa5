// The whole text of an input, from a file or standard input, inflated when it is gzip data.
#pragma once

#include <string>

// Bytes of the file name, or of standard input when name is empty; ends through bye() when the
// file cannot be read. Gzip data (told by its magic bytes, members concatenated) is inflated.
std::string read_source(const std::string& name);

bool is_gzip(const std::string& bytes);  // starts with the gzip magic bytes 1f 8b
// The inflated bytes of every member; damaged data ends through bye() naming source.
std::string gunzip(const std::string& bytes, const std::string& source);
