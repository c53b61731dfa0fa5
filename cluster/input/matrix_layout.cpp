// Blocks of the text are converted in pieces side by side, then joined in order: rows, names and
// the notes of unusual tokens go through one sequential pass, so reports keep the text's order.
#include "cluster/input/matrix_layout.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "cluster/input/matrix_fits.hpp"
#include "cluster/input/row_store.hpp"
#include "cluster/input/text_blocks.hpp"
#include "cluster/input/token_pieces.hpp"
#include "cluster/input/token_reader.hpp"
#include "cluster/input/value_conversion.hpp"
#include "cluster/input/white_space.hpp"
#include "cluster/limits.hpp"
#include "lib/diagnostics.hpp"

namespace {

long long read_count(const std::string& text, const char* what) {
  const char* token = text.c_str();
  if (*token == '\0') bye("Expression matrix: the text ends before the %s count", what);
  long long count = 0;
  if (!parse_integer(token, count) || count < 0)
    bye("Expression matrix: the %s count \"%s\" is not a non-negative integer", what,
        token_excerpt(token).c_str());
  // A saturated value would be reported as a number the text does not hold.
  if (count >= saturated_integer)
    bye("Expression matrix: the %s count \"%s\" is too large", what, token_excerpt(token).c_str());
  return count;
}

// What the unusual value tokens were, for one warning.
struct tTokenNotes {
  long long odd = 0;    // tokens not wholly a number, missing marks included
  long long marks = 0;  // NA and NaN
  long long non_finite = 0;
  long long first_row = -1;
  std::size_t first_column = 0;
  std::string first_token;
  std::string first_name;  // of the row of the first odd token
};

class tLayoutReading {
 public:
  tLayoutReading(std::istream& is, const string& input, const tReadSettings& settings,
                 const std::string& hint, const tTextSplit& split, long long text_bytes)
      : blocks_(is, split.block_bytes),
        text_bytes_(text_bytes),
        input_(input),
        settings_(settings),
        hint_(hint),
        piece_bytes_(split.piece_bytes) {}

  void counts(std::ostream& progress);
  tExpressionData rows();

 private:
  std::string next_header_token();
  void join(const char* text, std::size_t size, const tTokenPiece& piece);
  void start_row(const std::string& name);
  void note(tValueKind kind, const std::string& token, std::size_t column);
  [[noreturn]] void truncated(const std::string& place) const {
    bye("Expression matrix %s: the text ends at row %lld, %s, before its %lld x %lld values%s",
        input_.c_str(), row_, place.c_str(), rows_, cols_, hint_.c_str());
  }
  void report() const;

