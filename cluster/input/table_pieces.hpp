// The data lines of a delimited table without quoting, converted in pieces side by side.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cluster/input/value_conversion.hpp"
#include "lib/large_block.hpp"

// The rows of one piece of a block, in order, up to the first faulty one.
struct tTablePiece {
  std::size_t rows = 0;  // rows converted, all sound
  // Room for capacity values, never cleared: only the pages written cost a page fault.
  std::size_t capacity = 0;
  tLargeBlock<double> values;          // rows x columns
  tLargeBlock<unsigned char> kinds;    // per value: its tValueKind (number, missing, not_finite)
  std::vector<unsigned char> unusual;  // per row: 1 when a value is not a number
  std::vector<std::string> names;      // per row: its first field
  std::vector<long long> lines;        // per row: line feeds before it in the piece
  long long line_feeds = 0;            // in the whole piece
  long long odd_weights = 0;           // rows whose weight field is not 1
  // The faulty row after the sound ones, if any: its line, and the field count, or the column
  // (from 0) and text of the first cell that is neither a number nor a missing value.
  bool fault = false;
  long long fault_line = 0;
  std::size_t fault_fields = 0;
  bool fault_in_cell = false;
  std::size_t fault_column = 0;
  std::string fault_cell;
};

// The fields a data line holds: leading ones (the name first), then one cell per column.
struct tTableShape {
  char delimiter;  // ' ': runs of blanks and tabs, blanks at the line's ends aside
  std::size_t leading;
  std::size_t columns;
  bool quoted = false;           // fields may be quoted as in RFC 4180, within their line
  bool decimal_comma = false;    // cells write a comma for the decimal point
  std::size_t weight_field = 0;  // a leading field that holds the row's weight, if not 0
};

// The value of a cell text[0, length) as cell_value gives it (16 readable bytes after it), a
// decimal comma read as a point when shape says so; copy is scratch room.
tValueKind shaped_cell_value(const tTableShape& shape, const char* text, std::size_t length,
                             double& value, std::string& copy);

// True for a weight field that holds 1.
bool unit_weight(const tTableShape& shape, const char* text, std::size_t length, std::string& copy);

// Cuts text[0, size) after line feeds into pieces of about piece_bytes and converts the lines of
// each (see cell_value; empty lines are skipped, CR before LF dropped) on the run's threads.
// text is a line block of tTextBlocks.
void convert_table_pieces(const char* text, std::size_t size, const tTableShape& shape,
                          std::size_t piece_bytes, std::vector<tTablePiece>& pieces);
