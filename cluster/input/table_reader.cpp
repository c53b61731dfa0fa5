// Each format reads its header lines, then every data row goes through one loop: leading fields
// (name first), then one cell per column.
#include "cluster/input/table_reader.hpp"

#include <strings.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "cluster/input/field_scanner.hpp"
#include "cluster/input/matrix_fits.hpp"
#include "cluster/input/row_store.hpp"
#include "cluster/input/table_pieces.hpp"
#include "cluster/input/token_reader.hpp"
#include "cluster/input/value_conversion.hpp"
#include "lib/diagnostics.hpp"

namespace {

// What the header lines told: the columns, the fields before them, the rows announced.
struct tLayout {
  std::vector<std::string> columns;
  std::size_t leading = 1;        // the name, and for gct and pcl the fields after it
  long long expected = -1;        // gct's row count
  long long annotation_rows = 0;  // gct 1.3: rows of column annotations before the data
  bool first_row_read = false;    // tsv and csv: the first data row is in the scanner already
};

bool quoted(tTableFormat format) {
  return format != tTableFormat::gct && format != tTableFormat::pcl;
}

class tTableReading {
 public:
  tTableReading(std::istream& is, tTableFormat format, const string& input)
      : is_(is),
        format_(format),
        input_(input),
        scanner_(is, format_delimiter(format), quoted(format)) {}

  tLayout header();
  void shape(const tLayout& layout) {
    shape_ = {format_delimiter(format_), layout.leading, layout.columns.size()};
    shape_.quoted = quoted(format_);
    shape_.decimal_comma = format_ == tTableFormat::csv2;
    shape_.weight_field = format_ == tTableFormat::pcl ? 2 : 0;
  }
  tExpressionData rows(const tLayout& layout, const tReadSettings& settings,
                       const tTextSplit& split, long long text_bytes);

 private:
  bool next_line() { return scanner_.next_line(); }
  std::size_t field_count() const { return scanner_.fields().size(); }
  std::string field(std::size_t i) const {
    return std::string(scanner_.fields()[i].text, scanner_.fields()[i].size);
  }
  [[noreturn]] void fault(const char* what) const { fault_at(scanner_.line(), what); }
  [[noreturn]] void fault_at(long long line, const char* what) const {
    bye("Expression data %s (%s): line %lld: %s", input_.c_str(), format_name(format_), line, what);
  }
  [[noreturn]] void field_count_fault(long long line, std::size_t fields,
                                      std::size_t expected) const {
    fault_at(line, ("the row has " + std::to_string(fields) +
                    " fields where the header calls for " + std::to_string(expected))
                       .c_str());
  }
  [[noreturn]] void cell_fault(long long line, const tLayout& layout, std::size_t j,
                               const std::string& cell) const {
    fault_at(line,
             ("column " + std::to_string(layout.leading + j + 1) + " (\"" +
              token_excerpt(layout.columns[j].c_str()).c_str() + "\"): \"" +
              token_excerpt(cell.c_str()).c_str() + "\" is neither a number nor a missing value")
                 .c_str());
  }
  std::vector<std::string> fields_from(std::size_t first) const {
    std::vector<std::string> names;
    for (std::size_t i = first; i < field_count(); ++i) names.push_back(field(i));
    return names;
  }
  // Fewer than two fields: the line was cut by another delimiter than the one it holds.
  void require_two_fields(const char* what) const {
    if (field_count() < 2)
      fault((std::string(what) + " holds one field" + delimiter_hint(field(0))).c_str());
  }
  void gct_counts(tLayout& layout);
  void corner(tLayout& layout);
  void require_line(const char* what) {
    if (!next_line())
      bye("Expression data %s (%s): the text ends before %s", input_.c_str(), format_name(format_),
          what);
  }
  void read_row(tRowStore& store, const tLayout& layout);
  void read_rest(tRowStore& store, const tLayout& layout, long long& count,
                 const tTextSplit& split);
  void add_row(tRowStore& store, const tTablePiece& piece, std::size_t r, std::size_t columns);
  void note_kind(tValueKind kind, unsigned char& missing);

