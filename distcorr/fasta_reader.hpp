// FASTA alignments: a '>' line names each sequence (its first word); the lines after it hold
// the sites. Blank lines and ';' comment lines are skipped.
#pragma once

#include <string>

#include "distcorr/alignment.hpp"

// Fills alignment from text; returns the first problem (bad character, data before a header,
// a header without a name), leaving the rest of the checks to check_alignment().
tProblem read_fasta(const std::string& text, tAlignment& alignment);
