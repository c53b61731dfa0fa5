// The field scanner: whole lines are found with memchr, fields are cut where they lie.
#include "cluster/input/field_scanner.hpp"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t block = 1 << 18;
// Readable bytes after every field's terminating NUL, for the decimal conversion's loads.
constexpr std::size_t padding = 64;

}  // namespace

tFieldScanner::tFieldScanner(std::istream& is, char delimiter, bool quoted)
    : is_(is), delimiter_(delimiter), quoted_(quoted), buffer_(block + padding, '\0') {
  refill();
  if (end_ >= 3 && std::memcmp(buffer_.data(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
}

bool tFieldScanner::refill() {
  if (at_end_) return false;
  const std::size_t kept = end_ - pos_;
  std::memmove(buffer_.data(), buffer_.data() + pos_, kept);
  end_ = kept;
  pos_ = 0;
  // A line longer than half the buffer makes it grow.
  if (buffer_.size() - padding - end_ < block / 2) buffer_.resize(2 * buffer_.size(), '\0');
  const std::size_t wanted = buffer_.size() - padding - end_;
  is_.read(buffer_.data() + end_, static_cast<std::streamsize>(wanted));
  const std::size_t got = static_cast<std::size_t>(is_.gcount());
  end_ += got;
  std::memset(buffer_.data() + end_, 0, padding);
  if (got < wanted) at_end_ = true;
  return got > 0;
}

bool tFieldScanner::find_line(std::size_t& end) {
  std::size_t scanned = 0;  // bytes after pos_ looked at already (refill moves pos_)
  std::size_t quotes = 0;   // odd: the newline found lies inside a quoted field
  for (;;) {
    const char* text = buffer_.data();
    const std::size_t from = pos_ + scanned;
    const void* newline = std::memchr(text + from, '\n', end_ - from);
    const std::size_t stop = newline ? static_cast<const char*>(newline) - text : end_;
    if (quoted_) quotes += static_cast<std::size_t>(std::count(text + from, text + stop, '"'));
    if (newline && quotes % 2 == 0) {
      end = stop;
      return true;
    }
    scanned = stop + (newline ? 1 : 0) - pos_;
    if (!newline && !refill()) {
      end = end_;
      return end_ > pos_;
    }
  }
}

bool tFieldScanner::next_line() {
  for (;;) {
    if (pos_ >= end_ && !refill()) return false;
    std::size_t end = 0;
    if (!find_line(end)) return false;
    std::size_t next = end < end_ ? end + 1 : end;
    line_ = next_line_number_;
    char* text = buffer_.data();
    // Only a quoted field holds line breaks of its own.
    next_line_number_ += 1 + (quoted_ ? std::count(text + pos_, text + end, '\n') : 0);
    std::size_t stop = end;
    if (stop > pos_ && text[stop - 1] == '\r') --stop;
    if (stop == pos_) {  // an empty line
      pos_ = next;
      continue;
    }
    if (quoted_ && std::memchr(text + pos_, '"', stop - pos_))
      split_quoted(stop);
    else
      split_plain(stop);
    pos_ = next;
    if (fields_.empty()) continue;  // blanks only, between fields of blank runs
    return true;
  }
}

std::size_t tFieldScanner::skip_blanks(std::size_t at, std::size_t end) const {
  if (delimiter_ != ' ') return at;
  while (at < end && is_delimiter(buffer_[at])) ++at;
  return at;
}

void tFieldScanner::split_plain(std::size_t end) {
  fields_.clear();
  char* text = buffer_.data();
  std::size_t start = skip_blanks(pos_, end);
  if (delimiter_ == ' ') {
    while (start < end) {
      std::size_t stop = start;
      while (stop < end && !is_delimiter(text[stop])) ++stop;
      const std::size_t next = skip_blanks(stop, end);
      text[stop] = '\0';
      fields_.push_back({text + start, stop - start});
      start = next;
    }
    return;
  }
  for (;;) {
    const void* found = std::memchr(text + start, delimiter_, end - start);
    const std::size_t stop = found ? static_cast<const char*>(found) - text : end;
    text[stop] = '\0';
    fields_.push_back({text + start, stop - start});
    if (!found) return;
    start = stop + 1;
  }
}

// Quoted fields are unescaped in place: the text only shrinks.
void tFieldScanner::split_quoted(std::size_t end) {
  fields_.clear();
  char* text = buffer_.data();
  std::size_t at = skip_blanks(pos_, end);
  if (at == end) return;
  for (;;) {
    char* out = text + at;
    const char* field = out;
    bool in_quotes = false;
    for (; at < end; ++at) {
      const char c = text[at];
      if (in_quotes) {
        if (c != '"') {
          *out++ = c;
        } else if (at + 1 < end && text[at + 1] == '"') {
          *out++ = '"';
          ++at;
        } else {
          in_quotes = false;
        }
      } else if (c == '"') {
        in_quotes = true;
      } else if (is_delimiter(c)) {
        break;
      } else {
        *out++ = c;
      }
    }
    *out = '\0';
    fields_.push_back({field, static_cast<std::size_t>(out - field)});
    if (at == end) return;
    at = skip_blanks(at + 1, end);
    if (at == end && delimiter_ == ' ') return;
  }
}

std::string tFieldScanner::take_rest() {
  std::string rest(buffer_.data() + pos_, end_ - pos_);
  pos_ = end_;
  at_end_ = true;
  return rest;
}
