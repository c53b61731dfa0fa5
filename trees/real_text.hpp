// Real numbers as text: what printf's "%.17g" writes, so that every double reads back exactly.
#pragma once

#include <string>

std::string real_text(double x);
