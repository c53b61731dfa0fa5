// Set of small non-negative integers as a growable bit vector, with its text forms.
#include "lib/taxaset.hpp"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "lib/assertion.hpp"
#include "lib/diagnostics.hpp"

namespace {

// Class-wide tables, built on the first construction of any set, once even when threads build
// their first sets together. Plain arrays are zero before any dynamic initialisation, so sets
// built by other units' static objects find them usable.
std::uint32_t mask[32];                         // bit i alone
std::int16_t k2word[tTaxaSet::capacity_limit];  // k / 32
std::int16_t k2bit[tTaxaSet::capacity_limit];   // k % 32

// A function-local object, so that it exists whenever the first set is built.
std::vector<std::int16_t>& size_stack() {
  static std::vector<std::int16_t> stack;
  return stack;
}

bool build_tables() {
  for (int i = 0; i < 32; i++) mask[i] = 1u << i;
  for (int k = 0; k < tTaxaSet::capacity_limit; k++) {
    k2word[k] = static_cast<std::int16_t>(k / 32);
    k2bit[k] = static_cast<std::int16_t>(k % 32);
  }
  size_stack().push_back(32);
  return true;
}

void init_static() {
  static const bool built = build_tables();
  (void)built;
}

// Word i of s, a word beyond its storage counting as zero.
std::uint32_t word(const tTaxaSet& s, int i) {
  return i < s.word_count() ? s.words()[i] : 0;
}

// Bits 0 .. b of a word.
std::uint32_t bits_up_to(int b) {
  return (2u << b) - 1;
}

}  // namespace

tTaxaSet::tTaxaSet() {
  init_static();
  std::vector<std::int16_t>& default_max_size = size_stack();
  assert(!default_max_size.empty());
  init(default_max_size.back());
}

tTaxaSet::tTaxaSet(int maxsize) {
  init_static();
  init(maxsize);
}

tTaxaSet::tTaxaSet(const tTaxaSet& other) {
  init(other.maxsize);
  std::memcpy(data, other.data, sizeof(std::uint32_t) * nwords);
  nelements = other.nelements;
}

tTaxaSet& tTaxaSet::operator=(const tTaxaSet& other) {
  if (this == &other) return *this;
  maxsize = other.maxsize;
  nwords = other.nwords;
  nelements = other.nelements;
  data = static_cast<std::uint32_t*>(std::realloc(data, sizeof(std::uint32_t) * nwords));
  TOOLKIT_ASSERT(data != 0, "data!=0");
  std::memcpy(data, other.data, sizeof(std::uint32_t) * nwords);
  return *this;
}

tTaxaSet::~tTaxaSet() {
  std::free(data);
}

void tTaxaSet::push_default_max_size(int n) {
  init_static();
  TOOLKIT_ASSERT(0 <= n && n < capacity_limit, "0<=n && n<7000*2");
  size_stack().push_back(static_cast<std::int16_t>(n));
}

void tTaxaSet::pop_default_max_size() {
  init_static();
  std::vector<std::int16_t>& default_max_size = size_stack();
  assert(!default_max_size.empty());
  default_max_size.pop_back();
}

// One word more than needed when maxsize is a multiple of 32: the layout other code expects.
void tTaxaSet::init(int maxsize) {
  TOOLKIT_ASSERT(0 <= maxsize && maxsize < capacity_limit, "0<=maxsize && maxsize<7000*2");
  this->maxsize = static_cast<std::int16_t>(maxsize);
  nwords = static_cast<std::int16_t>(maxsize / 32 + 1);
  nelements = 0;
  data = static_cast<std::uint32_t*>(std::calloc(nwords, sizeof(std::uint32_t)));
  TOOLKIT_ASSERT(data != 0, "data!=0");
}

void tTaxaSet::clear() {
  std::memset(data, 0, sizeof(std::uint32_t) * nwords);
  nelements = 0;
}

