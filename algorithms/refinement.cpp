// The engine's helpers that do not depend on the policy.
#include "algorithms/refinement.hpp"

namespace refinement {

std::vector<int> members_of(const tTaxaSet& s) {
  std::vector<int> members;
  for (tItem it = s.first_item(); it; it = s.next_item(it)) members.push_back(s.inf(it));
  return members;
}

bool entry_labels(const matrix& data, const array<tTaxaSet>& cluster_array,
                  const array<vector>& means, const std::vector<int>& offered,
                  std::vector<int>& label) {
  for (int j : offered)
    if (means[j].dim() != data.dim2()) return false;
  for (int i = 0; i < cluster_array.size(); ++i)
    for (tItem it = cluster_array[i].first_item(); it; it = cluster_array[i].next_item(it)) {
      const int x = cluster_array[i].inf(it);
      if (x >= data.dim1() || label[x] != -1) return false;
      label[x] = i;
    }
  return true;
}

}  // namespace refinement
