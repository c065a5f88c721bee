#include "storage/folderfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "storage/changerecord.h"
#include "toolkit/files.h"

namespace storage {

namespace {

// A refused record is kept under this name, numbered when it is taken.
const QString SetAsideName = QStringLiteral(".corvalenta-change-endommagee");
constexpr int SetAsideTries = 100;
// Of a record too large to be one of ours, the part read for its names.
constexpr qint64 TooLargeHead = 64 * 1024;
constexpr qint64 DigestPiece = 1024 * 1024;

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

QString recordPath() { return PathOf(ChangeRecordName); }

}  // namespace

QString DataFolder() { return tk::GetFolderItem(QString()).Path(); }

QString PathOf(const QString& name) { return QDir(DataFolder()).filePath(name); }

bool SyncFolder() {
  const int fd = ::open(encoded(DataFolder()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

FileSeen SeeFile(const QString& path) {
  FileSeen seen;
  seen.kind = tk::EntryAt(path);
  if (seen.kind != tk::EntryKind::File) return seen;
  const tk::PlainFile f(path, tk::PlainFile::Read);
  QCryptographicHash hash(QCryptographicHash::Sha1);
  seen.size = f.Size();
  if (seen.size > tk::LargestDataFile) return seen;
  for (qint64 at = 0; f.IsOpen();) {
    const std::optional<QByteArray> piece = f.ReadAt(at, DigestPiece);
    if (!piece) break;
    if (piece->isEmpty()) {
      seen.digest = hash.result();
      return seen;
    }
    hash.addData(*piece);
    at += piece->size();
  }
  seen.unreadable = true;
  return seen;
}

bool AppendSynced(const QString& path, const QByteArray& bytes) {
  tk::PlainFile f(path, tk::PlainFile::Append);
  const bool ok = f.Write(bytes) && f.Sync();
  return f.Close() && ok;
}

bool TakeBackAppend(const QString& path, qint64 sizeBefore) {
  if (sizeBefore < 0) return RemoveName(path);
  return tk::FileSizeAt(path) == sizeBefore || tk::FolderItem(path).Truncate(sizeBefore);
}

bool GiveSecondName(const QString& path, const QString& second) {
  return RemoveName(second) && ::link(encoded(path).constData(), encoded(second).constData()) == 0;
}

bool RemoveName(const QString& path) { return tk::FolderItem(path).Delete(); }

bool RenameFile(const QString& from, const QString& to) {
  if (tk::EntryAt(from) != tk::EntryKind::File || tk::EntryAt(to) == tk::EntryKind::Other) return false;
  return std::rename(encoded(from).constData(), encoded(to).constData()) == 0;
}

RecordFound ReadRecordFile() {
  RecordFound found;
  const QString path = recordPath();
  switch (tk::EntryAt(path)) {
    case tk::EntryKind::None:
      return found;
    case tk::EntryKind::Other:
      found.state = RecordFound::NotAFile;
      return found;
    case tk::EntryKind::File:
      break;
  }
  const tk::PlainFile f(path, tk::PlainFile::Read);
  const qint64 size = f.Size();
  if (!f.IsOpen() || size < 0) {
    found.state = tk::EntryAt(path) == tk::EntryKind::File ? RecordFound::Unreadable : RecordFound::NotAFile;
    return found;
  }
  if (size == 0) {
    found.state = RecordFound::Empty;
    return found;
  }
  const std::optional<QByteArray> bytes = f.ReadAll(MaxRecordSize);
  if (bytes) {
    found.state = RecordFound::Read;
    found.bytes = *bytes;
    return found;
  }
  const std::optional<QByteArray> head = f.ReadAt(0, TooLargeHead);
  found.state = head && f.Size() > MaxRecordSize ? RecordFound::TooLarge : RecordFound::Unreadable;
  found.bytes = head.value_or(QByteArray());
  return found;
}

bool WriteRecordFile(const QByteArray& record) {
  const QString path = recordPath();
  const tk::EntryKind there = tk::EntryAt(path);
  if (there == tk::EntryKind::Other || (there == tk::EntryKind::File && tk::FileSizeAt(path) != 0)) return false;
  const QString beside = PathOf(PreparedName(ChangeRecordName));
  if (!RemoveName(beside) || !tk::CreateSyncedFile(beside, record)) return false;
  if (!RenameFile(beside, path)) {
    RemoveName(beside);
    return false;
  }
  if (SyncFolder()) return true;
  // A record that may not last must not begin a change.
  if (!RemoveRecordFile()) EmptyRecordFile();
  return false;
}

bool MarkRecordTold() {
  tk::PlainFile f(recordPath(), tk::PlainFile::ReadWrite);
  const bool ok = f.WriteAt(StateLineOffset(), ToldStateLine()) && f.Sync();
  return f.Close() && ok;
}

bool RemoveRecordFile() { return RemoveName(recordPath()); }

bool EmptyRecordFile() { return tk::FolderItem(recordPath()).Truncate(0); }

QString SetRecordAside() {
  const QString path = recordPath();
  for (int n = 1; n <= SetAsideTries; ++n) {
    const QString name = n == 1 ? SetAsideName : SetAsideName + QLatin1Char('-') + QString::number(n);
    // Never over another record set aside: each may be the only trace of a change.
    const QByteArray to = encoded(PathOf(name));
    int moved = ::renameat2(AT_FDCWD, encoded(path).constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
    if (moved != 0 && (errno == EINVAL || errno == ENOSYS)) {  // a file system or a system without the flag
      if (tk::EntryAt(PathOf(name)) != tk::EntryKind::None) continue;
      moved = std::rename(encoded(path).constData(), to.constData());
    }
    if (moved == 0) {
      // Unsynced, a power cut may bring the record back: it is then set aside again.
      SyncFolder();
      return name;
    }
    if (errno != EEXIST) return QString();
  }
  return QString();
}

namespace {

QStringList strayContents() {
  return QDir(DataFolder())
      .entryList({PreparedContentPrefix + QLatin1Char('*'), KeptContentPrefix + QLatin1Char('*')},
                 QDir::Files | QDir::Hidden | QDir::System);
}

}  // namespace

void RemoveStrayContents() {
  for (const QString& name : strayContents()) RemoveName(PathOf(name));
}

void SetStrayContentsAside(const QString& recordAside) {
  // One that cannot be moved goes at the next start, as any stray does.
  for (const QString& name : strayContents())
    if (tk::EntryAt(PathOf(recordAside + name)) == tk::EntryKind::None) RenameFile(PathOf(name), PathOf(recordAside + name));
}

}  // namespace storage
