// A DNA alignment as read: names and sequences, with the line where each sequence begins.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct tAlignment {
  std::vector<std::string> names;
  std::vector<std::string> sequences;  // the characters as written, blanks left out
  std::vector<long> lines;             // line of each sequence's name, counted from 1
};

// What a reader found wrong, already naming its line and sequence; empty when nothing.
using tProblem = std::string;

// IUPAC nucleotide codes (either case, U included), the gaps '-' and '.', and '?' for missing.
bool is_alignment_character(char c);
// A character as a message shows it: 'c', or \xNN when it does not print.
std::string shown(char c);
// "line L: sequence NAME has the character 'c', ..." for a character that is not allowed.
tProblem bad_character(long line, const std::string& name, char c);
// Appends the characters of text that are not blanks to sequence; the first bad one is a problem.
tProblem append_sites(std::string_view text, std::string& sequence, long line,
                      const std::string& name);

// At least two sequences, distinct names, equal lengths above 0; else the first problem found.
tProblem check_alignment(const tAlignment& alignment);
