// A file system without locks, for the tests: preloaded into a run
// (LD_PRELOAD), it refuses every flock as such a file system does, the
// program's and Qt's alike. With CORVALENTA_NO_LOCKS_ON=folders it refuses
// a folder's alone, as where the folder cannot be opened but its files can.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

extern "C" int flock(int fd, int operation) {
  const char* on = std::getenv("CORVALENTA_NO_LOCKS_ON");
  struct stat st {};
  if (on && std::strcmp(on, "folders") == 0 && ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode))
    return static_cast<int>(::syscall(SYS_flock, fd, operation));
  errno = ENOLCK;
  return -1;
}
