// Overlap of two sets of names: their common part and its Jaccard coefficient.
#pragma once

#include "lib/set.hpp"
#include "lib/string.hpp"

// Inserts into R every string of A that B also holds; R keeps what it had.
void intersect(const set<string>& A, const set<string>& B, set<string>& R);
// |A ∩ B| / |A ∪ B| in double precision; NaN when both are empty.
double JC(const set<string>& A, const set<string>& B);
