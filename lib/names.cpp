// Names by item number: default names, appending, reverse lookup and printing of sets.
#include "lib/names.hpp"

#include <iostream>
#include <sstream>
#include <string>

#include "lib/diagnostics.hpp"

namespace {

string decimal(int n) {
  return string(std::to_string(n).c_str());
}

}  // namespace

void tNames::set_default(const tTaxaSet& s, string prefix) {
  clear();
  for (tItem it = s.first_item(); it; it = s.next_item(it))
    insert(s.inf(it), prefix + decimal(s.inf(it)));
}

void tNames::set_default(int first, const tTaxaSet& s, string prefix) {
  clear();
  int i = 0;
  for (tItem it = s.first_item(); it; it = s.next_item(it))
    insert(s.inf(it), prefix + decimal(first + i++));
}

int tNames::add_name(const string& name) {
  int n = size();
  insert(n, name);
  return n;
}

// The numbering convention makes every number below size() present; a table that breaks it
// is reported with the first missing number instead of being read out of place.
string tNames::get_name(int i) const {
  const auto* entry = lookup(i);
  if (!entry) error("tNames::get_name: no name under number %d", i);
  return entry->second;
}

int tNames::get_number(const string& name) const {
  for (int i = 0; i < size(); i++) {
    const auto* entry = lookup(i);
    if (!entry) error("tNames::get_number: no name under number %d", i);
    if (entry->second == name) return i;
  }
  return -1;
}

dictionary<string, int> tNames::inverse() const {
  dictionary<string, int> inv;
  for (int i = 0; i < size(); i++) {
    const auto* entry = lookup(i);
    if (!entry) error("tNames::inverse: no name under number %d", i);
    inv.insert(entry->second, i);  // a later number replaces an earlier one of the same name
  }
  return inv;
}

void tNames::print(std::ostream& os) const {
  for (int i = 0; i < size(); i++) {
    const auto* entry = lookup(i);
    if (!entry) error("tNames::print: no name under number %d", i);
    os << entry->second << " -> " << i << '\n';
  }
}

void tNames::print(const tTaxaSet& s, char sep, std::ostream& os) const {
  bool first = true;
  for (tItem it = s.first_item(); it; it = s.next_item(it)) {
    int n = s.inf(it);
    const auto* entry = lookup(n);
    if (!entry) {
      std::cerr << "\nA: " << s << '\n';
      error("names.print: n=%d: name not found)", n);
    }
    if (!first) os << sep;
    os << entry->second;
    first = false;
  }
}

void tNames::print(const tTaxaSet& s, char sep, string& out) const {
  std::ostringstream os;
  print(s, sep, os);
  out += string(os.str().c_str());
}

bool tNames::same(const tNames& other) const {
  if (size() != other.size()) return false;
  for (const auto& [number, name] : *this) {
    const auto* entry = other.lookup(number);
    if (!entry || entry->second != name) return false;
  }
  return true;
}
