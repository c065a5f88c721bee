#include "toolkit/plainfile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tk {

namespace {

bool lookAt(const QString& path, struct stat& st) { return ::lstat(QFile::encodeName(path).constData(), &st) == 0; }

int flagsOf(PlainFile::Mode mode) {
  // O_NONBLOCK: should a FIFO or a device take the name's place between
  // the look and the open, the open returns at once, and fstat refuses it.
  const int always = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  switch (mode) {
    case PlainFile::Read:
      return O_RDONLY | always;
    case PlainFile::ReadWrite:
      return O_RDWR | always;
    case PlainFile::Append:
      return O_WRONLY | O_APPEND | O_CREAT | always;
    case PlainFile::CreateNew:
      return O_WRONLY | O_CREAT | O_EXCL | always;
  }
  return always;
}

}  // namespace

EntryKind EntryAt(const QString& path) {
  struct stat st {};
  if (lookAt(path, st)) return S_ISREG(st.st_mode) ? EntryKind::File : EntryKind::Other;
  return errno == ENOENT ? EntryKind::None : EntryKind::Other;
}

bool FolderAt(const QString& path) {
  struct stat st {};
  return lookAt(path, st) && S_ISDIR(st.st_mode);
}

qint64 FileSizeAt(const QString& path) {
  struct stat st {};
  return lookAt(path, st) && S_ISREG(st.st_mode) ? st.st_size : -1;
}

PlainFile::PlainFile(const QString& path, Mode mode) {
  // Looked at before it is opened, so that a device is never opened at all.
  const EntryKind before = EntryAt(path);
  const bool mayBeNew = mode == Append || mode == CreateNew;
  if (before == EntryKind::Other || (before == EntryKind::None && !mayBeNew) ||
      (before == EntryKind::File && mode == CreateNew))
    return;
  int fd = -1;
  do {
    fd = ::open(QFile::encodeName(path).constData(), flagsOf(mode), 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return;
  }
  fd_ = fd;
}

PlainFile::~PlainFile() {
  if (fd_ >= 0) ::close(fd_);
}

qint64 PlainFile::Size() const {
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
  return st.st_size;
}

std::optional<QByteArray> PlainFile::ReadAt(qint64 offset, qint64 length) const {
  if (fd_ < 0 || offset < 0 || length < 0) return std::nullopt;
  QByteArray bytes(length, Qt::Uninitialized);
  qint64 got = 0;
  while (got < length) {
    const ssize_t n = ::pread(fd_, bytes.data() + got, static_cast<size_t>(length - got), offset + got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += n;
  }
  bytes.truncate(got);
  return bytes;
}

std::optional<QByteArray> PlainFile::ReadExactly(qint64 offset, qint64 length) const {
  std::optional<QByteArray> bytes = ReadAt(offset, length);
  return bytes && bytes->size() == length ? bytes : std::nullopt;
}

std::optional<QByteArray> PlainFile::ReadAll(qint64 limit) const {
  // The length it has now only sizes the first read: the file may grow.
  const qint64 size = Size();
  if (size < 0 || size > limit) return std::nullopt;
  std::optional<QByteArray> bytes = ReadAt(0, size + 1);
  while (bytes && bytes->size() > size && bytes->size() <= limit) {
    const std::optional<QByteArray> more = ReadAt(bytes->size(), 64 * 1024);
    if (!more) return std::nullopt;
    if (more->isEmpty()) break;
    bytes->append(*more);
  }
  if (!bytes || bytes->size() > limit) return std::nullopt;
  return bytes;
}

bool PlainFile::writeAll(const QByteArray& bytes, qint64 offset) {
  if (fd_ < 0) return ok_ = false;
  qsizetype done = 0;
  while (ok_ && done < bytes.size()) {
    const char* from = bytes.constData() + done;
    const auto left = static_cast<size_t>(bytes.size() - done);
    const ssize_t n = offset < 0 ? ::write(fd_, from, left) : ::pwrite(fd_, from, left, offset + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ok_ = false;
    else done += n;
  }
  return ok_;
}

bool PlainFile::Write(const QByteArray& bytes) { return writeAll(bytes, -1); }

bool PlainFile::WriteAt(qint64 offset, const QByteArray& bytes) { return writeAll(bytes, offset); }

bool PlainFile::Truncate(qint64 size) {
  if (fd_ < 0 || ::ftruncate(fd_, size) != 0) ok_ = false;
  return ok_;
}

bool PlainFile::Sync() {
  if (fd_ < 0 || ::fsync(fd_) != 0) ok_ = false;
  return ok_;
}

bool PlainFile::Close() {
  if (fd_ < 0) return false;
  if (::close(fd_) != 0) ok_ = false;
  fd_ = -1;
  return ok_;
}

bool CreateSyncedFile(const QString& path, const QByteArray& bytes) {
  PlainFile f(path, PlainFile::CreateNew);
  if (!f.IsOpen()) return false;
  if (f.Write(bytes) && f.Sync() && f.Close()) return true;
  f.Close();
  ::unlink(QFile::encodeName(path).constData());
  return false;
}

}  // namespace tk
