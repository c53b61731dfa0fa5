// Bit-parallel encoding of an alignment and the counts of one pair.
#include "distcorr/site_planes.hpp"

namespace {

struct tCode {
  bool resolved, purine, second;
};

// A = purine/0, G = purine/1, C = pyrimidine/0, T = pyrimidine/1: a transversion flips the
// purine bit, a transition keeps it and flips the second bit.
tCode code_of(char c) {
  switch (c) {
    case 'A':
    case 'a':
      return {true, true, false};
    case 'G':
    case 'g':
      return {true, true, true};
    case 'C':
    case 'c':
      return {true, false, false};
    case 'T':
    case 't':
    case 'U':
    case 'u':
      return {true, false, true};
    default:
      return {false, false, false};
  }
}

// One popcount instruction where the processor has it, chosen when the program loads; 64-bit ARM
// always has one.
#if defined(__x86_64__)
#define TOOLKIT_POPCOUNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define TOOLKIT_POPCOUNT_CLONES
#endif

TOOLKIT_POPCOUNT_CLONES void count_words(const std::uint64_t* a, const std::uint64_t* b, long words,
                                         tPairCounts& counts) {
  long compared = 0, transitions = 0, transversions = 0, purine_transitions = 0;
  for (long w = 0; w < words; ++w, a += 3, b += 3) {
    const std::uint64_t both = a[0] & b[0];
    const std::uint64_t transversion = both & (a[1] ^ b[1]);
    const std::uint64_t transition = both & ~transversion & (a[2] ^ b[2]);
    compared += __builtin_popcountll(both);
    transversions += __builtin_popcountll(transversion);
    transitions += __builtin_popcountll(transition);
    purine_transitions += __builtin_popcountll(transition & a[1]);
  }
  counts = {compared, transitions, transversions, purine_transitions};
}

// Bits of the sites where a sequence holds each base, in the order A, C, G, T.
std::array<std::uint64_t, 4> base_masks(const std::uint64_t* word) {
  const std::uint64_t purine = word[0] & word[1], pyrimidine = word[0] & ~word[1];
  return {purine & ~word[2], pyrimidine & ~word[2], purine & word[2], pyrimidine & word[2]};
}

TOOLKIT_POPCOUNT_CLONES void table_words(const std::uint64_t* a, const std::uint64_t* b, long words,
                                         tPairTable& table) {
  table.fill(0);
  for (long w = 0; w < words; ++w, a += 3, b += 3) {
    const std::uint64_t both = a[0] & b[0];
    const std::array<std::uint64_t, 4> x = base_masks(a), y = base_masks(b);
    for (int u = 0; u < 4; ++u)
      for (int v = 0; v < 4; ++v) table[4 * u + v] += __builtin_popcountll(both & x[u] & y[v]);
  }
}

}  // namespace

bool is_resolved(char c) {
  return code_of(c).resolved;
}

tSitePlanes::tSitePlanes(const std::vector<std::string>& sequences, tDeletion deletion)
    : sequences_(static_cast<long>(sequences.size())),
      words_(sequences.empty() ? 0 : (static_cast<long>(sequences[0].size()) + 63) / 64),
      planes_(sequences_ * words_ * kPlanes, 0) {
  for (long i = 0; i < sequences_; ++i) {
    std::uint64_t* words = planes_.data() + i * words_ * kPlanes;
    for (std::size_t site = 0; site < sequences[i].size(); ++site) {
      const tCode code = code_of(sequences[i][site]);
      const std::uint64_t bit = std::uint64_t{1} << (site % 64);
      std::uint64_t* word = words + site / 64 * kPlanes;
      if (code.resolved) word[kResolved] |= bit;
      if (code.purine) word[kPurine] |= bit;
      if (code.second) word[kSecond] |= bit;
    }
  }
  if (deletion == tDeletion::pairwise || sequences_ == 0) return;
  // Global deletion: every sequence keeps only the sites all sequences resolve.
  for (long w = 0; w < words_; ++w) {
    std::uint64_t all = ~std::uint64_t{0};
    for (long i = 0; i < sequences_; ++i) all &= planes_[(i * words_ + w) * kPlanes + kResolved];
    for (long i = 0; i < sequences_; ++i) planes_[(i * words_ + w) * kPlanes + kResolved] = all;
  }
}

long tSitePlanes::sites_kept() const {
  long kept = 0;
  for (long w = 0; sequences_ > 0 && w < words_; ++w)
    kept += __builtin_popcountll(planes_[w * kPlanes + kResolved]);
  return kept;
}

tPairTable tSitePlanes::table(long i, long j) const {
  tPairTable table;
  table_words(words_of(i), words_of(j), words_, table);
  return table;
}

tPairCounts tSitePlanes::count(long i, long j) const {
  tPairCounts counts;
  count_words(words_of(i), words_of(j), words_, counts);
  return counts;
}
