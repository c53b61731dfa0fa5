// The matrix layout: the counts rows and cols, then per row a name token and cols value tokens.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "cluster/matrix_input.hpp"
#include "cluster/text_blocks.hpp"

// Reads the matrix layout from is (input labels the reports; hint ends the truncation report)
// with settings applied row by row. The values are converted on the run's threads; values,
// names and every report are the same for any thread count and split. Every fault of the text
// ends the run through bye().
tExpressionData read_matrix_layout(std::istream& is, const string& input,
                                   const tReadSettings& settings, const std::string& hint,
                                   std::ostream& progress, const tTextSplit& split = tTextSplit());
