// Failed assertions are reported by the C library's own routine, so that the text is the same as
// that of assert, program name and all.
#include "lib/assertion.hpp"

#include <cassert>

void failed_assertion(const char* text, const char* file, unsigned line, const char* function) {
  __assert_fail(text, file, line, function);
}