  tTextBlocks blocks_;
  const long long text_bytes_;
  const string& input_;
  const tReadSettings& settings_;
  const std::string& hint_;
  const std::size_t piece_bytes_;
  bool has_block_ = false;
  std::size_t at_ = 0;  // in the current block: where the header reading stopped
  long long rows_ = 0, cols_ = 0;
  std::unique_ptr<tRowStore> store_;
  std::vector<tTokenPiece> pieces_;
  long long row_ = 0;
  long long column_ = -1;  // of the next value token in the row; -1: the name comes next
  std::string name_;
  double* values_ = nullptr;
  unsigned char* missing_ = nullptr;
  tTokenNotes notes_;
  long long trailing_ = 0;  // tokens after the last value
  std::string first_trailing_;
};

// The header's tokens one at a time; the empty token at the end of the input.
std::string tLayoutReading::next_header_token() {
  for (;;) {
    if (!has_block_) {
      if (!blocks_.next()) return std::string();
      has_block_ = true;
      at_ = 0;
    }
    const char* text = blocks_.text();
    const std::size_t size = blocks_.size();
    while (at_ < size && is_space(text[at_])) ++at_;
    if (at_ < size) {
      const std::size_t start = at_;
      while (at_ < size && !is_space(text[at_])) ++at_;
      return token_text(text, start, at_);
    }
    has_block_ = false;
  }
}

void tLayoutReading::counts(std::ostream& progress) {
  rows_ = read_count(next_header_token(), "row");
  cols_ = read_count(next_header_token(), "column");
  if (rows_ > max_rows && settings_.top == 0)
    bye("Expression matrix: %lld rows; at most %d rows can be clustered (clusters hold row "
        "numbers in taxa sets): -top N keeps the N rows of largest variance",
        rows_, max_rows);
  if (settings_.top == 0) require_matrix_fits(rows_, cols_);
  require_matrix_fits(1, cols_);
  if (settings_.verbosity > 3) progress << "reading expression matrix..." << std::endl;
  store_.reset(new tRowStore(settings_, input_, static_cast<int>(cols_), rows_, text_bytes_));
}

tExpressionData tLayoutReading::rows() {
  for (bool more = has_block_; more || blocks_.next(); more = false) {
    const char* text = blocks_.text();
    const std::size_t size = blocks_.size();
    convert_pieces(text, size, more ? at_ : 0, piece_bytes_, pieces_);
    for (const tTokenPiece& piece : pieces_) join(text, size, piece);
  }
  if (row_ < rows_) {
    if (column_ < 0) truncated("before its name");
    truncated("column " + std::to_string(column_) + " of \"" +
              token_excerpt(name_.c_str()).c_str() + "\"");
  }
  report();
  return store_->finish(tTableFormat::matrix, array<string>());
}

void tLayoutReading::start_row(const std::string& name) {
  name_ = name;
  values_ = store_->values();
  missing_ = store_->missing();
  column_ = 0;
}

void tLayoutReading::join(const char* text, std::size_t size, const tTokenPiece& piece) {
  const std::size_t n = piece.count;
  std::size_t t = 0, u = 0;  // the next token and the next unusual one
  for (;;) {
    if (column_ == cols_) {
      store_->add(name_.c_str());
      ++row_;
      column_ = -1;
    }
    if (t == n) return;
    if (row_ == rows_) {
      if (trailing_ == 0) first_trailing_ = token_text(text, piece.starts[t], size);
      trailing_ += static_cast<long long>(n - t);
      return;
    }
    if (column_ < 0) {
      start_row(token_text(text, piece.starts[t++], size));
      continue;
    }
    const std::size_t run = std::min(static_cast<std::size_t>(cols_ - column_), n - t);
    std::memcpy(values_ + column_, piece.values.get() + t, run * sizeof(double));
    while (u < piece.unusual.size() && piece.unusual[u] < t) ++u;  // names
    for (; u < piece.unusual.size() && piece.unusual[u] < t + run; ++u)
      note(piece.kinds[u], token_text(text, piece.starts[piece.unusual[u]], size),
           static_cast<std::size_t>(column_) + (piece.unusual[u] - t));
    t += run;
    column_ += static_cast<long long>(run);
  }
}

void tLayoutReading::note(tValueKind kind, const std::string& token, std::size_t column) {
  if (kind == tValueKind::not_finite) {
    ++notes_.non_finite;
    missing_[column] = 1;
    return;
  }
  if (kind == tValueKind::missing) {
    ++notes_.marks;
    missing_[column] = 1;
  }
  if (notes_.odd++ == 0) {
    notes_.first_row = row_;
    notes_.first_column = column;
    notes_.first_token = token_excerpt(token.c_str()).c_str();
    notes_.first_name = name_;
  }
}

void tLayoutReading::report() const {
  // Text after the last value means the counts do not describe the text: values have shifted
  // between rows.
  if (trailing_ > 0)
    bye("Expression matrix %s: %lld token(s) left after the %lld x %lld values the counts "
        "announce, the first \"%s\"; the counts do not describe the text%s",
        input_.c_str(), trailing_, rows_, cols_, token_excerpt(first_trailing_.c_str()).c_str(),
        hint_.c_str());
  if (notes_.odd > 0)
    warning(
        "Expression matrix %s: %lld value token(s) not wholly a number (%lld of them missing "
        "values NA or NaN), read as their leading number or 0.0; the first: row %lld (\"%s\"), "
        "column %zu: \"%s\"",
        input_.c_str(), notes_.odd, notes_.marks, notes_.first_row,
        token_excerpt(notes_.first_name.c_str()).c_str(), notes_.first_column,
        notes_.first_token.c_str());
  if (notes_.non_finite > 0)
    warning("Expression matrix: %lld value(s) not finite, treated as missing (0.0)",
            notes_.non_finite);
}

}  // namespace

tExpressionData read_matrix_layout(std::istream& is, const string& input,
                                   const tReadSettings& settings, const std::string& hint,
                                   std::ostream& progress, const tTextSplit& split,
                                   long long text_bytes) {
  tLayoutReading reading(is, input, settings, hint, split, text_bytes);
  reading.counts(progress);
  return reading.rows();
}
