#pragma once
// One run of the program per data folder.

#include <QString>

namespace storage {

// An exclusive lock on a folder, held while the object lives; the kernel
// drops it when the process ends, however it ends. It is an advisory lock
// on the folder itself, opened read-only: it adds no file to the folder,
// a read-only folder takes it too, and it is closed on exec, so that no
// program started meanwhile (a word processor left open) keeps it.
class FolderLock {
 public:
  enum State {
    Taken,          // this object holds the lock
    HeldElsewhere,  // another open of the folder (another run) holds it
    Unavailable,    // the folder cannot be opened, or its file system has no locks
  };
  explicit FolderLock(const QString& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  State state() const { return state_; }

 private:
  int fd_ = -1;
  State state_ = Unavailable;
};

}  // namespace storage
