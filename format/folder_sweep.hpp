#pragma once

#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace scenario {

// What a run is told on the way that is no failure: a note it does not obey, a wait.
using Notice = std::function<void(const std::string&)>;

// Clears what ended runs left of the set `set` in the folder open as `folder_fd` (shown as
// `folder`): it finishes the commits their notes describe, then deletes their temporaries.
// It touches nothing else: only names made exactly as this program makes them for a file
// of `set`, by a process that is gone, and only regular files of this user. A note that
// does not fit is left as it is, and `notice` names it. Best effort: what cannot be listed,
// renamed or deleted stays.
void sweep_folder(int folder_fd, const std::filesystem::path& folder, std::span<const std::string> set,
                  const Notice& notice);

}  // namespace scenario
