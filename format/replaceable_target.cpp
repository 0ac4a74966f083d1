#include "format/replaceable_target.hpp"

#include <fcntl.h>
#if __has_include(<linux/fs.h>)
#include <linux/fs.h>
#endif
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace scenario {
namespace {

const char* kind_of(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISLNK(mode)) return "a symbolic link";
  return "not a regular file";
}

// The inode flags that forbid a rename over the file or into the folder; 0 when they
// cannot be read (a file system without them).
#if defined(FS_IOC_GETFLAGS)
long inode_flags(int fd) {
  long flags = 0;
  return ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 ? flags : 0;
}

bool is_frozen(int fd) { return (inode_flags(fd) & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0; }
#else
// A system without Linux's inode flags (WebAssembly) has nothing frozen to tell.
bool is_frozen(int) { return false; }
#endif

// A file mounted over the name: on another device, or the root of a mount of the same one
// (a bind mount), as the kernel tells where it can.
bool is_mount_point(int folder_fd, const std::string& name, const struct stat& own, const struct stat& folder) {
  if (own.st_dev != folder.st_dev) return true;
#if defined(STATX_ATTR_MOUNT_ROOT)
  struct statx status {};
  return ::statx(folder_fd, name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &status) == 0 &&
         (status.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0 &&
         (status.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
#else
  (void)folder_fd, (void)name;  // no statx (WebAssembly): the device tells it alone
  return false;
#endif
}

}  // namespace

std::string unwritable_folder_reason(int folder_fd) {
  if (::faccessat(folder_fd, ".", W_OK | X_OK, AT_EACCESS) != 0)
    return std::string("cannot write into the folder: ") + std::strerror(errno);
  if (is_frozen(folder_fd)) return "cannot write into the folder: it is immutable";
  return "";
}

std::string unreplaceable_reason(int folder_fd, const std::string& name) {
  struct stat own {};
  if (::fstatat(folder_fd, name.c_str(), &own, AT_SYMLINK_NOFOLLOW) != 0) {
    return errno == ENOENT ? "" : std::string("cannot look at it: ") + std::strerror(errno);
  }
  if (S_ISLNK(own.st_mode)) {
    // The rename replaces the link itself; one that leads anywhere but to a regular file
    // stands for something that is not a file to replace (/dev/stdout, /dev/null).
    struct stat led_to {};
    if (::fstatat(folder_fd, name.c_str(), &led_to, 0) != 0) return "it is a symbolic link that leads nowhere";
    if (!S_ISREG(led_to.st_mode)) return std::string("it is a symbolic link to ") + kind_of(led_to.st_mode);
  } else if (!S_ISREG(own.st_mode)) {
    return std::string("it is ") + kind_of(own.st_mode) + ", and only a regular file is replaced";
  }
  struct stat folder {};
  if (::fstat(folder_fd, &folder) != 0) return std::string("cannot look at the folder: ") + std::strerror(errno);
  if (is_mount_point(folder_fd, name, own, folder)) return "it is a mount point";
  // In a folder with the sticky bit only a file's owner (or the folder's) may replace it.
  const uid_t user = ::geteuid();
  if ((folder.st_mode & S_ISVTX) != 0 && user != 0 && own.st_uid != user && folder.st_uid != user)
    return "it belongs to another user, in a folder where only the owner may replace a file";
  if (S_ISREG(own.st_mode)) {
    const int fd = ::openat(folder_fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
      const bool frozen = is_frozen(fd);
      ::close(fd);
      if (frozen) return "it is immutable or append-only";
    }
  }
  return "";
}

}  // namespace scenario
