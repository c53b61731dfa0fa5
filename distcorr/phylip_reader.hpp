// PHYLIP alignments with relaxed names: a line with the numbers of sequences and sites, then
// each sequence's name (its first word) and sites, sequential (a sequence may go on over
// several lines) or interleaved (blocks of one line per sequence, names only in the first).
#pragma once

#include <string_view>

#include "distcorr/alignment.hpp"

// Fills alignment from text, sequential when that reading fits the numbers, else interleaved;
// returns the first problem, leaving the remaining checks to check_alignment().
tProblem read_phylip(std::string_view text, tAlignment& alignment);
