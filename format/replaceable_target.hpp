#pragma once

#include <string>

namespace scenario {

// The checks that a set makes before it writes anything, and again before its first
// rename, so that a rename that would fail is found while no file of the set has changed.

// Why a file cannot be renamed into the folder open as `folder_fd`; "" when it can.
std::string unwritable_folder_reason(int folder_fd);

// Why the file `name` of the folder cannot be replaced by renaming a file over it; "" when
// it can or when nothing stands there. Only a regular file (or a link to one) is replaced:
// a device, a FIFO, a socket or a folder in a file's place is never taken for one.
std::string unreplaceable_reason(int folder_fd, const std::string& name);

}  // namespace scenario
