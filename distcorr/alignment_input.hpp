// An alignment from the text of an input: the format told or guessed, read and checked.
#pragma once

#include <string>

#include "distcorr/alignment.hpp"

enum class tFormat { automatic, fasta, phylip };

// Reads text in the given format (automatic: '>' or ';' first means FASTA, a digit PHYLIP),
// after a UTF-8 byte-order mark if there is one, and checks it; any problem ends through bye()
// naming source (empty: standard input).
tAlignment read_alignment(const std::string& text, tFormat format, const std::string& source);
