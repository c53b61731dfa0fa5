// Average linkage by repeated merges of the least pair, with each group's nearest later group
// kept, so that a merge rescans only the groups whose nearest one changed.
#include "cluster/consensus/average_linkage.hpp"

#include "cluster/consensus/pair_counts.hpp"

namespace {

class tLinkage {
 public:
  tLinkage(std::vector<double>& distances, int n)
      : d_(distances),
        n_(n),
        size_(n, 1),
        active_(n, 1),
        nearest_(n, -1),
        nearest_d_(n, 0.0),
        parent_(n) {
    for (int i = 0; i < n; ++i) {
      parent_[i] = i;
      find_nearest(i);
    }
  }

  void merge_least_pair() {
    int a = -1;
    for (int i = 0; i < n_; ++i)  // strict <: the lowest group wins a tie
      if (active_[i] && nearest_[i] >= 0 && (a < 0 || nearest_d_[i] < nearest_d_[a])) a = i;
    const int b = nearest_[a];
    const double weight_a = size_[a], weight_b = size_[b];
    for (int x = 0; x < n_; ++x)
      if (active_[x] && x != a && x != b)
        at(a, x) = (weight_a * at(a, x) + weight_b * at(b, x)) / (weight_a + weight_b);
    active_[b] = 0;
    size_[a] += size_[b];
    parent_[b] = a;
    for (int x = 0; x < b; ++x) {
      if (!active_[x]) continue;
      if (x == a || nearest_[x] == a || nearest_[x] == b)
        find_nearest(x);
      else if (x < a &&
               (at(x, a) < nearest_d_[x] || (at(x, a) == nearest_d_[x] && a < nearest_[x])))
        nearest_[x] = a, nearest_d_[x] = at(x, a);
    }
  }

  std::vector<int> groups() {
    std::vector<int> group(n_, 0);
    int next = 0;
    for (int i = 0; i < n_; ++i) {
      const int root = root_of(i);
      if (group[root] == 0) group[root] = ++next;
      group[i] = group[root];
    }
    return group;
  }

 private:
  double& at(int i, int j) { return i < j ? d_[pair_index(n_, i, j)] : d_[pair_index(n_, j, i)]; }

  // The nearest active group after i, the lowest on ties.
  void find_nearest(int i) {
    nearest_[i] = -1;
    if (i + 1 >= n_) return;
    const double* row = d_.data() + pair_index(n_, i, i + 1);  // row[j - i - 1] is d(i, j)
    for (int j = i + 1; j < n_; ++j)
      if (active_[j] && (nearest_[i] < 0 || row[j - i - 1] < nearest_d_[i])) {
        nearest_[i] = j;
        nearest_d_[i] = row[j - i - 1];
      }
  }

  int root_of(int i) {
    while (parent_[i] != i) i = parent_[i];
    return i;
  }

  std::vector<double>& d_;
  int n_;
  std::vector<int> size_;
  std::vector<char> active_;
  std::vector<int> nearest_;
  std::vector<double> nearest_d_;
  std::vector<int> parent_;
};

}  // namespace

std::vector<int> average_linkage_groups(std::vector<double>& distances, int n, int k) {
  tLinkage linkage(distances, n);
  for (int groups = n; groups > k; --groups) linkage.merge_least_pair();
  return linkage.groups();
}
