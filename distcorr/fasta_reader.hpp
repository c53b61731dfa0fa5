// FASTA alignments: a '>' line names each sequence (its first word); the lines after it hold
// the sites. Blank lines and ';' comment lines are skipped.
#pragma once

#include <string_view>

#include "distcorr/alignment.hpp"

// Fills alignment from text; returns the first problem (bad character, data before a header,
// a header without a name), leaving the rest of the checks to check_alignment().
tProblem read_fasta(std::string_view text, tAlignment& alignment);
