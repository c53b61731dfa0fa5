// Walking the trees of an input.
#include "trees/tree_set.hpp"

#include "io/input_file.hpp"
#include "lib/diagnostics.hpp"
#include "trees/tree_reader.hpp"

tInputText read_input(const std::string& name) {
  tInputText input;
  input.source = name.empty() ? "standard input" : name;
  input.text = read_whole_input(name.c_str());
  return input;
}

int visit_trees(const tInputText& input, int burnin, std::unique_ptr<tTaxa>& taxa,
                const tTreeVisit& visit) {
  tTreeReader reader(input.text, input.source);
  tParsedTree tree;
  int number = 0;
  int visited = 0;
  while (reader.next(tree)) {
    ++number;
    if (number <= burnin) continue;
    if (!taxa) taxa = std::make_unique<tTaxa>(tree, number, input.source);
    visit(tree, taxa->leaf_taxa(tree, number), number);
    ++visited;
  }
  if (visited == 0) {
    if (number == 0) bye("%s, line %d: no trees", input.source.c_str(), reader.line());
    bye("%s: all %d trees fall within the burn-in of %d", input.source.c_str(), number, burnin);
  }
  return visited;
}

tSingleTree read_single_tree(const tInputText& input, const tTaxa& taxa) {
  tTreeReader reader(input.text, input.source);
  tSingleTree single;
  if (!reader.next(single.tree)) bye("%s, line %d: no trees", input.source.c_str(), reader.line());
  single.taxon = taxa.leaf_taxa(single.tree, 1);
  return single;
}
