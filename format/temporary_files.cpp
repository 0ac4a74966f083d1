#include "format/temporary_files.hpp"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace scenario {
namespace {

constexpr std::string_view kMarker = ".tmp-";
constexpr int kHandledSignals[] = {SIGINT, SIGTERM, SIGHUP};

// The paths the signal handler removes. Slots change only while the signals are held back,
// so the handler never sees one half made.
constexpr size_t kSlots = 64;
std::array<char*, kSlots> registered_paths{};

sigset_t handled_signal_set() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal_number : kHandledSignals) sigaddset(&set, signal_number);
  return set;
}

extern "C" void remove_temporaries_and_end(int signal_number) {
  for (char* path : registered_paths) {
    if (path != nullptr) ::unlink(path);
  }
  // Ended by the signal itself, so the caller sees the conventional status.
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

bool all_digits(std::string_view text, size_t most) {
  if (text.empty() || text.size() > most) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

std::string temporary_file_name(const std::string& name, pid_t process, unsigned counter) {
  return "." + name + std::string(kMarker) + std::to_string(process) + "-" + std::to_string(counter);
}

std::optional<pid_t> maker_after_prefix(std::string_view file_name, std::string_view prefix) {
  if (!file_name.starts_with(prefix)) return std::nullopt;
  const std::string_view numbers = file_name.substr(prefix.size());
  const size_t dash = numbers.find('-');
  // A process id and a counter, as this program writes them: at most 9 and 10 digits.
  if (dash == std::string_view::npos || !all_digits(numbers.substr(0, dash), 9) ||
      !all_digits(numbers.substr(dash + 1), 10))
    return std::nullopt;
  const auto process = static_cast<pid_t>(std::stol(std::string(numbers.substr(0, dash))));
  if (process <= 0) return std::nullopt;
  return process;
}

std::optional<pid_t> temporary_maker(std::string_view file_name, std::string_view target) {
  if (target.empty()) return std::nullopt;
  return maker_after_prefix(file_name, "." + std::string(target) + std::string(kMarker));
}

bool is_temporary_file_name(std::string_view file_name) {
  const size_t marker = file_name.rfind(kMarker);
  if (marker == std::string_view::npos || marker < 2 || file_name[0] != '.') return false;
  return maker_after_prefix(file_name, file_name.substr(0, marker + kMarker.size())).has_value();
}

bool process_is_gone(pid_t process) { return process != ::getpid() && ::kill(process, 0) != 0 && errno == ESRCH; }

int register_temporary_file(const std::string& path) {
  SignalHold hold;
  for (size_t slot = 0; slot < kSlots; ++slot) {
    if (registered_paths[slot] != nullptr) continue;
    char* copy = new char[path.size() + 1];
    std::memcpy(copy, path.c_str(), path.size() + 1);
    registered_paths[slot] = copy;
    return static_cast<int>(slot);
  }
  return -1;
}

void unregister_temporary_file(int slot) {
  if (slot < 0) return;
  SignalHold hold;
  const auto at = static_cast<size_t>(slot);
  delete[] registered_paths[at];
  registered_paths[at] = nullptr;
}

void remove_temporaries_on_signal() {
  struct sigaction action {};
  action.sa_handler = remove_temporaries_and_end;
  action.sa_mask = handled_signal_set();
  for (const int signal_number : kHandledSignals) {
    struct sigaction previous {};
    // A signal ignored by whoever started the program (nohup) stays ignored.
    if (::sigaction(signal_number, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    ::sigaction(signal_number, &action, nullptr);
  }
}

SignalHold::SignalHold() {
  const sigset_t set = handled_signal_set();
  ::sigprocmask(SIG_BLOCK, &set, &before_);
}

SignalHold::~SignalHold() { ::sigprocmask(SIG_SETMASK, &before_, nullptr); }

}  // namespace scenario
