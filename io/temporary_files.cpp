// Held temporaries live in fixed slots, so that a signal handler may walk them without locks.
#include "io/temporary_files.hpp"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "lib/diagnostics.hpp"

namespace {

constexpr int slot_count = 64;
constexpr int caught_signals[] = {SIGINT, SIGTERM, SIGHUP};

// free -> filling -> held -> (removing, only by the cleanup, which never gives the slot back).
enum tSlotState : int { slot_free, slot_filling, slot_held, slot_removing };

struct tSlot {
  std::atomic<int> state{slot_free};
  char path[PATH_MAX];
};

tSlot slots[slot_count];
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler reads the slot states");

extern "C" void remove_and_reraise(int signal_number) {
  const int saved_errno = errno;
  remove_held_temporaries();
  errno = saved_errno;
  // The action was reset to the default on entry; the signal is delivered once this returns.
  ::raise(signal_number);
}

void install_removal() {
  if (std::atexit(remove_held_temporaries) != 0)
    bye("Can't arrange the removal of temporary files");
  for (const int signal_number : caught_signals) {
    struct sigaction current {};
    if (::sigaction(signal_number, nullptr, &current) != 0) continue;
    const bool default_action = !(current.sa_flags & SA_SIGINFO) && current.sa_handler == SIG_DFL;
    if (!default_action) continue;
    struct sigaction removal {};
    removal.sa_handler = remove_and_reraise;
    sigemptyset(&removal.sa_mask);
    removal.sa_flags = SA_RESETHAND;
    ::sigaction(signal_number, &removal, nullptr);
  }
}

}  // namespace

int hold_temporary(const char* path) {
  static std::once_flag installed;
  std::call_once(installed, install_removal);
  const std::size_t length = std::strlen(path);
  if (length >= PATH_MAX)
    bye("Can't keep track of the temporary file %s: its name is too long", path);
  for (int ticket = 0; ticket < slot_count; ++ticket) {
    int expected = slot_free;
    if (!slots[ticket].state.compare_exchange_strong(expected, slot_filling)) continue;
    std::memcpy(slots[ticket].path, path, length + 1);
    slots[ticket].state.store(slot_held);
    return ticket;
  }
  bye("Can't keep track of the temporary file %s: %d files are being written at once", path,
      slot_count);
}

void release_temporary(int ticket) {
  int expected = slot_held;
  // A slot the cleanup has taken stays taken: the process is ending.
  slots[ticket].state.compare_exchange_strong(expected, slot_free);
}

void remove_held_temporaries() {
  for (tSlot& slot : slots) {
    int expected = slot_held;
    if (slot.state.compare_exchange_strong(expected, slot_removing)) ::unlink(slot.path);
  }
}
