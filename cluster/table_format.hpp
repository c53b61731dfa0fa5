// The layouts of expression data the clusterer reads, and how -format auto chooses one.
#pragma once

#include <string>

#include "lib/string.hpp"

enum class tTableFormat { automatic, matrix, tsv, csv, gct, pcl };

// The format of a -format word (auto, matrix, tsv, csv, gct, pcl); false for another word.
bool format_named(const char* word, tTableFormat& format);
const char* format_name(tTableFormat format);

// The format of a text from its first bytes: the matrix layout when its first two tokens are
// integers; gct after "#1.2"; pcl for a tab-separated header starting "UID", "NAME",
// "GWEIGHT"; tsv for other lines with tabs, csv for lines with commas; else the matrix layout.
tTableFormat detect_format(const std::string& head);

// For a first line that looks like a header row (three or more tab- or comma-separated fields
// not all numbers): "; the first line looks like a header row: try -format tsv" (or csv); else
// an empty text.
std::string header_row_hint(const std::string& head);
