// Fatal errors, warnings and the switchable progress channel, all on standard error.
#pragma once

#include <string>

// Each fatal report starts on a fresh line with its prefix and ends the process with status 1.
[[noreturn]] void error(const char* format, ...) __attribute__((format(printf, 1, 2)));  // internal
[[noreturn]] void bye(const char* format, ...)
    __attribute__((format(printf, 1, 2)));  // environment
[[noreturn]] void usage(const char* format, ...)
    __attribute__((format(printf, 1, 2)));  // command line
// A command line the run refuses before any work: the prefix of usage(), status 2.
[[noreturn]] void misuse(const char* format, ...) __attribute__((format(printf, 1, 2)));
void warning(const char* format, ...) __attribute__((format(printf, 1, 2)));  // always written

// Where this thread's warnings go instead of standard error (each the whole text warning()
// writes); nullptr, the start of every thread, writes them. Lets parallel work replay them in
// the order a serial run writes them.
using warning_sink = void (*)(void* context, const char* text);
void divert_warnings(warning_sink sink, void* context);
// A whole warning text as warning() made it, sent where this thread's warnings go now.
void pass_on_warning(const char* text);

// Every fatal end of the run (the three reports above, the usage text) leaves through
// fatal_exit, which calls the installed handler: std::exit unless a harness that must survive
// the report installs one of its own, which must not return (nullptr restores std::exit).
using fatal_exit_handler = void (*)(int status);
void set_fatal_exit(fatal_exit_handler handler);
[[noreturn]] void fatal_exit(int status);  // std::exit(status) if the handler returns
// The message of this thread's latest fatal report (without prefix and line ends), which it
// clears: a handler that throws carries the text to whoever catches it. Empty when none.
std::string take_fatal_report();

// Progress channel: on until messages(false); every message flushes the error stream.
void messages(bool on);
void message(const char* format, ...) __attribute__((format(printf, 1, 2)));
void message(char c);
void message(int i);
void show_time();  // "Time: %5.2f sec\n" of processor time, through message()

extern bool show_messages;
