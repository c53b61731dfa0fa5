// The layouts of expression data the clusterer reads, and how -format auto chooses one.
#pragma once

#include <string>

#include "lib/string.hpp"

enum class tTableFormat { automatic, matrix, tsv, ssv, csv, csv2, gct, pcl };

// The format of a -format word (auto, matrix, tsv, ssv, csv, csv2, gct, pcl); false for another.
bool format_named(const char* word, tTableFormat& format);
const char* format_name(tTableFormat format);

// The format of a text from its first bytes (a UTF-8 byte-order mark aside): the matrix layout
// when its first two tokens are integers and its first line holds at most two tokens (the counts
// on one line or two); gct after "#1.2" or "#1.3"; pcl for a tab-separated header starting "UID",
// "NAME", "GWEIGHT"; tsv for other lines with tabs; csv2 for lines with more semicolons than
// commas outside quotes, csv for other lines with commas; ssv for other lines of three or more
// white-space separated fields, or of two when the first is no number and a line follows; else
// the matrix layout.
tTableFormat detect_format(const std::string& head);

// For a first line that looks like a header row (three or more tab-, comma-, semicolon- or
// blank-separated fields not all numbers): "; the first line looks like a header row: try
// -format tsv" (or csv, csv2, ssv); else an empty text.
std::string header_row_hint(const std::string& head);

// The format that would cut line into fields by a delimiter it holds (tab, semicolon, comma,
// blank, in that order): "; -format tsv reads it" and the like; else an empty text.
std::string delimiter_hint(const std::string& line);

// The delimiter of a table format's fields: '\t', ',', ';', or ' ' for runs of blanks (ssv).
char format_delimiter(tTableFormat format);
