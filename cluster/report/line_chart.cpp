// Drawing one series as a polyline with labelled ends of both axes.
#include "cluster/report/line_chart.hpp"

#include <algorithm>
#include <cmath>
#include <ostream>

#include "cluster/report/svg_text.hpp"

namespace {

constexpr int left = 64, top = 24, right = 12, max_dots = 60, max_named_ticks = 40;

struct tRange {
  double low, high;
};

tRange value_range(const std::vector<double>& values) {
  tRange r{INFINITY, -INFINITY};
  for (const double v : values)
    if (std::isfinite(v)) r.low = std::min(r.low, v), r.high = std::max(r.high, v);
  if (r.low > r.high) return {0, 1};
  if (r.low == r.high) return {r.low - 1, r.high + 1};  // a flat series sits mid-height
  return r;
}

}  // namespace

void write_line_chart(std::ostream& os, const tLineChart& chart) {
  const int n = static_cast<int>(chart.values.size());
  const bool named = !chart.x_names.empty() && n <= max_named_ticks;
  const int bottom = named ? 70 : 36;
  const int plot_w = chart.width - left - right, plot_h = chart.height - top - bottom;
  const tRange r = value_range(chart.values);
  const auto x_of = [&](int i) {
    return left + (n > 1 ? plot_w * double(i) / (n - 1) : plot_w / 2.0);
  };
  const auto y_of = [&](double v) { return top + plot_h * (r.high - v) / (r.high - r.low); };

  os << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << chart.width << "\" height=\""
     << chart.height << "\" viewBox=\"0 0 " << chart.width << ' ' << chart.height
     << "\" font-family=\"sans-serif\" font-size=\"10\">\n"
     << "<text x=\"" << left << "\" y=\"14\" font-size=\"12\">" << xml_escaped(chart.title)
     << "</text>\n"
     << "<path d=\"M" << left << ' ' << top << "V" << top + plot_h << "H" << left + plot_w
     << "\" stroke=\"#444\" fill=\"none\"/>\n";
  os << "<text x=\"" << left - 4 << "\" y=\"" << top + 4 << "\" text-anchor=\"end\">"
     << short_number(r.high) << "</text>\n<text x=\"" << left - 4 << "\" y=\"" << top + plot_h
     << "\" text-anchor=\"end\">" << short_number(r.low) << "</text>\n";
  if (chart.zero_line && r.low < 0 && r.high > 0)
    os << "<path d=\"M" << left << ' ' << short_number(y_of(0), 6) << "h" << plot_w
       << "\" stroke=\"#bbb\" stroke-dasharray=\"3 3\"/>\n";

  std::string points;
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(chart.values[i])) continue;
    // Four digits place a point within a tenth of a pixel on charts under 1000 pixels wide.
    points += short_number(x_of(i), 4) + "," + short_number(y_of(chart.values[i]), 4) + " ";
  }
  os << "<polyline points=\"" << points
     << "\" fill=\"none\" stroke=\"#1f77b4\" stroke-width=\"1.5\"/>\n";
  if (n <= max_dots)
    for (int i = 0; i < n; ++i)
      if (std::isfinite(chart.values[i]))
        os << "<circle cx=\"" << short_number(x_of(i), 6) << "\" cy=\""
           << short_number(y_of(chart.values[i]), 6) << "\" r=\"2.5\" fill=\"#1f77b4\"/>\n";

  const int axis_y = top + plot_h;
  if (named) {
    for (int i = 0; i < n; ++i)
      os << "<text transform=\"translate(" << short_number(x_of(i) + 3, 6) << ' ' << axis_y + 4
         << ") rotate(90)\" font-size=\"9\">" << xml_escaped(chart.x_names[i].substr(0, 10))
         << "</text>\n";
  } else if (n > 0) {
    os << "<text x=\"" << short_number(x_of(0), 6) << "\" y=\"" << axis_y + 14
       << "\" text-anchor=\"middle\">1</text>\n";
    if (n > 1)
      os << "<text x=\"" << short_number(x_of(n - 1), 6) << "\" y=\"" << axis_y + 14
         << "\" text-anchor=\"middle\">" << n << "</text>\n";
  }
  os << "<text x=\"" << left + plot_w / 2 << "\" y=\"" << chart.height - 4
     << "\" text-anchor=\"middle\">" << xml_escaped(chart.x_label) << "</text>\n</svg>\n";
}
