// Bit-parallel encoding of an alignment and the counts of one pair.
#include "distcorr/site_planes.hpp"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

constexpr long kLanes = tSitePlanes::kLanes, kBlock = tSitePlanes::kBlock;

// One sequence's blocks, in tSitePlanes' layout.
void encode(const std::string& sequence, std::uint64_t* blocks) {
  for (std::size_t start = 0, w = 0; start < sequence.size(); start += 64, ++w) {
    const std::size_t end = std::min(sequence.size(), start + 64);
    std::uint64_t resolved = 0, purine = 0, second = 0;
    for (std::size_t site = start; site < end; ++site) {
      const std::uint64_t code = code_of(sequence[site]);
      const unsigned shift = static_cast<unsigned>(site - start);
      resolved |= (code & 1) << shift;
      purine |= (code >> 1 & 1) << shift;
      second |= (code >> 2 & 1) << shift;
    }
    std::uint64_t* block = blocks + tSitePlanes::word_at(static_cast<long>(w));
    block[0] = resolved;
    block[kLanes] = purine;
    block[2 * kLanes] = second;
  }
}

// One popcount instruction where the processor has it, chosen when the program loads; 64-bit ARM
// always has one.
#if defined(__x86_64__)
#define TOOLKIT_POPCOUNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define TOOLKIT_POPCOUNT_CLONES
#endif

TOOLKIT_POPCOUNT_CLONES void count_blocks(const std::uint64_t* a, const std::uint64_t* b,
                                          long blocks, tPairCounts& counts) {
  long compared = 0, transitions = 0, transversions = 0, purine_transitions = 0;
  for (long k = 0; k < blocks * kLanes; ++k) {
    const long w = tSitePlanes::word_at(k);
    const std::uint64_t both = a[w] & b[w];
    const std::uint64_t transversion = both & (a[w + kLanes] ^ b[w + kLanes]);
    const std::uint64_t transition = both & ~transversion & (a[w + 2 * kLanes] ^ b[w + 2 * kLanes]);
    compared += __builtin_popcountll(both);
    transversions += __builtin_popcountll(transversion);
    transitions += __builtin_popcountll(transition);
    purine_transitions += __builtin_popcountll(transition & a[w + kLanes]);
  }
  counts = {compared, transitions, transversions, purine_transitions};
}

#if defined(__x86_64__)
__attribute__((target("avx512f"))) long lane_sum(__m512i v) {
  long lanes[kLanes];
  _mm512_storeu_si512(lanes, v);
  long sum = 0;
  for (long lane : lanes) sum += lane;
  return sum;
}

// The same counts a block at a time, where the processor counts the bits of eight words at once.
__attribute__((target("avx512f,avx512vpopcntdq"))) void count_blocks_512(const std::uint64_t* a,
                                                                         const std::uint64_t* b,
                                                                         long blocks,
                                                                         tPairCounts& counts) {
  __m512i compared = _mm512_setzero_si512(), transitions = compared, transversions = compared,
          purine_transitions = compared;
  for (long k = 0; k < blocks; ++k, a += kBlock, b += kBlock) {
    const __m512i both = _mm512_and_si512(_mm512_loadu_si512(a), _mm512_loadu_si512(b));
    const __m512i purine_a = _mm512_loadu_si512(a + kLanes);
    const __m512i transversion =
        _mm512_and_si512(both, _mm512_xor_si512(purine_a, _mm512_loadu_si512(b + kLanes)));
    const __m512i second =
        _mm512_xor_si512(_mm512_loadu_si512(a + 2 * kLanes), _mm512_loadu_si512(b + 2 * kLanes));
    // Transversions lie within both: both ^ transversion is both without them.
    const __m512i transition = _mm512_and_si512(_mm512_xor_si512(both, transversion), second);
    compared = _mm512_add_epi64(compared, _mm512_popcnt_epi64(both));
    transversions = _mm512_add_epi64(transversions, _mm512_popcnt_epi64(transversion));
    transitions = _mm512_add_epi64(transitions, _mm512_popcnt_epi64(transition));
    purine_transitions = _mm512_add_epi64(
        purine_transitions, _mm512_popcnt_epi64(_mm512_and_si512(transition, purine_a)));
  }
  counts = {lane_sum(compared), lane_sum(transitions), lane_sum(transversions),
            lane_sum(purine_transitions)};
}

// Asked once, before main: the processor's features are read first, as static data may be made
// before the library's own start-up has read them.
const bool kVectorPopcount = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512vpopcntdq") != 0;
}();
#endif

// Bits of the sites where a sequence holds each base, in the order A, C, G, T, from its
// resolved, purine and second words.
std::array<std::uint64_t, 4> base_masks(std::uint64_t r, std::uint64_t p, std::uint64_t s) {
  const std::uint64_t purine = r & p, pyrimidine = r & ~p;
  return {purine & ~s, pyrimidine & ~s, purine & s, pyrimidine & s};
}

TOOLKIT_POPCOUNT_CLONES void table_blocks(const std::uint64_t* a, const std::uint64_t* b,
                                          long blocks, tPairTable& table) {
  table.fill(0);
  for (long k = 0; k < blocks * kLanes; ++k) {
    const long w = tSitePlanes::word_at(k);
    const std::uint64_t both = a[w] & b[w];
    const std::array<std::uint64_t, 4> x = base_masks(a[w], a[w + kLanes], a[w + 2 * kLanes]);
    const std::array<std::uint64_t, 4> y = base_masks(b[w], b[w + kLanes], b[w + 2 * kLanes]);
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
      blocks_(sequences.empty() ? 0 : (static_cast<long>(sequences[0].size()) + 511) / 512),
      planes_(sequences_ * blocks_ * kBlock, 0) {
  parallel_for(static_cast<int>(sequences_),
               [&](int i) { encode(sequences[i], planes_.data() + i * blocks_ * kBlock); });
  if (deletion == tDeletion::pairwise || sequences_ == 0) return;
  // Global deletion: every sequence keeps only the sites all sequences resolve.
  for (long w = 0; w < blocks_ * kLanes; ++w) {
    std::uint64_t all = ~std::uint64_t{0};
    for (long i = 0; i < sequences_; ++i) all &= resolved(i, w);
    for (long i = 0; i < sequences_; ++i) resolved(i, w) = all;
  }
}

long tSitePlanes::sites_kept() const {
  long kept = 0;
  for (long w = 0; sequences_ > 0 && w < blocks_ * kLanes; ++w)
    kept += __builtin_popcountll(planes_[tSitePlanes::word_at(w)]);
  return kept;
}

tPairTable tSitePlanes::table(long i, long j) const {
  tPairTable table;
  table_blocks(blocks_of(i), blocks_of(j), blocks_, table);
  return table;
}

tPairCounts tSitePlanes::count(long i, long j) const {
  tPairCounts counts;
#if defined(__x86_64__)
  if (kVectorPopcount) {
    count_blocks_512(blocks_of(i), blocks_of(j), blocks_, counts);
    return counts;
  }
#endif
  count_blocks(blocks_of(i), blocks_of(j), blocks_, counts);
  return counts;
}
