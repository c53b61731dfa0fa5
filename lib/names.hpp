// Names by item number, with reverse lookup and printing of a set by names.
#pragma once

#include <iosfwd>

#include "lib/dictionary.hpp"
#include "lib/string.hpp"
#include "lib/taxaset.hpp"

// Names are normally held under the consecutive numbers 0 .. size-1.
class tNames : public dictionary<int, string> {
 public:
  void set_default(const tTaxaSet& s, string prefix);             // member k named prefix + k
  void set_default(int first, const tTaxaSet& s, string prefix);  // i-th member: prefix + first+i
  int add_name(const string& name);          // under the number equal to the entry count
  string get_name(int i) const;              // a missing number ends through error()
  int get_number(const string& name) const;  // smallest such number, or -1
  dictionary<string, int> inverse() const;   // duplicates: the larger number wins
  void print(std::ostream& os) const;        // "name -> i" lines
  void print(const tTaxaSet& s, char sep, std::ostream& os) const;
  void print(const tTaxaSet& s, char sep, string& out) const;
  bool same(const tNames& other) const;
};
