// Drawing the heatmap: bands and labels on the left, the cells, names, legend below.
#include "cluster/report/heatmap.hpp"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "cluster/report/heatmap_layout.hpp"
#include "cluster/report/svg_text.hpp"

namespace {

constexpr int max_named_rows = 80;      // row names are drawn up to this many unbinned rows
constexpr int max_named_columns = 100;  // column names up to this many columns
constexpr int named_row_height = 12;
constexpr int max_label_chars = 24;
constexpr double clip_quantile = 0.99;

// Horizontal positions, in pixels, of the parts left of the cells.
constexpr int cluster_band_x = 66, half_label_end = 126, half_band_x = 130, heat_x = 142;
constexpr int heat_y = 30;

struct tGeometry {
  int cols, lines;     // cells across and drawn lines down
  int heat_w, heat_h;  // pixels of the cell area
  bool row_names, column_names;
  int right, bottom;  // margins for the names
  int width, height;
};

std::string label_text(const std::string& text) {
  if (text.size() <= static_cast<std::size_t>(max_label_chars)) return text;
  return text.substr(0, max_label_chars - 1) + "\xE2\x80\xA6";  // an ellipsis
}

std::vector<std::string> column_labels(const std::vector<std::string>& names, int cols) {
  if (static_cast<int>(names.size()) == cols) return names;
  std::vector<std::string> numbers;
  for (int j = 1; j <= cols; ++j) numbers.push_back(std::to_string(j));
  return numbers;
}

std::size_t longest(const std::vector<std::string>& texts) {
  std::size_t n = 0;
  for (const std::string& text : texts) n = std::max(n, label_text(text).size());
  return n;
}

// Row names, when given, are drawn one per line.
tGeometry geometry(int cols, int lines, const std::vector<std::string>& row_names,
                   std::size_t column_chars) {
  tGeometry g{};
  g.cols = cols;
  g.lines = lines;
  g.heat_w = cols <= max_named_columns ? cols * std::clamp(800 / std::max(cols, 1), 8, 16) : 800;
  g.row_names = !row_names.empty();
  g.heat_h = g.row_names ? lines * named_row_height : std::clamp(lines * 2, 300, 900);
  g.column_names = cols <= max_named_columns;
  g.right = g.row_names ? 8 + 6 * static_cast<int>(longest(row_names)) : 12;
  g.bottom = g.column_names ? 10 + 6 * static_cast<int>(column_chars) : 8;
  g.width = std::max(heat_x + g.heat_w + g.right, 560);
  g.height = heat_y + g.heat_h + g.bottom + 64;
  return g;
}

double line_y(const tGeometry& g, int line) {
  return heat_y + static_cast<double>(g.heat_h) * line / std::max(g.lines, 1);
}

void write_bands(std::ostream& os, const tGeometry& g, const std::vector<tBand>& drawn_bands) {
  for (std::size_t b = 0; b < drawn_bands.size();) {
    // The bands of one cluster are adjacent: draw the cluster band over all of them.
    const int cluster = drawn_bands[b].group / 2;
    std::size_t e = b;
    while (e < drawn_bands.size() && drawn_bands[e].group / 2 == cluster) ++e;
    const double top = line_y(g, drawn_bands[b].first);
    const double bottom = line_y(g, drawn_bands[e - 1].first + drawn_bands[e - 1].count);
    os << "<rect x=\"" << cluster_band_x << "\" y=\"" << short_number(top, 6)
       << "\" width=\"12\" height=\"" << short_number(bottom - top, 6) << "\" fill=\""
       << cluster_colour(cluster) << "\"><title>cluster " << cluster << "</title></rect>\n";
    if (bottom - top >= 11)
      os << "<text x=\"" << cluster_band_x - 4 << "\" y=\""
         << short_number((top + bottom) / 2 + 4, 6) << "\" text-anchor=\"end\">cluster " << cluster
         << "</text>\n";
    for (std::size_t h = b; h < e; ++h) {
      const tBand& band = drawn_bands[h];
      const double y0 = line_y(g, band.first), y1 = line_y(g, band.first + band.count);
      os << "<rect x=\"" << half_band_x << "\" y=\"" << short_number(y0, 6)
         << "\" width=\"8\" height=\"" << short_number(y1 - y0, 6) << "\" fill=\""
         << cluster_colour(cluster) << "\" fill-opacity=\"" << (band.group % 2 ? "1" : "0.45")
         << "\"><title>group " << band.group << "</title></rect>\n";
      if (y1 - y0 >= 11)
        os << "<text x=\"" << half_label_end << "\" y=\"" << short_number((y0 + y1) / 2 + 4, 6)
           << "\" text-anchor=\"end\" font-size=\"10\">group " << band.group << "</text>\n";
    }
    b = e;
  }
}

// One stroked path per colour level; each run of equal levels in a line is one "M x y h w".
bool write_cells(std::ostream& os, const tGeometry& g, const matrix& lines,
                 const tColourScale& scale) {
  const int levels = 2 * tColourScale::steps + 1;
  std::vector<std::string> paths(levels + 1);  // the last holds missing cells
  const auto slot = [&](double x) {
    return std::isnan(x) ? levels : scale.level(x) + tColourScale::steps;
  };
  for (int r = 0; r < lines.dim1(); ++r) {
    for (int j = 0; j < lines.dim2();) {
      const int level = slot(lines(r, j));
      int end = j + 1;
      while (end < lines.dim2() && slot(lines(r, end)) == level) ++end;
      paths[level] +=
          "M" + std::to_string(j) + " " + std::to_string(r) + "h" + std::to_string(end - j);
      j = end;
    }
  }
  os << "<svg x=\"" << heat_x << "\" y=\"" << heat_y << "\" width=\"" << g.heat_w << "\" height=\""
     << g.heat_h << "\" viewBox=\"0 0 " << std::max(g.cols, 1) << ' ' << std::max(g.lines, 1)
     << "\" preserveAspectRatio=\"none\" shape-rendering=\"crispEdges\">\n"
     << "<g transform=\"translate(0 0.5)\" fill=\"none\" stroke-width=\"1\">\n";
  for (int level = 0; level <= levels; ++level) {
    if (paths[level].empty()) continue;
    const std::string colour = level == levels ? tColourScale::missing_colour()
                                               : tColourScale::colour(level - tColourScale::steps);
    os << "<path stroke=\"" << colour << "\" d=\"" << paths[level] << "\"/>\n";
  }
  os << "</g>\n</svg>\n";
  return !paths[levels].empty();
}

void write_row_names(std::ostream& os, const tGeometry& g, const std::vector<std::string>& names) {
  os << "<g font-size=\"10\">\n";
  for (std::size_t p = 0; p < names.size(); ++p)
    os << "<text x=\"" << heat_x + g.heat_w + 4 << "\" y=\""
       << short_number(line_y(g, static_cast<int>(p)) + 9, 6) << "\">"
       << xml_escaped(label_text(names[p])) << "</text>\n";
  os << "</g>\n";
}

void write_column_names(std::ostream& os, const tGeometry& g,
                        const std::vector<std::string>& labels) {
  const double cell = static_cast<double>(g.heat_w) / std::max(g.cols, 1);
  const int y = heat_y + g.heat_h + 4;
  os << "<g font-size=\"10\">\n";
  for (int j = 0; j < g.cols; ++j) {
    const std::string x = short_number(heat_x + cell * (j + 0.5) - 3, 6);
    os << "<text transform=\"translate(" << x << ' ' << y << ") rotate(90)\">"
       << xml_escaped(label_text(labels[j])) << "</text>\n";
  }
  os << "</g>\n";
}

void write_legend(std::ostream& os, const tGeometry& g, const tColourScale& scale, bool missing,
                  int rows, int per_bin, int per_column) {
  const int y = heat_y + g.heat_h + g.bottom + 6;
  const int steps = tColourScale::steps, swatch = 18;
  for (int level = -steps; level <= steps; ++level)
    os << "<rect x=\"" << heat_x + (level + steps) * swatch << "\" y=\"" << y << "\" width=\""
       << swatch << "\" height=\"12\" fill=\"" << tColourScale::colour(level) << "\"/>\n";
  const std::string clip = short_number(scale.clip(), 3);
  const int right = heat_x + (2 * steps + 1) * swatch;
  os << "<text x=\"" << heat_x << "\" y=\"" << y + 24 << "\">\xE2\x88\x92" << clip << "</text>\n"
     << "<text x=\"" << heat_x + steps * swatch + swatch / 2 << "\" y=\"" << y + 24
     << "\" text-anchor=\"middle\">0</text>\n"
     << "<text x=\"" << right << "\" y=\"" << y + 24 << "\" text-anchor=\"end\">+" << clip
     << "</text>\n";
  if (missing)
    os << "<rect x=\"" << right + 10 << "\" y=\"" << y << "\" width=\"" << swatch
       << "\" height=\"12\" fill=\"" << tColourScale::missing_colour() << "\"/>\n<text x=\""
       << right + 32 << "\" y=\"" << y + 10 << "\">missing</text>\n";
  os << "<text x=\"" << heat_x << "\" y=\"" << y + 42 << "\">Colours clipped at \xC2\xB1" << clip
     << ", the 99th percentile of |x|.";
  if (per_bin > 1)
    os << " Each line is the mean of up to " << per_bin << " adjacent rows (" << rows << " rows, "
       << g.lines << " lines).";
  if (per_column > 1)
    os << " Each cell column is the mean of up to " << per_column << " adjacent columns.";
  os << "</text>\n";
}

}  // namespace

