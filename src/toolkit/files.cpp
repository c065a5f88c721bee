#include "toolkit/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <unistd.h>

#include "toolkit/plainfile.h"

namespace tk {

namespace {

// A replacement's temporary file, or none when anything but a regular file
// stands at the name: QSaveFile would write through a link into what it
// leads to. The rename at the commit replaces the name itself.
std::unique_ptr<QSaveFile> openReplacement(const QString& path) {
  if (EntryAt(path) == EntryKind::Other) return nullptr;
  auto file = std::make_unique<QSaveFile>(path);
  if (!file->open(QIODevice::WriteOnly)) return nullptr;
  return file;
}

// Ends a replacement: the temporary file takes the real one's place only
// when everything reached it. commit() alone does not see a buffered write
// that fails at its flush (a full disk) and would put a cut file in place.
bool finishReplace(QSaveFile& file, bool ok) {
  if (ok && !file.flush()) ok = false;
  if (ok) return file.commit();
  file.cancelWriting();
  file.commit();  // discards the temporary file, keeps the old one
  return false;
}

}  // namespace

TextInputStream::TextInputStream(QByteArray content) : data_(std::move(content)) {
  // A file saved by a spreadsheet may start with a byte order mark; it is
  // not part of the first line's text.
  if (data_.startsWith("\xEF\xBB\xBF")) data_.remove(0, 3);
}

QByteArray TextInputStream::ReadLineBytes() {
  if (IsEOF()) return {};
  qsizetype end = data_.indexOf('\n', pos_);
  qsizetype next = end < 0 ? data_.size() : end + 1;
  if (end < 0) end = data_.size();
  qsizetype stop = end;
  if (stop > pos_ && data_[stop - 1] == '\r') --stop;
  QByteArray line = data_.mid(pos_, stop - pos_);
  pos_ = next;
  return line;
}

QString TextInputStream::ReadLine() { return QString::fromUtf8(ReadLineBytes()); }

TextOutputStream::~TextOutputStream() {
  // Only an explicit, checked Close() puts a replacement in place; the save
  // file discards its temporary when it goes uncommitted.
  if (append_) Close();
}

bool TextOutputStream::WriteLine(const QString& line) {
  if (closed_) return ok_ = false;
  QByteArray bytes = line.toUtf8();
  bytes.append('\n');
  if (append_) {
    if (!append_->Write(bytes)) ok_ = false;
  } else if (!replace_ || replace_->write(bytes) != bytes.size()) {
    ok_ = false;
  }
  return ok_;
}

bool TextOutputStream::WriteLines(const QStringList& lines) {
  for (const QString& line : lines)
    if (!WriteLine(line)) return false;
  return true;
}

bool TextOutputStream::Sync() {
  if (closed_ || !append_) return ok_;
  if (!append_->Sync()) ok_ = false;
  return ok_;
}

bool TextOutputStream::Close() {
  if (closed_) return ok_;
  closed_ = true;
  if (append_) {
    if (!append_->Close()) ok_ = false;
  } else if (replace_) {
    ok_ = finishReplace(*replace_, ok_);
  }
  return ok_;
}

FolderItem FolderItem::Child(const QString& name) const {
  return FolderItem(QDir(path_).filePath(name));
}

bool FolderItem::Exists() const { return EntryAt(path_) != EntryKind::None; }

bool FolderItem::IsFolder() const { return FolderAt(path_); }

QString FolderItem::Name() const { return QFileInfo(path_).fileName(); }

QString FolderItem::NativePath() const {
  return QDir::toNativeSeparators(QFileInfo(path_).absoluteFilePath());
}

std::unique_ptr<TextInputStream> FolderItem::OpenAsTextFile() const {
  PlainFile f(path_, PlainFile::Read);
  std::optional<QByteArray> content = f.ReadAll(LargestDataFile);
  if (!f.Close() || !content) return nullptr;
  return std::make_unique<TextInputStream>(std::move(*content));
}

std::unique_ptr<TextOutputStream> FolderItem::CreateTextFile() const {
  auto file = openReplacement(path_);
  if (!file) return nullptr;
  std::unique_ptr<TextOutputStream> s(new TextOutputStream);
  s->replace_ = std::move(file);
  return s;
}

std::unique_ptr<TextOutputStream> FolderItem::AppendToTextFile() const {
  auto file = std::make_unique<PlainFile>(path_, PlainFile::Append);
  if (!file->IsOpen()) return nullptr;
  std::unique_ptr<TextOutputStream> s(new TextOutputStream);
  s->sizeAtOpen_ = file->Size();
  s->append_ = std::move(file);
  return s;
}

bool FolderItem::ReplaceWithLines(const QStringList& lines) const {
  auto out = CreateTextFile();
  if (!out) return false;
  out->WriteLines(lines);
  return out->Close();
}

bool FolderItem::ReplaceWithBytes(const QByteArray& bytes) const {
  auto f = openReplacement(path_);
  if (!f) return false;
  return finishReplace(*f, f->write(bytes) == bytes.size());
}

bool FolderItem::Delete() const {
  // unlink() takes the name itself, a link included, and refuses a folder.
  if (EntryAt(path_) == EntryKind::None) return true;
  return ::unlink(QFile::encodeName(path_).constData()) == 0 || errno == ENOENT;
}

bool FolderItem::Truncate(qint64 size) const {
  PlainFile f(path_, PlainFile::ReadWrite);
  const bool ok = f.Truncate(size) && f.Sync();
  return f.Close() && ok;
}

qint64 FolderItem::Size() const { return FileSizeAt(path_); }

FolderItem GetFolderItem(const QString& path) {
  if (path.isEmpty()) return FolderItem(QDir::currentPath());
  return FolderItem(QDir::current().filePath(path));
}

}  // namespace tk
