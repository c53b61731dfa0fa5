// Text inside the pictures: escaping for XML and HTML, and short forms of numbers.
#pragma once

#include <string>

// The text with & < > " ' as entities, control characters other than tab and newline as '?'
// and every byte that is not part of valid UTF-8 as U+FFFD, so any row name gives well-formed XML.
std::string xml_escaped(const std::string& text);

// x with at most `digits` significant digits in the shortest general form ("nan", "inf" as such).
std::string short_number(double x, int digits = 4);
