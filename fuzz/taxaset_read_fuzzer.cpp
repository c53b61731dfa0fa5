// Fuzzes the text forms that fill a taxa set: numbers (string and line-of-stream forms) on
// the whole input, and names: the first line lists the names, numbered 0, 1, ... in order,
// and the rest is read through that dictionary into a set sized for them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "fuzz/fatal_exit_guard.hpp"
#include "lib/dictionary.hpp"
#include "lib/string.hpp"
#include "lib/taxaset.hpp"

namespace {

// Names beyond what a set can number are not offered.
constexpr int max_names = 7000;
constexpr int largest_capacity = 7000 * 2 - 1;

// Growth doubles the inserted number, so a set grown on demand stops at 6999 by design (an
// assertion); texts with larger numbers are read into a set of the largest capacity instead.
tTaxaSet set_for_numbers(const std::string& text) {
  const char* p = text.c_str();
  for (;;) {
    char* end = nullptr;
    const long k = std::strtol(p, &end, 0);
    if (end == p) return tTaxaSet();
    if (k >= 7000) return tTaxaSet(largest_capacity);
    p = end;
  }
}

// The text form of a set read back gives the same set.
void check_round_trip(const tTaxaSet& s) {
  std::ostringstream printed;
  s.print(printed);
  tTaxaSet again(largest_capacity);
  const bool non_empty = again.read(string(printed.str().c_str()));
  require(non_empty == !s.empty(), "read reports whether the set is non-empty");
  require(again == s, "a printed set reads back as itself");
}

dictionary<string, int> numbered_names(const std::string& line) {
  dictionary<string, int> name2n;
  const char* separators = " \t\n";
  std::size_t p = line.find_first_not_of(separators);
  while (p != std::string::npos && name2n.size() < max_names) {
    const std::size_t end = std::min(line.find_first_of(separators, p), line.size());
    const string name(line.substr(p, end - p).c_str());
    if (!name2n.defined(name)) name2n.insert(name, name2n.size());
    p = line.find_first_not_of(separators, end);
  }
  return name2n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  // The set's string type ends at the first NUL, as every C string does.
  const std::string input(reinterpret_cast<const char*>(bytes),
                          strnlen(reinterpret_cast<const char*>(bytes), size));

  run_until_fatal_exit([&] {
    tTaxaSet s = set_for_numbers(input);
    const bool non_empty = s.read(string(input.c_str()));
    require(non_empty == !s.empty(), "read reports whether the set is non-empty");
    check_round_trip(s);
  });
  run_until_fatal_exit([&] {
    std::istringstream is(input);
    tTaxaSet s = set_for_numbers(input.substr(0, input.find('\n')));
    is >> s;
    check_round_trip(s);
  });

  const std::size_t newline = std::min(input.find('\n'), input.size());
  const dictionary<string, int> name2n = numbered_names(input.substr(0, newline));
  const std::string rest = input.substr(std::min(newline + 1, input.size()));
  run_until_fatal_exit([&] {
    tTaxaSet s(std::max(name2n.size(), 1));
    s.read(name2n, string(rest.c_str()));
    for (tItem it = s.first_item(); it != 0; it = s.next_item(it))
      require(s.inf(it) < name2n.size(), "members are numbers of names");
    check_round_trip(s);
  });
  run_until_fatal_exit([&] {
    std::istringstream is(rest);
    tTaxaSet s(std::max(name2n.size(), 1));
    s.read(name2n, is);
  });
  return 0;
}
