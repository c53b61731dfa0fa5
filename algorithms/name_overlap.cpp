// Overlap of two sets of names: their common part and its Jaccard coefficient.
#include "algorithms/name_overlap.hpp"

void intersect(const set<string>& A, const set<string>& B, set<string>& R) {
  for (const string& s : A)
    if (B.member(s)) R.insert(s);
}

double JC(const set<string>& A, const set<string>& B) {
  set<string> common;
  intersect(A, B, common);
  const int n = common.size();
  const int union_size = A.size() + B.size() - n;
  return static_cast<double>(n) / union_size;
}
