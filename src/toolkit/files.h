#pragma once
// Files and text streams of the data folder. The data folder is the working
// folder of the process. Every failure is visible to the caller: a missing
// stream, a false return, or a stream whose Close() reports the error.
// What the folder holds is input (it may come from a stick or an archive):
// a name is always looked at itself, never through a symbolic link, only a
// regular file is read or written, and nothing blocks on a FIFO or a device.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class QSaveFile;

namespace tk {

class PlainFile;

// Reads a whole text file, line by line, without the line ends ("\n" or
// "\r\n"). The end is reached after the last line: a file that ends with a
// line end has no empty line after it. Text is UTF-8.
class TextInputStream {
 public:
  explicit TextInputStream(QByteArray content);
  bool IsEOF() const { return pos_ >= data_.size(); }
  QString ReadLine();
  // The next line as raw UTF-8 bytes; for scans that compare bytes.
  QByteArray ReadLineBytes();
  void Close() {}
  const QByteArray& Bytes() const { return data_; }

 private:
  QByteArray data_;
  qsizetype pos_ = 0;
};

// Writes lines ended by "\n", UTF-8. A stream made by CreateTextFile writes a
// temporary file that replaces the real one only when Close() succeeds: one
// dropped without a Close() (an early return) is rolled back, its temporary
// discarded and the file left as it was. One made by AppendToTextFile writes
// each line straight to the end of the file; dropped without Close(), it is
// closed as it goes.
class TextOutputStream {
 public:
  ~TextOutputStream();
  TextOutputStream(const TextOutputStream&) = delete;
  TextOutputStream& operator=(const TextOutputStream&) = delete;

  bool WriteLine(const QString& line);
  // Writes the lines in order, stopping at the first that cannot be written.
  bool WriteLines(const QStringList& lines);
  // Pushes what was written to the disk (fsync). Appends only.
  bool Sync();
  // True when every write, the flush and the close (or commit) succeeded.
  bool Close();
  bool ok() const { return ok_; }
  // Length of the file when an append stream was opened.
  qint64 SizeAtOpen() const { return sizeAtOpen_; }

 private:
  friend class FolderItem;
  TextOutputStream() = default;
  std::unique_ptr<PlainFile> append_;
  std::unique_ptr<QSaveFile> replace_;
  bool ok_ = true;
  bool closed_ = false;
  qint64 sizeAtOpen_ = 0;
};

class FolderItem {
 public:
  explicit FolderItem(QString path) : path_(std::move(path)) {}

  // A file of this folder, whether or not it exists.
  FolderItem Child(const QString& name) const;
  // True when anything stands at the name: a link, even one that leads
  // nowhere, is something (no file may be created through it), and so is a
  // name that cannot be looked at.
  bool Exists() const;
  // True when the name itself is a folder (a link to one is not).
  bool IsFolder() const;
  QString Name() const;
  QString Path() const { return path_; }
  // Absolute path, handed to programs as one argument.
  QString NativePath() const;

  // The whole regular file at the name. No stream when it is missing, is
  // anything else (a link, a folder, a FIFO, a device), is longer than a
  // gigabyte or cannot be read.
  std::unique_ptr<TextInputStream> OpenAsTextFile() const;
  // Creates or empties the file (through a temporary file in the folder and
  // a rename that replaces the name itself, so a failure leaves the old
  // file). No stream when it cannot be prepared, or when anything but a
  // regular file stands at the name.
  std::unique_ptr<TextOutputStream> CreateTextFile() const;
  // Opens the regular file at the name for appending, creating a missing
  // one. No stream on failure, or when anything else stands at the name.
  std::unique_ptr<TextOutputStream> AppendToTextFile() const;
  // Replaces the whole file by these lines, each ended by "\n", the way
  // CreateTextFile does. False, and the old file kept, on failure.
  bool ReplaceWithLines(const QStringList& lines) const;
  // Replaces the whole file by these exact bytes, the same way (puts a
  // file back as it was read).
  bool ReplaceWithBytes(const QByteArray& bytes) const;
  // Removes the name itself (a link goes, never what it leads to); true
  // when it is gone (or was never there). False for a folder.
  bool Delete() const;
  // Cuts the regular file at the name back to `size` bytes (takes back an
  // append), then syncs. False for anything else.
  bool Truncate(qint64 size) const;
  // Length in bytes of the regular file at the name; -1 when no regular
  // file stands there (missing, or a link, a folder, a FIFO, a device:
  // Exists() tells them apart).
  qint64 Size() const;

 private:
  QString path_;
};

// "" gives the data folder (the working folder); a bare name, that file in
// the working folder.
FolderItem GetFolderItem(const QString& path);

}  // namespace tk
