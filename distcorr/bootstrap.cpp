// Bootstrap replicates of an alignment: its columns drawn with replacement.
#include "distcorr/bootstrap.hpp"

std::vector<long> candidate_columns(const std::vector<std::string>& sequences, tDeletion deletion) {
  std::vector<long> columns;
  const long length = sequences.empty() ? 0 : static_cast<long>(sequences[0].size());
  for (long k = 0; k < length; ++k) {
    bool kept = true;
    for (std::size_t i = 0; kept && deletion == tDeletion::global && i < sequences.size(); ++i)
      kept = is_resolved(sequences[i][k]);
    if (kept) columns.push_back(k);
  }
  return columns;
}

std::vector<long> draw_columns(const std::vector<long>& candidates, std::mt19937_64& engine) {
  const std::uint64_t m = candidates.size();
  const std::uint64_t rejected = (0 - m) % m;  // 2^64 mod m: the draws that would favour some
  std::vector<long> columns(m);
  for (long& column : columns) {
    std::uint64_t x = engine();
    while (x < rejected) x = engine();
    column = candidates[x % m];
  }
  return columns;
}

std::vector<std::string> resample(const std::vector<std::string>& sequences,
                                  const std::vector<long>& columns) {
  std::vector<std::string> out(sequences.size(), std::string(columns.size(), ' '));
  for (std::size_t i = 0; i < sequences.size(); ++i)
    for (std::size_t k = 0; k < columns.size(); ++k) out[i][k] = sequences[i][columns[k]];
  return out;
}
