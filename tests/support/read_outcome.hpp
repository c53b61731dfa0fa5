// What a reader made of a text, in a form tests compare exactly: value bits, names, missing flags.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "cluster/input/matrix_input.hpp"

struct tReadOutcome {
  std::vector<unsigned long long> bits;  // the values' bits, row after row
  std::vector<std::string> names;
  std::vector<unsigned char> missing;
  std::string reports;  // what the reader wrote to the standard streams
};

// The outcome of data, with reports as given.
inline tReadOutcome read_outcome(const tExpressionData& d, std::string reports) {
  tReadOutcome o;
  o.reports = std::move(reports);
  const std::size_t entries = static_cast<std::size_t>(d.data.dim1()) * d.data.dim2();
  o.bits.resize(entries);
  if (entries > 0) std::memcpy(o.bits.data(), d.data.data(), entries * sizeof(double));
  for (int i = 0; i < d.names.size(); ++i) o.names.push_back(d.names.get_name(i).c_str());
  o.missing = d.missing;
  return o;
}
