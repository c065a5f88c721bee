#include "storage/folderlock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QSysInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "toolkit/files.h"
#include "toolkit/plainfile.h"

namespace storage {

namespace {

const QString LockFileName = QStringLiteral(".corvalenta-lock");

// A run writes its lock file's content as soon as it has made it: one still
// unreadable this long after its last change was left by a run that ended
// in between.
constexpr long long UnwrittenLockSeconds = 10;

// The file name of the program running as `pid`; empty when it shows none
// (a kernel thread, a process ended but not yet waited for, another user's).
QString programOf(pid_t pid) {
  char target[PATH_MAX];
  const QByteArray link = "/proc/" + QByteArray::number(pid) + "/exe";
  const ssize_t n = ::readlink(link.constData(), target, sizeof target);
  if (n <= 0 || n == static_cast<ssize_t>(sizeof target)) return QString();
  QString path = QFile::decodeName(QByteArray(target, n));
  const QLatin1String replaced(" (deleted)");  // the program was updated while it runs
  if (path.endsWith(replaced)) path.chop(replaced.size());
  return QFileInfo(path).fileName();
}

// The lock files this process holds.
QSet<QString>& heldHere() {
  static QSet<QString> held;
  return held;
}

// Line `index` of a lock file, read without following a link.
QByteArray lockFileLine(const QString& path, int index) {
  const std::optional<QByteArray> content = tk::PlainFile(path, tk::PlainFile::Read).ReadAll(4096);
  return content ? content->split('\n').value(index) : QByteArray();
}

// True when the lock file was left by a run that has ended. Qt removes a
// stale lock file only under that file's own flock, which a file system
// without locks refuses, and never judges one it cannot read stale when
// age does not count; so the judgement is made here again.
bool leftByEndedRun(const QLockFile& lock, const QString& path) {
  qint64 recordedPid = 0;
  QString host, program;
  if (!lock.getLockInfo(&recordedPid, &host, &program)) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return errno == ENOENT;
    // Older or newer: a clock set back since (a power cut) must not keep it for ever.
    return std::llabs(static_cast<long long>(std::time(nullptr) - st.st_mtime)) > UnwrittenLockSeconds;
  }
  if (!host.isEmpty() && host != QSysInfo::machineHostName()) return false;  // its processes are not seen here
  // Written before the machine last started: whatever runs under its pid now
  // is not that run.
  const QByteArray boot = lockFileLine(path, 4);
  if (!boot.isEmpty() && boot != QSysInfo::bootUniqueId()) return true;
  const pid_t pid = static_cast<pid_t>(recordedPid);
  if (pid != recordedPid) return true;
  // This process's own pid, on a lock it does not hold: an earlier run's,
  // under the same pid (a pid namespace, or a machine that starts the same
  // way every time).
  if (pid == ::getpid()) return !heldHere().contains(path);
  if (::kill(pid, 0) != 0 && errno == ESRCH) return true;
  // The pid may have gone since to another program, or, after a restart, to
  // a process that shows none; unless this system shows no program at all.
  const QString running = programOf(pid);
  if (running.isEmpty()) return !programOf(::getpid()).isEmpty();
  return running != program;
}

}  // namespace

FolderLock::FolderLock(const QString& folder) {
  fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ >= 0) {
    int taken = 0;
    do {
      taken = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (taken != 0 && errno == EINTR);
    if (taken == 0) {
      state_ = Taken;
      return;
    }
    const bool held = errno == EWOULDBLOCK;
    ::close(fd_);
    fd_ = -1;
    if (held) {
      state_ = HeldElsewhere;
      return;
    }
  }
  const QString path = QDir(folder).filePath(LockFileName);
  state_ = takeLockFile(path);
  if (state_ == Taken) heldHere().insert(lockFile_ = path);
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
  heldHere().remove(lockFile_);
}

FolderLock::State FolderLock::takeLockFile(const QString& path) {
  // Qt opens an existing lock file with a plain open, which follows a link
  // and waits on a FIFO for ever. The name is ours, never a data file's:
  // anything but a regular file there goes first (unlink leaves a folder).
  const tk::FolderItem lockFile(path);
  if (tk::EntryAt(path) == tk::EntryKind::Other && !lockFile.Delete()) return Unavailable;
  file_ = std::make_unique<QLockFile>(path);
  file_->setStaleLockTime(0);  // a run lasts all day: stale only once its process has gone
  if (file_->tryLock(0)) return Taken;
  if (file_->error() != QLockFile::LockFailedError) return Unavailable;
  if (!leftByEndedRun(*file_, path)) return HeldElsewhere;
  if (!lockFile.Delete()) return Unavailable;
  if (file_->tryLock(0)) return Taken;
  return file_->error() == QLockFile::LockFailedError ? HeldElsewhere : Unavailable;
}

}  // namespace storage
