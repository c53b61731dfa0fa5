// The matrix layout: the counts rows and cols, then per row a name token and cols value tokens.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "cluster/input/expression_data.hpp"
#include "cluster/input/read_settings.hpp"
#include "cluster/input/text_blocks.hpp"

// Reads the matrix layout from is (input labels the reports; hint ends the reports of counts
// that disagree with the text) with settings applied row by row. The values are converted on the
// run's threads; values, names and every report are the same for any thread count and split.
// Every fault of the text ends the run through bye(), text left after the last value included.
// text_bytes: the most bytes the text can hold, or -1 when unknown; memory for the announced
// matrix is taken at once only when the text can hold it, else as rows arrive.
tExpressionData read_matrix_layout(std::istream& is, const string& input,
                                   const tReadSettings& settings, const std::string& hint,
                                   std::ostream& progress, const tTextSplit& split = tTextSplit(),
                                   long long text_bytes = -1);
