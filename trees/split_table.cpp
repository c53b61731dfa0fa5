// Writing split frequencies.
#include "trees/split_table.hpp"

#include "trees/newick_writer.hpp"
#include "trees/real_text.hpp"

std::string split_table(const tSplitTally& tally) {
  const tTaxa& taxa = *tally.taxa;
  std::string text = "taxa\tpattern\tcount\tfrequency\n";
  for (const tSplit& split : splits_by_count(tally.counts)) {
    const int count = count_of(tally, split);
    std::string names;
    std::string pattern(static_cast<std::size_t>(taxa.size()), '0');
    for (tItem it = split.first_item(); it; it = split.next_item(it)) {
      const int k = split.inf(it);
      if (!names.empty()) names += ',';
      names += newick_label(taxa.name(k));  // quoting keeps names with ',' or tabs apart
      pattern[k] = '1';
    }
    text += names + '\t' + pattern + '\t' + std::to_string(count) + '\t' +
            real_text(static_cast<double>(count) / tally.trees) + '\n';
  }
  return text;
}
