// Set of small non-negative integers (row or taxon numbers) as a growable bit vector.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "lib/dictionary.hpp"
#include "lib/string.hpp"

// Iteration hands out items: element k is the item k + 1, and 0 means no item.
using tItem = std::uintptr_t;

class tTaxaSet {
 public:
  static constexpr int capacity_limit = 7000 * 2;  // every capacity stays below it

  tTaxaSet();                      // capacity from the top of default_max_size (32)
  explicit tTaxaSet(int maxsize);  // REQUIRES: 0 <= maxsize < 7000*2
  tTaxaSet(const tTaxaSet& other);
  tTaxaSet& operator=(const tTaxaSet& other);
  ~tTaxaSet();

  void clear();
  void resize(int n);  // REQUIRES: 0 <= n < 7000*2, and no member is lost
  void pack();         // capacity = largest member + 1; REQUIRES: non-empty
  void insert(int k);  // grows to capacity 2k when k >= capacity
  void del(int k);
  bool member(int k) const;
  void compute_nelements();

  int size() const { return nelements; }
  int max_size() const { return maxsize; }
  int word_count() const { return nwords; }
  bool empty() const { return nelements == 0; }

  tTaxaSet& operator+=(const tTaxaSet& b);
  tTaxaSet& operator&=(const tTaxaSet& b);
  tTaxaSet& operator-=(const tTaxaSet& b);

  tItem first_item() const;
  tItem last_item() const;
  tItem next_item(tItem it) const;
  tItem prev_item(tItem it) const;
  int inf(tItem it) const;  // REQUIRES: it > 0
  int operator[](tItem it) const { return inf(it); }

  void print(std::ostream& os) const;  // " k" per member, ascending; no newline
  void print(const dictionary<int, string>& n2name, std::ostream& os) const;
  bool read(const string& s);  // integers by strtol base 0; true when non-empty
  bool read(const dictionary<string, int>& name2n, const string& s);
  bool read(std::istream& is);  // one line
  bool read(const dictionary<string, int>& name2n, std::istream& is);
  string to01string(int n) const;  // n + 1 characters of '0' and '1'
  void from01string(const string& s);

  // Raw words, element k being bit k % 32 of word k / 32.
  const std::uint32_t* words() const { return data; }

  // The capacity of default-constructed sets is the top of a stack that starts as {32}.
  static void push_default_max_size(int n);  // REQUIRES: 0 <= n < 7000*2
  static void pop_default_max_size();        // REQUIRES: the stack is not empty

 private:
  friend tTaxaSet operator&(const tTaxaSet& a, const tTaxaSet& b);
  friend tTaxaSet operator+(const tTaxaSet& a, const tTaxaSet& b);
  friend tTaxaSet operator-(const tTaxaSet& a, const tTaxaSet& b);
  friend bool operator==(const tTaxaSet& a, const tTaxaSet& b);
  friend bool operator<=(const tTaxaSet& a, const tTaxaSet& b);
  friend bool intersect(const tTaxaSet& a, const tTaxaSet& b, const tTaxaSet& c);

  void init(int maxsize);

  std::int16_t maxsize = 0;
  std::int16_t nwords = 0;
  std::int16_t nelements = 0;
  std::uint32_t* data = nullptr;
};

tTaxaSet operator&(const tTaxaSet& a, const tTaxaSet& b);
tTaxaSet operator+(const tTaxaSet& a, const tTaxaSet& b);
tTaxaSet operator-(const tTaxaSet& a, const tTaxaSet& b);
tTaxaSet operator-(const tTaxaSet& s, int k);
bool operator==(const tTaxaSet& a, const tTaxaSet& b);
bool operator!=(const tTaxaSet& a, const tTaxaSet& b);
bool operator<=(const tTaxaSet& a, const tTaxaSet& b);
bool operator>=(const tTaxaSet& a, const tTaxaSet& b);
bool intersect(const tTaxaSet& a, const tTaxaSet& b, const tTaxaSet& c);
tTaxaSet all_taxa(int n);

std::ostream& operator<<(std::ostream& os, const tTaxaSet& s);
std::istream& operator>>(std::istream& is, tTaxaSet& s);
