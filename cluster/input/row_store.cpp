// Rows kept in slots: straight into the matrix when the count is known and the text can hold it,
// else in blocks allocated as rows arrive;
// with -top a heap of N + 1 slots holds the best rows so far and a free one for the next.
#include "cluster/input/row_store.hpp"

#include <algorithm>
#include <cstring>

#include "cluster/input/matrix_fits.hpp"
#include "cluster/input/preparation.hpp"
#include "cluster/input/top_rows.hpp"
#include "cluster/limits.hpp"
#include "lib/diagnostics.hpp"
#include "lib/parallel.hpp"

namespace {

constexpr int max_block_slots = 256;
constexpr long long block_bytes = 4 << 20;

bool text_can_hold(long long rows, int cols, long long text_bytes) {
  return text_bytes >= 0 && rows * cols <= text_bytes / 2 + 1;
}

int slots_per_block(int cols) {
  const long long row_bytes = static_cast<long long>(cols) * static_cast<long long>(sizeof(double));
  return static_cast<int>(
      std::max(1LL, std::min<long long>(max_block_slots, block_bytes / std::max(1LL, row_bytes))));
}

}  // namespace

tRowStore::tRowStore(const tReadSettings& settings, const string& input, int cols,
                     long long expected_rows, long long text_bytes)
    : settings_(settings),
      input_(input),
      cols_(cols),
      direct_(expected_rows >= 0 && expected_rows <= max_rows && settings.top == 0 &&
              text_can_hold(expected_rows, cols, text_bytes)),
      block_slots_(slots_per_block(cols)),
      row_missing_(static_cast<std::size_t>(cols), 0) {
  if (direct_) {
    require_matrix_fits(expected_rows, cols);
    data_ = matrix(static_cast<int>(expected_rows), cols);
  }
  if (settings_.top > 0) {
    require_matrix_fits(settings_.top + 1, cols);
    top_.reset(new tTopRows(settings_.top));
  }
}

double* tRowStore::slot(int s) {
  const std::size_t offset = static_cast<std::size_t>(direct_ ? s : s % block_slots_) * cols_;
  return direct_ ? data_.data() + offset : blocks_[s / block_slots_].get() + offset;
}

void tRowStore::make_slot(int s) {
  if (direct_ || static_cast<std::size_t>(s / block_slots_) < blocks_.size()) return;
  blocks_.push_back(large_block<double>(static_cast<std::size_t>(block_slots_) * cols_, false));
}

int tRowStore::next_free_slot() {
  if (settings_.top > 0) {
    make_slot(free_slot_);
    return free_slot_;
  }
  if (slots_used_ >= max_rows)
    bye("Expression data %s: more than %d rows; at most %d rows can be clustered (clusters "
        "hold row numbers in taxa sets): -top N keeps the N rows of largest variance",
        input_.c_str(), max_rows, max_rows);
  const int s = slots_used_;
  if (direct_ && s >= data_.dim1()) error("Expression data: more rows than announced");
  if (!direct_) require_matrix_fits(s + 1, cols_);
  make_slot(s);
  return s;
}

double* tRowStore::values() {
  free_slot_ = next_free_slot();
  std::fill(row_missing_.begin(), row_missing_.end(), 0);
  return slot(free_slot_);
}

unsigned char* tRowStore::missing() {
  return row_missing_.data();
}

void tRowStore::add(const char* name) {
  const long long row = rows_read_++;
  double* values = slot(free_slot_);
  const unsigned char* flags = row_missing_.data();
  const long long missing_here = std::count(row_missing_.begin(), row_missing_.end(), 1);
  missing_values_ += missing_here;
  if (!prepare_row(values, flags, cols_, settings_, input_.c_str(), name)) {
    ++rows_dropped_;
    dropped_names_.push_back(string(name));
    if (settings_.verbosity >= 1) message("dropped for missing values: row \"%s\"\n", name);
    return;
  }
  const int s = free_slot_;
  const std::size_t slots = settings_.top > 0 ? static_cast<std::size_t>(settings_.top) + 1
                                              : static_cast<std::size_t>(s) + 1;
  if (names_.size() < slots) names_.resize(slots);
  keep(s, row, name);
  if (missing_here > 0 && mask_.empty()) mask_.assign(slots * static_cast<std::size_t>(cols_), 0);
  if (!mask_.empty() && cols_ > 0) {
    if (mask_.size() < slots * cols_) mask_.resize(std::max(mask_.size() * 2, slots * cols_), 0);
    std::memcpy(mask_.data() + static_cast<std::size_t>(s) * cols_, flags, cols_);
  }
}

void tRowStore::keep(int s, long long row, const char* name) {
  names_[s] = string(name);
  if (!top_) {
    ++slots_used_;
    return;
  }
  free_slot_ = top_->offer(s, row, row_variance(slot(s), cols_));
}

tExpressionData tRowStore::finish(tTableFormat format, array<string> column_names) {
  std::vector<int> kept;
  if (top_) {
    kept = top_->kept();
  } else {
    kept.resize(static_cast<std::size_t>(slots_used_));
    for (int s = 0; s < slots_used_; ++s) kept[s] = s;
  }
  const int rows = static_cast<int>(kept.size());
  tExpressionData result;
  if (direct_ && rows == data_.dim1()) {
    result.data = std::move(data_);
  } else {
    result.data = matrix(rows, cols_);
    // Rows copied side by side: the matrix's pages are first touched here.
    double* const data = result.data.data();
    if (cols_ > 0)
      parallel_for(rows, [&](int i) {
        std::memcpy(data + static_cast<std::size_t>(i) * cols_, slot(kept[i]),
                    sizeof(double) * cols_);
      });
  }
  for (int i = 0; i < rows; ++i) result.names.insert(i, names_[kept[i]]);
  bool any_missing = false;
  if (!mask_.empty() && cols_ > 0) {
    result.missing.resize(static_cast<std::size_t>(rows) * cols_);
    for (int i = 0; i < rows; ++i)
      std::memcpy(result.missing.data() + static_cast<std::size_t>(i) * cols_,
                  mask_.data() + static_cast<std::size_t>(kept[i]) * cols_, cols_);
    any_missing = std::count(result.missing.begin(), result.missing.end(), 1) > 0;
  }
  if (!any_missing) result.missing.clear();
  result.column_names = std::move(column_names);
  result.format = format_name(format);
  result.rows_read = rows_read_;
  result.rows_dropped = rows_dropped_;
  result.missing_values = missing_values_;
  result.dropped_names = std::move(dropped_names_);
  if (rows_dropped_ > 0)
    warning("Expression data %s: %lld row(s) dropped for missing values (-missing %s)%s",
            input_.c_str(), rows_dropped_,
            settings_.missing == tMissingPolicy::drop ? "drop" : "rowmean",
            settings_.verbosity >= 1 ? "" : "; -v1 names them");
  return result;
}
