// The first two left singular vectors of a matrix, exactly, through LAPACK; small int helpers.
#pragma once

#include "lib/matrix.hpp"
#include "lib/vector.hpp"

int mini(int a, int b);
int maxi(int a, int b);

// Entries 0 .. A.dim1()-1 of u1 and u2 get the unit left singular vectors of A's largest and
// second largest singular values, signs as LAPACK yields them; later entries keep their values.
// REQUIRES: A has at least two rows and two columns (else error); u1, u2 of dimension >= A.dim1().
void singular_vectors(const matrix& A, vector& u1, vector& u2);