  std::istream& is_;
  const tTableFormat format_;
  const string& input_;
  tFieldScanner scanner_;
  tTableShape shape_{'\t', 1, 0};
  std::string copy_;
  long long missing_ = 0, non_finite_ = 0, odd_weights_ = 0;
};

// gct 1.2: rows and columns; 1.3 adds the counts of row annotation fields (after the name)
// and of column annotation rows (after the header).
void tTableReading::gct_counts(tLayout& layout) {
  const bool v13 = field(0).compare(0, 4, "#1.3") == 0;
  if (field(0).compare(0, 4, "#1.2") != 0 && !v13)
    fault("a gct file starts with the line \"#1.2\" or \"#1.3\"");
  require_line("the dimensions line");
  const int wanted = v13 ? 4 : 2;
  long long counts[4] = {0, 0, 1, 0};
  for (int i = 0; i < wanted; ++i)
    if (field_count() <= static_cast<std::size_t>(i) ||
        !parse_integer(field(i).c_str(), counts[i]) || counts[i] < 0 ||
        counts[i] >= saturated_integer)
      fault(v13 ? "the dimensions line holds four counts: rows, columns, row and column "
                  "annotations"
                : "the dimensions line holds two counts, rows and columns");
  require_line("the header row");
  if (field_count() < static_cast<std::size_t>(counts[2]) + 1)
    fault(v13 ? "the header row is \"id\", the row annotations, then the samples"
              : "the header row is \"Name Description samples...\"");
  layout.leading = static_cast<std::size_t>(counts[2]) + 1;
  layout.columns = fields_from(layout.leading);
  layout.expected = counts[0];
  layout.annotation_rows = counts[3];
  if (static_cast<long long>(layout.columns.size()) != counts[1])
    fault(("the header names " + std::to_string(layout.columns.size()) +
           " samples, the dimensions line " + std::to_string(counts[1]))
              .c_str());
}

tLayout tTableReading::header() {
  tLayout layout;
  require_line("the header row");
  if (format_ == tTableFormat::gct) {
    gct_counts(layout);
  } else if (format_ == tTableFormat::pcl) {
    if (field_count() < 3 || strcasecmp(field(2).c_str(), "GWEIGHT") != 0)
      fault(
          ("the header row is \"UID NAME GWEIGHT samples...\"" + delimiter_hint(field(0))).c_str());
    layout.columns = fields_from(3);
    layout.leading = 3;
  } else {
    corner(layout);
  }
  if (layout.columns.empty()) fault("the header names no value column");
  shape(layout);
  return layout;
}

// tsv, ssv, csv and csv2: the header has a corner cell when it is as long as the rows.
void tTableReading::corner(tLayout& layout) {
  require_two_fields("the header row");
  const std::vector<std::string> header = fields_from(0);
  require_line("the first data row");
  require_two_fields("the first data row");
  layout.first_row_read = true;
  if (field_count() == header.size()) {
    layout.columns.assign(header.begin() + 1, header.end());
  } else if (field_count() == header.size() + 1) {
    layout.columns = header;
  } else {
    fault(("the row has " + std::to_string(field_count()) + " fields where the header calls for " +
           std::to_string(header.size()) + " or " + std::to_string(header.size() + 1))
              .c_str());
  }
}

void tTableReading::read_row(tRowStore& store, const tLayout& layout) {
  const std::size_t expected = layout.leading + layout.columns.size();
  if (field_count() != expected) field_count_fault(scanner_.line(), field_count(), expected);
  const std::vector<tField>& fields = scanner_.fields();
  double* values = store.values();
  unsigned char* missing = store.missing();
  if (shape_.weight_field > 0) {
    const tField& weight = fields[shape_.weight_field];
    odd_weights_ += !unit_weight(shape_, weight.text, weight.size, copy_);
  }
  for (std::size_t j = 0; j < layout.columns.size(); ++j) {
    const tField& cell = fields[layout.leading + j];
    const tValueKind kind = shaped_cell_value(shape_, cell.text, cell.size, values[j], copy_);
    if (kind == tValueKind::not_number)
      cell_fault(scanner_.line(), layout, j, std::string(cell.text, cell.size));
    note_kind(kind, missing[j]);
  }
  store.add(std::string(fields[0].text, fields[0].size).c_str());
}

void tTableReading::note_kind(tValueKind kind, unsigned char& missing) {
  if (kind == tValueKind::missing) ++missing_;
  if (kind == tValueKind::not_finite) ++non_finite_;
  if (kind != tValueKind::number) missing = 1;
}

// The lines after the first data row, converted side by side and taken in order.
void tTableReading::read_rest(tRowStore& store, const tLayout& layout, long long& count,
                              const tTextSplit& split) {
  long long line_base = scanner_.next_line_number();
  tTextBlocks blocks(is_, split.block_bytes, true, scanner_.take_rest());
  const tTableShape& shape = shape_;
  std::vector<tTablePiece> pieces;
  while (blocks.next()) {
    convert_table_pieces(blocks.text(), blocks.size(), shape, split.piece_bytes, pieces);
    for (const tTablePiece& piece : pieces) {
      for (std::size_t r = 0; r < piece.rows; ++r) {
        if (count == layout.expected)
          fault_at(line_base + piece.lines[r], "more rows than the dimensions line announces");
        add_row(store, piece, r, shape.columns);
        ++count;
      }
      odd_weights_ += piece.odd_weights;
      if (piece.fault) {
        const long long line = line_base + piece.fault_line;
        if (count == layout.expected)
          fault_at(line, "more rows than the dimensions line announces");
        if (!piece.fault_in_cell)
          field_count_fault(line, piece.fault_fields, shape.leading + shape.columns);
        cell_fault(line, layout, piece.fault_column, piece.fault_cell);
      }
      line_base += piece.line_feeds;
    }
  }
}

void tTableReading::add_row(tRowStore& store, const tTablePiece& piece, std::size_t r,
                            std::size_t columns) {
  double* values = store.values();
  unsigned char* missing = store.missing();
  if (columns > 0) std::memcpy(values, piece.values.get() + r * columns, columns * sizeof(double));
  if (piece.unusual[r])
    for (std::size_t j = 0; j < columns; ++j)
      note_kind(static_cast<tValueKind>(piece.kinds[r * columns + j]), missing[j]);
  store.add(piece.names[r].c_str());
}

tExpressionData tTableReading::rows(const tLayout& layout, const tReadSettings& settings,
                                    const tTextSplit& split, long long text_bytes) {
  require_matrix_fits(1, static_cast<long long>(layout.columns.size()));
  tRowStore store(settings, input_, static_cast<int>(layout.columns.size()), layout.expected,
                  text_bytes);
  long long count = 0;
  long long annotations = layout.annotation_rows;
  bool more = layout.first_row_read || next_line();
  for (; more; more = next_line()) {
    if (annotations > 0) {
      --annotations;
      continue;
    }
    // pcl: an optional row of column weights comes first.
    if (format_ == tTableFormat::pcl && count == 0 && strcasecmp(field(0).c_str(), "EWEIGHT") == 0)
      continue;
    if (count == layout.expected) fault("more rows than the dimensions line announces");
    read_row(store, layout);
    ++count;
    // The lines after the first data row, without quoting, are read side by side.
    if (format_ != tTableFormat::csv) {
      read_rest(store, layout, count, split);
      break;
    }
  }
  if (count == 0)
    bye("Expression data %s (%s): a header without data rows", input_.c_str(),
        format_name(format_));
  if (layout.expected >= 0 && count != layout.expected)
    bye("Expression data %s (gct): %lld rows, the dimensions line announces %lld", input_.c_str(),
        count, layout.expected);
  if (missing_ > 0 && settings.missing == tMissingPolicy::zero)
    warning(
        "Expression data %s: %lld missing value(s) taken as 0.0 (-missing rowmean or drop "
        "treat them otherwise)",
        input_.c_str(), missing_);
  if (non_finite_ > 0)
    warning("Expression data %s: %lld value(s) not finite, treated as missing", input_.c_str(),
            non_finite_);
  if (odd_weights_ > 0)
    warning("Expression data %s (pcl): %lld row weight(s) other than 1 ignored", input_.c_str(),
            odd_weights_);
  array<string> columns(static_cast<int>(layout.columns.size()));
  for (std::size_t j = 0; j < layout.columns.size(); ++j)
    columns[static_cast<int>(j)] = string(layout.columns[j].c_str());
  return store.finish(format_, columns);
}

}  // namespace

tExpressionData read_table(std::istream& is, tTableFormat format, const string& input,
                           const tReadSettings& settings, std::ostream& progress,
                           const tTextSplit& split, long long text_bytes) {
  tTableReading reading(is, format, input);
  const tLayout layout = reading.header();
  if (settings.verbosity > 3) progress << "reading expression matrix..." << std::endl;
  return reading.rows(layout, settings, split, text_bytes);
}
