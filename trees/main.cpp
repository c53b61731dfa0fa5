// trees: split frequencies, consensus trees, support on a target, Robinson-Foulds distances and
// branch-length scaling of a set of trees.
#include "io/output_file.hpp"
#include "io/path_guard.hpp"
#include "trees/consensus.hpp"
#include "trees/options.hpp"
#include "trees/rf_distance.hpp"
#include "trees/scaling.hpp"
#include "trees/split_table.hpp"
#include "trees/support_map.hpp"

namespace {

std::string run(const tTreesOptions& o, const tInputText& input) {
  switch (o.command) {
    case tCommand::splits:
      return split_table(tally_splits(input, o.burnin));
    case tCommand::consensus:
      return consensus_tree(tally_splits(input, o.burnin, length_record(o.consensus)), o.consensus);
    case tCommand::support: {
      const tSplitTally tally = tally_splits(input, o.burnin);
      const tSingleTree target = read_single_tree(read_input(o.target), *tally.taxa);
      return support_tree(target.tree, target.taxon, tally, o.consensus.percent);
    }
    case tCommand::rf:
      if (o.reference.empty()) return rf_matrix(input, o.burnin, o.rf);
      return rf_to_reference(input, o.burnin, read_input(o.reference), o.rf);
    case tCommand::scale:
      return scale_trees(input, o.burnin, o.scale);
  }
  return "";
}

}  // namespace

int main(int argc, const char** argv) {
  const tTreesOptions o = parse_trees_options(argc, argv);
  guard_paths({{"-i", o.input, tFileUse::input},
               {"-target", o.target, tFileUse::input},
               {"-ref", o.reference, tFileUse::input},
               {"-o", o.output, tFileUse::output}});
  const tInputText input = read_input(o.input);
  write_whole_output(o.output.c_str(), run(o, input));
  return 0;
}
