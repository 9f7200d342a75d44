// The signal handlers of TCleanupEntry on POSIX systems.
#include <signal.h>
#include <unistd.h>

#include "io/cleanup.h"
#include "io/cleanup_table.h"

namespace tarvola::io {

namespace {

void RemoveAll(int kind) {
  for (TCleanupSlot& slot : CleanupTable) {
    if (slot.State.load() != kind) continue;
    if (kind == SlotFile)
      ::unlink(slot.Path);
    else
      ::rmdir(slot.Path);
  }
}

// Only async-signal-safe calls: unlink, rmdir, sigaction, raise.
void EndBySignal(int signal) {
  RemoveAll(SlotFile);
  RemoveAll(SlotFolder);
  struct sigaction fallback {};
  fallback.sa_handler = SIG_DFL;
  ::sigemptyset(&fallback.sa_mask);
  ::sigaction(signal, &fallback, nullptr);
  ::raise(signal);
}

}  // namespace

void InstallSignalCleanup() {
  struct sigaction action {};
  action.sa_handler = EndBySignal;
  ::sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaddset(&action.sa_mask, signal);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  ::sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGPIPE, &ignore, nullptr);
  ::sigaction(SIGXFSZ, &ignore, nullptr);
}

}  // namespace tarvola::io
