// A small SVG line chart of one series of values over positions 1 .. n.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

struct tLineChart {
  std::string title;
  std::string x_label;
  std::vector<double> values;        // NaN and infinite values are left out of the line
  std::vector<std::string> x_names;  // a name per value, drawn when they fit; else numbers
  bool zero_line = false;            // draw y = 0 when it is inside the range
  int width = 420;
  int height = 180;
};

// The <svg> element of the chart: axes, the minimum and maximum on the y axis, the line and,
// for a few values, a dot at each.
void write_line_chart(std::ostream& os, const tLineChart& chart);
