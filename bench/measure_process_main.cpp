// measure_process PROGRAM [ARGUMENT...]: runs PROGRAM once, its output to nowhere, and prints
// "SECONDS PEAK_KIB EXIT": the wall time from start to end and the peak resident memory of
// that process alone.
//
// A process started straight from the benchmark script would report at least the script's
// own memory: Linux counts the memory of the process that starts another into its peak. So
// it is started from this small one instead, by fork (a spawn that shares the starter's
// memory would count all of the starter's, its libraries too).
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: measure_process PROGRAM [ARGUMENT...]\n", stderr);
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    return 2;
  }
  if (child == 0) {
    const int nowhere = open("/dev/null", O_WRONLY);
    if (nowhere < 0 || dup2(nowhere, 1) < 0) _exit(127);
    execvp(argv[1], argv + 1);
    std::perror(argv[1]);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) {
    std::perror("wait4");
    return 2;
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  const int exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::printf("%.9f %ld %d\n", elapsed.count(), usage.ru_maxrss, exit);
  return 0;
}
