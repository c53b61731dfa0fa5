// The square PHYLIP distance matrix as text.
#include "distcorr/phylip_matrix.hpp"

#include <charconv>

std::string phylip_matrix(const std::vector<std::string>& names, const tMatrix& distances) {
  std::string text = std::to_string(names.size()) + "\n";
  char number[32] = {' '};
  for (int i = 0; i < distances.dim1(); ++i) {
    text += names[i];
    // Names shorter than the classic ten-character field are padded so strict readers work too.
    if (names[i].size() < 10) text.append(10 - names[i].size(), ' ');
    for (int j = 0; j < distances.dim1(); ++j) {
      // Exactly what printf's "%.17g" writes, without its per-call cost.
      const auto written = std::to_chars(number + 1, number + sizeof number, distances(i, j),
                                         std::chars_format::general, 17);
      text.append(number, written.ptr);
    }
    text += '\n';
  }
  return text;
}
