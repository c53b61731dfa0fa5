// Assertions whose report quotes a given text as the condition, in the C library's own format.
#pragma once

// Like assert(condition), but the report shows `text` as the condition, so that the code may
// spell it with named constants while the report keeps its established wording. Always enabled.
#define TOOLKIT_ASSERT(condition, text) \
  ((condition) ? void(0) : failed_assertion(text, __FILE__, __LINE__, __PRETTY_FUNCTION__))

// Writes the C library's report of a failed assertion of `text` at file, line and function to
// standard error and ends the process through the abort signal, as a failed assert does.
[[noreturn]] void failed_assertion(const char* text, const char* file, unsigned line,
                                   const char* function);
