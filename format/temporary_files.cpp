#include "format/temporary_files.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace scenario {
namespace {

constexpr std::string_view kMarker = ".tmp-";
constexpr std::string_view kCommitMarker = ".commit-";
constexpr std::string_view kCommitNoteEnd = "end\n";
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

bool all_digits(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The process of NAME<marker>PID-N, NAME not empty.
std::optional<pid_t> maker_after(std::string_view file_name, std::string_view marker_text) {
  const size_t marker = file_name.rfind(marker_text);
  if (marker == std::string_view::npos || marker == 0 || (marker == 1 && file_name[0] == '.')) return std::nullopt;
  const std::string_view numbers = file_name.substr(marker + marker_text.size());
  const size_t dash = numbers.find('-');
  if (dash == std::string_view::npos || !all_digits(numbers.substr(0, dash)) || !all_digits(numbers.substr(dash + 1)))
    return std::nullopt;
  const std::string_view process = numbers.substr(0, dash);
  if (process.size() > 9) return std::nullopt;
  return static_cast<pid_t>(std::stol(std::string(process)));
}

bool is_gone(pid_t process) { return process != ::getpid() && ::kill(process, 0) != 0 && errno == ESRCH; }

// Finishes the commit that a note describes: every temporary file still there is renamed
// over its name. A note without its end line was cut short before any rename, and the
// temporaries it names are left to the sweep.
void finish_commit(int folder_fd, const std::string& note_name) {
  const int fd = ::openat(folder_fd, note_name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  std::string note;
  char chunk[4096];
  for (ssize_t n; (n = ::read(fd, chunk, sizeof chunk)) > 0;) note.append(chunk, static_cast<size_t>(n));
  ::close(fd);
  if (note.ends_with(kCommitNoteEnd)) {
    std::string_view lines(note);
    lines.remove_suffix(kCommitNoteEnd.size());
    while (!lines.empty()) {
      const size_t tab = lines.find('\t'), end = lines.find('\n');
      if (tab == std::string_view::npos || end == std::string_view::npos || tab > end) break;
      const std::string temporary(lines.substr(0, tab)), name(lines.substr(tab + 1, end - tab - 1));
      ::renameat(folder_fd, temporary.c_str(), folder_fd, name.c_str());
      lines.remove_prefix(end + 1);
    }
  }
  ::unlinkat(folder_fd, note_name.c_str(), 0);
}

}  // namespace

std::string temporary_file_name(const std::string& name, pid_t process, unsigned counter) {
  return "." + name + std::string(kMarker) + std::to_string(process) + "-" + std::to_string(counter);
}

std::optional<pid_t> temporary_file_maker(std::string_view file_name) {
  // NAME.tmp-PID-N, hidden or not: older runs left them without the leading dot.
  return maker_after(file_name, kMarker);
}

std::string commit_note_name(pid_t process, unsigned counter) {
  return ".scenario-set" + std::string(kCommitMarker) + std::to_string(process) + "-" + std::to_string(counter);
}

std::string commit_note(const std::vector<std::pair<std::string, std::string>>& renames) {
  std::string note;
  for (const auto& [temporary, name] : renames) note += temporary + "\t" + name + "\n";
  return note + std::string(kCommitNoteEnd);
}

bool is_temporary_file_name(std::string_view file_name) { return temporary_file_maker(file_name).has_value(); }

void sweep_temporary_files(const std::filesystem::path& folder) {
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return;
  std::vector<std::string> notes, leftovers;
  // A process of another user answers EPERM: it lives, and its files stay.
  while (const dirent* entry = ::readdir(listing)) {
    if (const auto maker = maker_after(entry->d_name, kCommitMarker); maker && is_gone(*maker))
      notes.emplace_back(entry->d_name);
    if (const auto maker = temporary_file_maker(entry->d_name); maker && is_gone(*maker))
      leftovers.emplace_back(entry->d_name);
  }
  const int folder_fd = ::dirfd(listing);
  // Commits cut short are finished first: their files are among the leftovers.
  for (const std::string& note : notes) finish_commit(folder_fd, note);
  for (const std::string& name : leftovers) ::unlinkat(folder_fd, name.c_str(), 0);
  ::closedir(listing);
}

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
