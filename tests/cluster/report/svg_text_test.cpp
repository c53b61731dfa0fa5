// Text in the pictures: escaping keeps any row name well-formed; the command line pastes back.
#include "cluster/report/svg_text.hpp"

#include <gtest/gtest.h>

namespace {

TEST(SvgText, EscapesMarkupControlsAndBrokenUtf8) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"a<b>&\"c'", "a&lt;b&gt;&amp;&quot;c&#39;"},
      {"tab\tnl\n", "tab\tnl\n"},
      {std::string("nul\0bel\x07", 8), "nul?bel?"},
      {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},                // valid UTF-8 stays
      {"x\xFFy", "x\xEF\xBF\xBDy"},                              // a stray byte
      {"\xC3", "\xEF\xBF\xBD"},                                  // cut off at the end
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // an overlong form
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
  };
  for (const auto& c : cases) EXPECT_EQ(xml_escaped(c.in), c.out) << c.in;
}

}  // namespace
