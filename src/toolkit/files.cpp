#include "toolkit/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <unistd.h>

namespace tk {

namespace {

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
  QIODevice* dev = append_ ? static_cast<QIODevice*>(append_.get())
                           : static_cast<QIODevice*>(replace_.get());
  if (!dev || dev->write(bytes) != bytes.size()) ok_ = false;
  return ok_;
}

bool TextOutputStream::WriteLines(const QStringList& lines) {
  for (const QString& line : lines)
    if (!WriteLine(line)) return false;
  return true;
}

bool TextOutputStream::Sync() {
  if (closed_ || !append_) return ok_;
  if (!append_->flush() || ::fsync(append_->handle()) != 0) ok_ = false;
  return ok_;
}

bool TextOutputStream::Close() {
  if (closed_) return ok_;
  closed_ = true;
  if (append_) {
    if (!append_->flush()) ok_ = false;
    append_->close();
    if (append_->error() != QFileDevice::NoError) ok_ = false;
  } else if (replace_) {
    ok_ = finishReplace(*replace_, ok_);
  }
  return ok_;
}

FolderItem FolderItem::Child(const QString& name) const {
  return FolderItem(QDir(path_).filePath(name));
}

bool FolderItem::Exists() const { return QFileInfo::exists(path_); }

bool FolderItem::IsFolder() const { return QFileInfo(path_).isDir(); }

QString FolderItem::Name() const { return QFileInfo(path_).fileName(); }

QString FolderItem::NativePath() const {
  return QDir::toNativeSeparators(QFileInfo(path_).absoluteFilePath());
}

std::unique_ptr<TextInputStream> FolderItem::OpenAsTextFile() const {
  // Only a regular file has an end to read to (a device may have none).
  QFileInfo info(path_);
  if (!info.isFile()) return nullptr;
  QFile f(path_);
  if (!f.open(QIODevice::ReadOnly)) return nullptr;
  QByteArray content = f.readAll();
  if (f.error() != QFileDevice::NoError) return nullptr;
  return std::make_unique<TextInputStream>(std::move(content));
}

std::unique_ptr<TextOutputStream> FolderItem::CreateTextFile() const {
  if (IsFolder()) return nullptr;
  auto file = std::make_unique<QSaveFile>(path_);
  if (!file->open(QIODevice::WriteOnly)) return nullptr;
  std::unique_ptr<TextOutputStream> s(new TextOutputStream);
  s->replace_ = std::move(file);
  return s;
}

std::unique_ptr<TextOutputStream> FolderItem::AppendToTextFile() const {
  if (IsFolder()) return nullptr;
  auto file = std::make_unique<QFile>(path_);
  if (!file->open(QIODevice::WriteOnly | QIODevice::Append)) return nullptr;
  std::unique_ptr<TextOutputStream> s(new TextOutputStream);
  s->sizeAtOpen_ = file->size();
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
  if (IsFolder()) return false;
  QSaveFile f(path_);
  if (!f.open(QIODevice::WriteOnly)) return false;
  return finishReplace(f, f.write(bytes) == bytes.size());
}

bool FolderItem::Delete() const {
  if (IsFolder()) return false;
  return !QFileInfo::exists(path_) || QFile::remove(path_);
}

bool FolderItem::Truncate(qint64 size) const {
  QFile f(path_);
  if (!f.open(QIODevice::ReadWrite)) return false;
  if (!f.resize(size)) return false;
  if (!f.flush() || ::fsync(f.handle()) != 0) return false;
  f.close();
  return f.error() == QFileDevice::NoError;
}

qint64 FolderItem::Size() const {
  QFileInfo info(path_);
  return info.exists() ? info.size() : -1;
}

FolderItem GetFolderItem(const QString& path) {
  if (path.isEmpty()) return FolderItem(QDir::currentPath());
  return FolderItem(QDir::current().filePath(path));
}

}  // namespace tk
