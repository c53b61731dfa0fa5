// The row storage: rows handed over one at a time by a reader, prepared as they arrive
// (prepare_row) and kept all, or only those tTopRows selects: memory for values, not for text.
#pragma once

#include <memory>
#include <vector>

#include "cluster/input/expression_data.hpp"
#include "cluster/input/read_settings.hpp"
#include "cluster/input/top_rows.hpp"
#include "lib/large_block.hpp"

class tRowStore {
 public:
  // expected_rows: the count the text announces, or -1 when it does not; text_bytes: the most
  // bytes the text can hold, or -1 when unknown. The rows' memory is taken at once only when
  // the text can hold the rows announced (a value takes two bytes at least), else as they come.
  tRowStore(const tReadSettings& settings, const string& input, int cols, long long expected_rows,
            long long text_bytes = -1);
  tRowStore(const tRowStore&) = delete;
  tRowStore& operator=(const tRowStore&) = delete;

  double* values();          // cols slots for the next row, to be filled by the reader
  unsigned char* missing();  // cols flags for it, all 0: the reader sets 1 for a missing entry
  // The row is complete. Without -top, a row beyond the clusters' limit ends the run
  // through bye(), naming -top.
  void add(const char* name);
  // The rows kept, in input order, with names, missing flags and counts; warns of dropped rows.
  tExpressionData finish(tTableFormat format, array<string> column_names);

 private:
  double* slot(int s);
  void make_slot(int s);  // allocates the block of slot s if need be
  void keep(int s, long long row, const char* name);
  int next_free_slot();

  const tReadSettings settings_;
  const string input_;
  const int cols_;
  const bool direct_;      // rows go straight into data_ (count known, all kept)
  const int block_slots_;  // rows per block otherwise: a block stays small next to its text
  matrix data_;
  // Otherwise in blocks of slots, allocated as needed and never moved or cleared (the reader
  // writes every value of a row).
  std::vector<tLargeBlock<double>> blocks_;
  std::vector<unsigned char> row_missing_;
  std::vector<unsigned char> mask_;  // per slot, once any kept row has a missing entry
  std::vector<string> names_;        // per slot
  std::vector<string> dropped_names_;
  std::unique_ptr<tTopRows> top_;  // with -top
  int free_slot_ = 0;
  int slots_used_ = 0;
  long long rows_read_ = 0;
  long long rows_dropped_ = 0;
  long long missing_values_ = 0;
};
