// Hubs-and-authorities power iteration and the principal direction of a set of rows.
#pragma once

#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// iterations steps from all-ones vectors; result gets dimension B.dim1() (the row side).
void Klineberg(const matrix& B, vector& result, int iterations);

// Unit direction (dimension data.dim2()) with the largest summed squared projection of the
// member rows, approached by Klineberg on the members' transposed rows. Always finite: where that
// iteration meets a zero vector (cancelling rows) the power iteration restarts from the signed
// row sum, and all-zero rows give every entry 1/sqrt(data.dim2()).
// REQUIRES: members non-empty, every member a row of data.
vector principal_direction(const matrix& data, const tTaxaSet& members, int iterations);
