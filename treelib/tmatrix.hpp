// Square matrix of pairwise distances between taxa, indexed from 0 by taxon number.
#pragma once

#include "lib/matrix.hpp"

class tMatrix : public matrix {
 public:
  using matrix::matrix;
};
