// Results table: everything known about a row on one line, so nobody pastes columns together.
#include "cluster/results_table.hpp"

#include <ostream>

#include "algorithms/products.hpp"

void write_results_table(std::ostream& os, const matrix& data, const tNames& names,
                         const tClusteringResult& clustering) {
  os << "name\trow\tcluster\tgroup\tscore\tcosine\n";
  for (int r = 0; r < data.dim1(); ++r) {
    const vector& row = data.row(r);
    const int cluster = clustering.labels[r], group = clustering.groups[r];
    const vector& half_mean = clustering.half_means[group];
    // A zero row has no direction: its cosine is 0/0, written as not-a-number.
    const double cosine = dot_prod(row, half_mean) / (row.length() * half_mean.length());
    os << names.get_name(r) << '\t' << r << '\t' << cluster << '\t' << group << '\t'
       << dot_prod2(row, clustering.means[cluster]) << '\t' << cosine << '\n';
  }
}
