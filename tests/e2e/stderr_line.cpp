// Preloaded into the Linux program by closed_streams_e2e.sh: on SIGUSR1 the game's process writes
// one line to its descriptor 2, as a sound library reporting a late problem would.
//
//   LD_PRELOAD=libstderr_line.so quarvelingdrome ...; kill -USR1 <the game's pid>
#include <signal.h>
#include <unistd.h>

namespace {

constexpr char kLine[] = "stderr_line: a late message from a library on descriptor 2\n";

void WriteLine(int) {
  // write is safe in a signal handler; a closed or broken descriptor 2 is what the test is about,
  // so its result is ignored.
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kLine, sizeof kLine - 1);
}

[[gnu::constructor]] void InstallLineWriter() {
  struct sigaction action {};
  action.sa_handler = WriteLine;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGUSR1, &action, nullptr);
}

}  // namespace
