// The process-wide handler through which every container reports misuse.
#pragma once

// Code 0 is a warning and returns; code 1 or more prints a stack trace and aborts.
// Codes in use: 1 general, 2 array index out of range, 99 exhausted array storage.
void container_error(int code, const char* message);
// container_error(1, message), for callers that cannot go on past the report.
[[noreturn]] void container_fatal(const char* message);
