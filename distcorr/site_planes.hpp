// Bit-parallel encoding of an alignment: 64 sites per machine word, three bit planes per
// sequence, so a pair's differences are counted with a few logical operations and popcounts.
// The planes go in blocks of eight words each, so that a vector unit takes a block at a time.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

enum class tDeletion { global, pairwise };

// Counts of one pair over the sites where both sequences have A, C, G or T.
struct tPairCounts {
  long compared = 0;
  long transitions = 0;         // A<->G, C<->T
  long transversions = 0;       // a purine against a pyrimidine
  long purine_transitions = 0;  // A<->G alone
  long differing() const { return transitions + transversions; }
};

// Sites of one pair by base: cell 4 * x + y counts x in the first sequence against y in the
// second, bases in the order A, C, G, T.
using tPairTable = std::array<long, 16>;

// A, C, G, T or U in either case: a site that takes part in the counts.
bool is_resolved(char c);

class tSitePlanes {
 public:
  // U counts as T, case is ignored; global deletion leaves out every site that any sequence
  // does not resolve to A, C, G or T. REQUIRES: sequences of equal length.
  tSitePlanes(const std::vector<std::string>& sequences, tDeletion deletion);

  long sequences() const { return sequences_; }
  long sites_kept() const;                  // global deletion: the sites every sequence resolves
  tPairCounts count(long i, long j) const;  // REQUIRES: 0 <= i, j < sequences()
  tPairTable table(long i, long j) const;   // REQUIRES: 0 <= i, j < sequences()

  // The layout: per sequence, blocks of 512 sites, each the resolved sites, the purines (A, G)
  // and the second bit (G, T), kLanes words apiece in that order; sites past the end are
  // unresolved. Word w of the resolved plane is at word_at(w) of the sequence's words, and each
  // further plane kLanes words on.
  static constexpr long kLanes = 8;
  static constexpr long kBlock = 3 * kLanes;
  static constexpr long word_at(long w) { return w / kLanes * kBlock + w % kLanes; }

 private:
  const std::uint64_t* blocks_of(long i) const { return planes_.data() + i * blocks_ * kBlock; }
  std::uint64_t& resolved(long i, long w) { return planes_[i * blocks_ * kBlock + word_at(w)]; }

  long sequences_;
  long blocks_;
  std::vector<std::uint64_t> planes_;
};
