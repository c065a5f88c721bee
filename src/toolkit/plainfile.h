#pragma once
// A regular file of the data folder, opened by its name alone. What the
// folder holds is input: a symbolic link there may point anywhere, and a
// FIFO or a device may block an open or a read for ever. So a name is never
// followed through a link, and only a regular file is opened; every other
// thing at the name is refused without blocking.

#include <QByteArray>
#include <QString>
#include <optional>

namespace tk {

// Far beyond any file of a fair, and still small enough to hold at once: a
// longer one was not written by this program.
constexpr qint64 LargestDataFile = qint64(1) << 30;

// What stands at a name, the name itself looked at (never through a link).
enum class EntryKind {
  None,   // nothing
  File,   // a regular file
  Other,  // anything else (a folder, a link, a FIFO, a device), or a name that cannot be looked at
};
EntryKind EntryAt(const QString& path);
// True when the name itself is a folder (a link to one is not).
bool FolderAt(const QString& path);
// Length of the regular file at a name, the name itself looked at; -1 when
// anything else or nothing stands there.
qint64 FileSizeAt(const QString& path);

class PlainFile {
 public:
  enum Mode {
    Read,       // an existing file
    ReadWrite,  // an existing file, written in place
    Append,     // written at its end; created when there is none
    CreateNew,  // a new file; refused when anything stands at the name
  };
  // Opens the file; IsOpen() is false when anything but a regular file (or,
  // for Append and CreateNew, nothing) stands at the name, or the open fails.
  PlainFile(const QString& path, Mode mode);
  ~PlainFile();
  PlainFile(const PlainFile&) = delete;
  PlainFile& operator=(const PlainFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // Length in bytes; -1 when not open.
  qint64 Size() const;
  // Up to `length` bytes from `offset`: fewer at the end of the file;
  // nothing on a read error.
  std::optional<QByteArray> ReadAt(qint64 offset, qint64 length) const;
  // Exactly `length` bytes from `offset`; nothing when the file is shorter.
  std::optional<QByteArray> ReadExactly(qint64 offset, qint64 length) const;
  // Everything from the start, or nothing when it is longer than `limit`
  // (the file is never read whole first) or a read fails.
  std::optional<QByteArray> ReadAll(qint64 limit) const;
  // Each call writes all its bytes, or fails.
  bool Write(const QByteArray& bytes);
  bool WriteAt(qint64 offset, const QByteArray& bytes);
  bool Truncate(qint64 size);
  // Pushes what was written to the disk.
  bool Sync();
  // True when the file was open and every call since succeeded, the close included.
  bool Close();

 private:
  // Writes all the bytes, at `offset` (-1: where the file is written).
  bool writeAll(const QByteArray& bytes, qint64 offset);

  int fd_ = -1;
  bool ok_ = true;
};

// Writes exactly these bytes into a new file at `path`, on the disk, or
// fails leaving no file there (nothing standing at the name is replaced).
bool CreateSyncedFile(const QString& path, const QByteArray& bytes);

}  // namespace tk
