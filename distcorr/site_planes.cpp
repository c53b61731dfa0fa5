// Bit-parallel encoding of an alignment and the counts of one pair.
#include "distcorr/site_planes.hpp"

#include <algorithm>

#include "lib/parallel.hpp"

namespace {

// A site's bits, one per plane: resolved, purine, second.
enum : unsigned { kResolvedBit = 1, kPurineBit = 2, kSecondBit = 4 };

// A = purine/0, G = purine/1, C = pyrimidine/0, T = pyrimidine/1: a transversion flips the
// purine bit, a transition keeps it and flips the second bit. Anything else resolves nothing.
constexpr std::array<unsigned char, 256> kCodes = [] {
  std::array<unsigned char, 256> codes{};
  const struct {
    const char* letters;
    unsigned bits;
  } bases[] = {{"Aa", kResolvedBit | kPurineBit},
               {"Gg", kResolvedBit | kPurineBit | kSecondBit},
               {"Cc", kResolvedBit},
               {"TtUu", kResolvedBit | kSecondBit}};
  for (const auto& base : bases)
    for (const char* c = base.letters; *c; ++c)
      codes[static_cast<unsigned char>(*c)] = static_cast<unsigned char>(base.bits);
  return codes;
}();

unsigned code_of(char c) {
  return kCodes[static_cast<unsigned char>(c)];
}

// One sequence's planes, a word of each per 64 sites.
void encode(const std::string& sequence, std::uint64_t* words, int planes) {
  for (std::size_t start = 0; start < sequence.size(); start += 64, words += planes) {
    const std::size_t end = std::min(sequence.size(), start + 64);
    std::uint64_t resolved = 0, purine = 0, second = 0;
    for (std::size_t site = start; site < end; ++site) {
      const std::uint64_t code = code_of(sequence[site]);
      const unsigned shift = static_cast<unsigned>(site - start);
      resolved |= (code & 1) << shift;
      purine |= (code >> 1 & 1) << shift;
      second |= (code >> 2 & 1) << shift;
    }
    words[0] = resolved;
    words[1] = purine;
    words[2] = second;
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
  return (code_of(c) & kResolvedBit) != 0;
}

tSitePlanes::tSitePlanes(const std::vector<std::string>& sequences, tDeletion deletion)
    : sequences_(static_cast<long>(sequences.size())),
      words_(sequences.empty() ? 0 : (static_cast<long>(sequences[0].size()) + 63) / 64),
      planes_(sequences_ * words_ * kPlanes, 0) {
  static_assert(kResolved == 0 && kPurine == 1 && kSecond == 2, "planes in the order of encode");
  parallel_for(static_cast<int>(sequences_), [&](int i) {
    encode(sequences[i], planes_.data() + i * words_ * kPlanes, kPlanes);
  });
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
