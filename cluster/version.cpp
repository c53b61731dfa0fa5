// The banner text, stamped with the date and time of the build.
#include "cluster/version.hpp"

const string& version() {
  static const string banner(
      "clusterer - k-svd clustering of expression matrix rows (built " __DATE__ " " __TIME__
      ") [toolkit clustering group]");
  return banner;
}
