#include "storage/folderlock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace storage {

FolderLock::FolderLock(const QString& folder) {
  fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return;
  int taken = 0;
  do {
    taken = ::flock(fd_, LOCK_EX | LOCK_NB);
  } while (taken != 0 && errno == EINTR);
  if (taken == 0) {
    state_ = Taken;
    return;
  }
  state_ = errno == EWOULDBLOCK ? HeldElsewhere : Unavailable;
  ::close(fd_);
  fd_ = -1;
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace storage