const char* cluster_colour(int i) {
  static const char* const colours[10] = {"#1f77b4", "#ff7f0e", "#2ca02c", "#d62728", "#9467bd",
                                          "#8c564b", "#e377c2", "#7f7f7f", "#bcbd22", "#17becf"};
  return colours[i % 10];
}

void write_heatmap_svg(std::ostream& os, const tFinishedClustering& clustering,
                       const std::vector<double>& scores,
                       const std::vector<std::string>& column_names) {
  const matrix& data = clustering.data;
  const tRowOrder order = heatmap_row_order(clustering.halves, scores);
  const int rows = static_cast<int>(order.rows.size());
  const int per_column = columns_per_bin(data.dim2(), heatmap_max_columns);
  const int drawn_cols = (data.dim2() + per_column - 1) / per_column;
  const int per_bin = rows_per_bin(order.bands, drawn_cols, heatmap_max_cells);
  std::vector<tBand> drawn_bands;
  const std::vector<tBand> bins = row_bins(order.bands, per_bin, drawn_bands);
  const std::vector<unsigned char> none;
  const matrix lines = bin_means(data, clustering.missing ? *clustering.missing : none, order.rows,
                                 bins, per_column);
  const tColourScale scale(robust_clip(data, clip_quantile));
  const std::vector<std::string> labels = column_labels(column_names, data.dim2());
  std::vector<std::string> row_names;
  if (per_bin == 1 && rows <= max_named_rows)
    for (const int r : order.rows) row_names.push_back(clustering.names.get_name(r).c_str());
  const tGeometry g = geometry(drawn_cols, lines.dim1(), row_names, longest(labels));

  os << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << g.width << "\" height=\""
     << g.height << "\" viewBox=\"0 0 " << g.width << ' ' << g.height
     << "\" font-family=\"sans-serif\" font-size=\"11\">\n"
     << "<text x=\"" << heat_x << "\" y=\"18\" font-size=\"13\">" << rows << " rows \xC3\x97 "
     << data.dim2() << " columns in " << clustering.clusters.size()
     << " clusters; rows by cluster, half, then score (strongest first)</text>\n";
  write_bands(os, g, drawn_bands);
  const bool missing = write_cells(os, g, lines, scale);
  if (g.row_names) write_row_names(os, g, row_names);
  if (g.column_names) write_column_names(os, g, labels);
  write_legend(os, g, scale, missing, rows, per_bin, per_column);
  os << "</svg>\n";
}

void write_heatmap_file(std::ostream& os, const tFinishedClustering& clustering,
                        const std::vector<double>& scores,
                        const std::vector<std::string>& column_names) {
  os << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  write_heatmap_svg(os, clustering, scores, column_names);
}
