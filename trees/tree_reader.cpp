// Finding the trees of Newick and Nexus texts.
#include "trees/tree_reader.hpp"

#include <cctype>

#include "trees/newick_reader.hpp"

namespace {

bool same_word(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(b[i])) return false;
  return i == a.size() && !b[i];
}

// The next word, or the delimiter standing at the cursor as a word of one character.
std::string token(tTextCursor& cursor) {
  cursor.skip_blanks();
  if (cursor.at_end()) return "";
  const char c = cursor.peek();
  if (c != '\'' && is_delimiter(c)) {
    cursor.advance();
    return std::string(1, c);
  }
  return cursor.word();
}

void skip_statement(tTextCursor& cursor) {
  for (std::string t = token(cursor); t != ";"; t = token(cursor))
    if (cursor.at_end() && t.empty()) cursor.fail("a Nexus statement does not end with ';'");
}

}  // namespace

tTreeReader::tTreeReader(const std::string& text, const std::string& source)
    : cursor_(text, source) {
  cursor_.skip_blanks();
  if (cursor_.peek() != '#') return;
  tTextCursor probe = cursor_;
  nexus_ = same_word(probe.word(), "#NEXUS");
  if (nexus_) cursor_ = probe;
}

bool tTreeReader::next(tParsedTree& tree) {
  if (nexus_) return next_nexus(tree);
  cursor_.skip_blanks();
  if (cursor_.at_end()) return false;
  read_newick(cursor_, tree);
  return true;
}

// Steps to the statement after the next "BEGIN TREES;"; false when there is none.
bool tTreeReader::enter_trees_block() {
  for (;;) {
    const std::string t = token(cursor_);
    if (t.empty() && cursor_.at_end()) return false;
    if (!same_word(t, "begin")) {
      if (t != ";") skip_statement(cursor_);
      continue;
    }
    const std::string name = token(cursor_);
    skip_statement(cursor_);
    if (same_word(name, "trees")) {
      translation_.clear();
      return true;
    }
  }
}

bool tTreeReader::next_nexus(tParsedTree& tree) {
  for (;;) {
    if (!in_trees_block_ && !(in_trees_block_ = enter_trees_block())) return false;
    const std::string t = token(cursor_);
    if (t.empty() && cursor_.at_end()) cursor_.fail("the TREES block has no END;");
    if (same_word(t, "end") || same_word(t, "endblock")) {
      skip_statement(cursor_);
      in_trees_block_ = false;
    } else if (same_word(t, "translate")) {
      read_translate();
    } else if (same_word(t, "tree") || same_word(t, "utree")) {
      std::string name = token(cursor_);
      if (name == "*") name = token(cursor_);
      if (token(cursor_) != "=") cursor_.fail("a TREE statement needs '=' after its name");
      read_newick(cursor_, tree);
      translate(tree);
      return true;
    } else if (t != ";") {
      skip_statement(cursor_);
    }
  }
}

// "TRANSLATE key name, key name, ... ;"
void tTreeReader::read_translate() {
  for (;;) {
    const std::string key = token(cursor_);
    if (key == ";") return;
    const std::string name = token(cursor_);
    if (key.empty() || name.empty() || name == "," || name == ";")
      cursor_.fail("a TRANSLATE entry needs a key and a name");
    if (!translation_.emplace(key, name).second)
      cursor_.fail("TRANSLATE lists the key '" + key + "' twice");
    const std::string after = token(cursor_);
    if (after == ";") return;
    if (after != ",") cursor_.fail("TRANSLATE entries are separated by ','");
  }
}

void tTreeReader::translate(tParsedTree& tree) const {
  if (translation_.empty()) return;
  for (tTreeNode& node : tree.nodes) {
    if (!node.is_leaf()) continue;
    const auto it = translation_.find(node.label);
    if (it != translation_.end()) node.label = it->second;
  }
}