void tTaxaSet::resize(int n) {
  TOOLKIT_ASSERT(n >= 0 && n < capacity_limit, "n>=0 && n<7000*2");
  int old_nelements = nelements;
  int old_nwords = nwords;
  maxsize = static_cast<std::int16_t>(n);
  nwords = static_cast<std::int16_t>(n / 32 + 1);
  data = static_cast<std::uint32_t*>(std::realloc(data, sizeof(std::uint32_t) * nwords));
  TOOLKIT_ASSERT(data != 0, "data!=0");
  for (int i = old_nwords; i < nwords; i++) data[i] = 0;
  // Members at or above the new capacity in the kept last word are dropped too, so that the
  // count below notices them.
  if (n % 32 == 0)
    data[nwords - 1] = 0;
  else
    data[nwords - 1] &= bits_up_to(n % 32 - 1);
  compute_nelements();
  TOOLKIT_ASSERT(old_nelements == nelements, "old_nelements==nelements");
}

void tTaxaSet::pack() {
  resize(inf(last_item()) + 1);
}

void tTaxaSet::insert(int k) {
  TOOLKIT_ASSERT(k >= 0, "k>=0");
  // Growth doubles the element; 0 in an empty-capacity set would not grow at all.
  if (k >= maxsize) resize(k == 0 ? 32 : 2 * std::min(k, tTaxaSet::capacity_limit));
  std::uint32_t& w = data[k2word[k]];
  if (!(w & mask[k2bit[k]])) {
    w |= mask[k2bit[k]];
    nelements++;
  }
}

void tTaxaSet::del(int k) {
  TOOLKIT_ASSERT(k >= 0, "k>=0");
  if (k >= maxsize) return;
  std::uint32_t& w = data[k2word[k]];
  if (w & mask[k2bit[k]]) {
    w &= ~mask[k2bit[k]];
    nelements--;
  }
}

bool tTaxaSet::member(int k) const {
  TOOLKIT_ASSERT(k >= 0, "k>=0");
  return k < maxsize && (data[k2word[k]] & mask[k2bit[k]]) != 0;
}

void tTaxaSet::compute_nelements() {
  int n = 0;
  for (int i = 0; i < nwords; i++) n += __builtin_popcount(data[i]);
  nelements = static_cast<std::int16_t>(n);
}

tTaxaSet& tTaxaSet::operator+=(const tTaxaSet& b) {
  if (b.maxsize > maxsize) resize(b.maxsize);
  for (int i = 0; i < b.nwords; i++) data[i] |= b.data[i];
  compute_nelements();
  return *this;
}

tTaxaSet& tTaxaSet::operator&=(const tTaxaSet& b) {
  for (int i = 0; i < nwords; i++) data[i] &= word(b, i);
  compute_nelements();
  return *this;
}

tTaxaSet& tTaxaSet::operator-=(const tTaxaSet& b) {
  for (int i = 0; i < std::min(nwords, b.nwords); i++) data[i] &= ~b.data[i];
  compute_nelements();
  return *this;
}

// Items are element + 1; scans skip whole empty words, relying on the clear bits above maxsize.
tItem tTaxaSet::first_item() const {
  return next_item(0);
}

tItem tTaxaSet::last_item() const {
  return prev_item(static_cast<tItem>(maxsize) + 1);
}

tItem tTaxaSet::next_item(tItem it) const {
  if (it >= static_cast<tItem>(maxsize)) return 0;
  int from = static_cast<int>(it);  // the element after that of it
  int w = k2word[from];
  std::uint32_t bits = data[w] & ~(mask[k2bit[from]] - 1);
  while (bits == 0) {
    if (++w >= nwords) return 0;
    bits = data[w];
  }
  return static_cast<tItem>(w) * 32 + __builtin_ctz(bits) + 1;
}

tItem tTaxaSet::prev_item(tItem it) const {
  if (it < 2 || maxsize == 0) return 0;
  int from = static_cast<int>(std::min<tItem>(it - 2, maxsize - 1));  // the element before
  int w = k2word[from];
  std::uint32_t bits = data[w] & bits_up_to(k2bit[from]);
  while (bits == 0) {
    if (--w < 0) return 0;
    bits = data[w];
  }
  return static_cast<tItem>(w) * 32 + (31 - __builtin_clz(bits)) + 1;
}

int tTaxaSet::inf(tItem it) const {
  TOOLKIT_ASSERT(it > 0, "it>0");
  return static_cast<int>(it - 1);
}

void tTaxaSet::print(std::ostream& os) const {
  for (tItem it = first_item(); it; it = next_item(it)) os << ' ' << inf(it);
}

