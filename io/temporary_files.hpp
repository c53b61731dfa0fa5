// Temporary files that the run removes however it ends: normally, through the diagnostics'
// fatal exit (std::exit), or by SIGINT, SIGTERM or SIGHUP.
#pragma once

// Takes charge of removing path (already created by the caller) until released; returns the
// ticket that releases it. The first call installs the removal at exit, and a handler for each
// of the three signals whose action is still the default one (a signal the process ignores, or
// one a host program handles, keeps its action). The handler removes every held file, then
// raises the signal again with its default action, so the process ends as the signal says.
// Ends through bye() when the path is too long to keep or too many files are held at once.
int hold_temporary(const char* path);
// The file of ticket is the caller's again (renamed into place or removed). A ticket may be
// released once.
void release_temporary(int ticket);
// Removes every held file now; async-signal-safe.
void remove_held_temporaries();
