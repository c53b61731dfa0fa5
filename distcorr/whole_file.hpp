// Writing a file whole or not at all.
#pragma once

#include <string>

// Writes text to a temporary file beside path and renames it to path once it is complete; on
// any failure removes the temporary file, leaves path as it was and ends through bye().
void write_whole_file(const std::string& path, const std::string& text);
// Writes text to standard output; a failed write ends through bye().
void write_standard_output(const std::string& text);