void tTaxaSet::print(const dictionary<int, string>& n2name, std::ostream& os) const {
  for (tItem it = first_item(); it; it = next_item(it)) {
    const auto* entry = n2name.lookup(inf(it));
    if (!entry) error("tTaxaSet::print(n2name,outs): name not found: %d", inf(it));
    os << ' ' << entry->second;
  }
}

bool tTaxaSet::read(const string& s) {
  clear();
  const char* p = s.c_str();
  for (;;) {
    char* end = nullptr;
    long k = std::strtol(p, &end, 0);
    if (end == p) break;
    // No set holds 13999: the largest capacity, 13999, ends at element 13998.
    if (k < 0 || k >= tTaxaSet::capacity_limit - 1)
      error("tTaxaSet::read(instring): number out of range 0..13998: %ld", k);
    insert(static_cast<int>(k));
    p = end;
  }
  compute_nelements();
  return nelements > 0;
}

bool tTaxaSet::read(const dictionary<string, int>& name2n, const string& s) {
  clear();
  const char* p = s.c_str();
  const char* separators = " \t\n";
  for (;;) {
    p += std::strspn(p, separators);
    if (*p == '\0') break;
    std::size_t length = std::strcspn(p, separators);
    string token(std::string(p, length).c_str());
    const auto* entry = name2n.lookup(token);
    if (!entry) error("tTaxaSet::read(name2n,instring): Undefined taxon: %s", token.c_str());
    insert(entry->second);
    p += length;
  }
  compute_nelements();
  return nelements > 0;
}

bool tTaxaSet::read(std::istream& is) {
  string line;
  line.read(is, '\n');
  return read(line);
}

bool tTaxaSet::read(const dictionary<string, int>& name2n, std::istream& is) {
  string line;
  line.read(is, '\n');
  return read(name2n, line);
}

string tTaxaSet::to01string(int n) const {
  std::string s(std::max(n + 1, 0), '0');
  for (int k = 0; k <= n; k++)
    if (member(k)) s[k] = '1';
  return string(s.c_str());
}

void tTaxaSet::from01string(const string& s) {
  clear();
  for (int i = 0; i < s.length(); i++)
    if (s[i] != '0') insert(i);
}

tTaxaSet operator&(const tTaxaSet& a, const tTaxaSet& b) {
  tTaxaSet r(std::min(a.maxsize, b.maxsize));
  for (int i = 0; i < r.nwords; i++) r.data[i] = a.data[i] & b.data[i];
  r.compute_nelements();
  return r;
}

tTaxaSet operator+(const tTaxaSet& a, const tTaxaSet& b) {
  tTaxaSet r(std::max(a.maxsize, b.maxsize));
  for (int i = 0; i < r.nwords; i++) r.data[i] = word(a, i) | word(b, i);
  r.compute_nelements();
  return r;
}

tTaxaSet operator-(const tTaxaSet& a, const tTaxaSet& b) {
  tTaxaSet r(a);
  r -= b;
  return r;
}

tTaxaSet operator-(const tTaxaSet& s, int k) {
  TOOLKIT_ASSERT(k >= 0, "k>=0");
  tTaxaSet r(s);
  r.del(k);
  return r;
}

bool operator==(const tTaxaSet& a, const tTaxaSet& b) {
  for (int i = 0; i < std::max(a.nwords, b.nwords); i++)
    if (word(a, i) != word(b, i)) return false;
  return true;
}

bool operator!=(const tTaxaSet& a, const tTaxaSet& b) {
  return !(a == b);
}

bool operator<=(const tTaxaSet& a, const tTaxaSet& b) {
  for (int i = 0; i < a.nwords; i++)
    if (a.data[i] & ~word(b, i)) return false;
  return true;
}

bool operator>=(const tTaxaSet& a, const tTaxaSet& b) {
  return b <= a;
}

bool intersect(const tTaxaSet& a, const tTaxaSet& b, const tTaxaSet& c) {
  int n = std::min({a.nwords, b.nwords, c.nwords});
  for (int i = 0; i < n; i++)
    if (a.data[i] & b.data[i] & c.data[i]) return true;
  return false;
}

tTaxaSet all_taxa(int n) {
  tTaxaSet s(n);
  for (int i = 0; i < n; i++) s.insert(i);
  return s;
}

std::ostream& operator<<(std::ostream& os, const tTaxaSet& s) {
  s.print(os);
  return os;
}

std::istream& operator>>(std::istream& is, tTaxaSet& s) {
  s.read(is);
  return is;
}
