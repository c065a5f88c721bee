#pragma once
// One run of the program per data folder.

#include <QString>
#include <memory>

class QLockFile;

namespace storage {

// An exclusive lock on a folder, held while the object lives. First an
// advisory lock on the folder itself, opened read-only: it adds no file to
// the folder, a read-only folder takes it too, the kernel drops it when the
// process ends, however it ends, and it is closed on exec, so that no
// program started meanwhile (a word processor left open) keeps it. Where
// the folder refuses that lock (a file system without locks, a folder that
// may be written but not read), a lock file in the folder stands for it;
// one left by a run that has ended is taken over.
class FolderLock {
 public:
  enum State {
    Taken,          // this object holds the lock
    HeldElsewhere,  // another run holds it
    Unavailable,    // neither lock can be taken: the folder is missing, nothing can be
                    // made in it, or a folder stands at the lock file's name
  };
  explicit FolderLock(const QString& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  State state() const { return state_; }

 private:
  State takeLockFile(const QString& path);

  int fd_ = -1;
  std::unique_ptr<QLockFile> file_;
  QString lockFile_;  // the lock file's path, while this object holds it
  State state_ = Unavailable;
};

}  // namespace storage
