#include "toolkit/filechange.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace tk {

namespace {

ChangeStepHook& stepHook() {
  static ChangeStepHook hook;
  return hook;
}

StepAnswer ask(ChangeStep step, int index = 0) { return stepHook() ? stepHook()(step, index) : StepAnswer::Go; }

// --- plain file work, every call checked ---------------------------------

bool syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

bool writeSynced(QFile& f, const QByteArray& bytes) {
  if (f.write(bytes) != bytes.size() || !f.flush() || ::fsync(f.handle()) != 0) return false;
  f.close();
  return f.error() == QFileDevice::NoError;
}

// A new file holding exactly these bytes, on the disk.
bool createSynced(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return writeSynced(f, bytes);
}

bool appendSynced(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  return writeSynced(f, bytes);
}

qint64 sizeOf(const QString& path) {
  const QFileInfo info(path);
  return info.exists() ? info.size() : -1;
}

bool readRaw(const QString& path, QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  bytes = f.readAll();
  return f.error() == QFileDevice::NoError;
}

// The `length` bytes from `offset`, or nothing when the file is shorter.
std::optional<QByteArray> readAt(const QString& path, qint64 offset, qint64 length) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly) || !f.seek(offset)) return std::nullopt;
  QByteArray bytes = f.read(length);
  if (bytes.size() != length) return std::nullopt;
  return bytes;
}

// Takes an append back: the file's old length, or no file where there was none.
bool takeBack(const QString& path, qint64 sizeBefore) {
  if (sizeBefore < 0) return !QFile::exists(path) || QFile::remove(path);
  return FolderItem(path).Truncate(sizeBefore);
}

// --- the intent record ----------------------------------------------------
// A first line naming the format, a line with the SHA-256 of the body, then
// the body: length-prefixed fields ("5:hello,"), so that any name or byte
// survives and a record cut by a crash is recognised.

const QByteArray RecordMagic = QByteArrayLiteral("corvalenta change 1\n");
const QByteArray AppendKind = QByteArrayLiteral("append");
const QByteArray ReplaceKind = QByteArrayLiteral("replace");

void putField(QByteArray& out, const QByteArray& field) {
  out += QByteArray::number(field.size());
  out += ':';
  out += field;
  out += ',';
}

class FieldReader {
 public:
  explicit FieldReader(const QByteArray& body) : body_(body) {}
  std::optional<QByteArray> next() {
    const qsizetype colon = body_.indexOf(':', pos_);
    if (colon < 0 || colon == pos_ || colon - pos_ > 12) return std::nullopt;
    bool ok = false;
    const qint64 length = body_.mid(pos_, colon - pos_).toLongLong(&ok);
    if (!ok || length < 0 || length > body_.size() - colon - 2) return std::nullopt;
    const qsizetype start = colon + 1;
    if (body_.at(start + length) != ',') return std::nullopt;
    pos_ = start + length + 1;
    return body_.mid(start, length);
  }
  std::optional<qint64> number() {
    const auto f = next();
    if (!f) return std::nullopt;
    bool ok = false;
    const qint64 n = f->toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
  }
  bool atEnd() const { return pos_ == body_.size(); }

 private:
  const QByteArray& body_;
  qsizetype pos_ = 0;
};

QString recordPath() { return GetFolderItem(QString()).Child(PendingChangeRecord).Path(); }

// Names are kept relative to the data folder, so that a folder moved
// between the crash and the next start is still finished.
QByteArray nameInFolder(const QString& path) {
  return QDir(GetFolderItem(QString()).Path()).relativeFilePath(path).toUtf8();
}
QString pathInFolder(const QByteArray& name) { return GetFolderItem(QString()).Child(QString::fromUtf8(name)).Path(); }

bool writeRecord(const QByteArray& body) {
  QByteArray record = RecordMagic;
  record += QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
  record += '\n';
  record += body;
  const QString path = recordPath();
  return createSynced(path, record) && syncFolder(folderOf(path));
}

// Removes the record. One that cannot be removed is emptied instead: it
// then reads as a change that never began, so no later opening redoes a
// change this run finished or gave up.
void removeRecord(bool removable = true) {
  const QString path = recordPath();
  if (!QFile::exists(path) || (removable && QFile::remove(path))) return;
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.flush()) ::fsync(f.handle());
}

// The body of a sound record; nothing for a record cut short or garbled.
std::optional<QByteArray> readRecordBody(const QByteArray& record) {
  if (!record.startsWith(RecordMagic)) return std::nullopt;
  const qsizetype hashEnd = record.indexOf('\n', RecordMagic.size());
  if (hashEnd < 0) return std::nullopt;
  const QByteArray hash = record.mid(RecordMagic.size(), hashEnd - RecordMagic.size());
  QByteArray body = record.mid(hashEnd + 1);
  if (QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() != hash) return std::nullopt;
  return body;
}

// New contents prepared for a replacement that never began.
void removeStrayContents() {
  QDir folder(GetFolderItem(QString()).Path());
  const QStringList strays =
      folder.entryList({PendingContentPrefix + QLatin1Char('*')}, QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : strays) folder.remove(name);
}

QString preparedPath(const FolderItem& file) {
  return QDir(folderOf(file.Path())).filePath(PendingContentPrefix + file.Name());
}

// --- finishing a change after a crash ----------------------------------

bool finishAppend(const QString& path, qint64 sizeBefore, const QByteArray& bytes) {
  qint64 base = qMax<qint64>(sizeBefore, 0);
  const qint64 now = sizeOf(path);
  if (now >= base + bytes.size() && readAt(path, base, bytes.size()) == bytes) return true;  // already there
  if (now > base) {
    if (!FolderItem(path).Truncate(base)) return false;  // a part of the bytes made it: write them whole
  } else if (now >= 0) {
    base = now;
  }
  return appendSynced(path, bytes);
}

}  // namespace

FileWrite LinesInto(const FolderItem& file, const QStringList& lines) {
  QByteArray bytes;
  for (const QString& l : lines) {
    bytes += l.toUtf8();
    bytes += '\n';
  }
  return {file, bytes};
}

bool AppendAsOne(const std::vector<FileWrite>& parts) {
  std::vector<qint64> before;
  std::vector<QByteArray> appended;
  QByteArray body;
  putField(body, AppendKind);
  putField(body, QByteArray::number(static_cast<qulonglong>(parts.size())));
  for (const FileWrite& p : parts) {
    if (p.file.IsFolder()) return false;
    before.push_back(sizeOf(p.file.Path()));
    // A last line left without its end (a file saved by a text editor)
    // gets one first: otherwise it and the first new line would run into one.
    QByteArray bytes = p.bytes;
    if (before.back() > 0) {
      const std::optional<QByteArray> last = readAt(p.file.Path(), before.back() - 1, 1);
      if (last && *last != "\n" && !bytes.isEmpty()) bytes.prepend('\n');
    }
    putField(body, nameInFolder(p.file.Path()));
    putField(body, QByteArray::number(before.back()));
    putField(body, bytes);
    appended.push_back(std::move(bytes));
  }

  const StepAnswer record = ask(ChangeStep::WriteRecord);
  if (record == StepAnswer::Stop) return false;
  if (record == StepAnswer::Fail || !writeRecord(body)) {
    removeRecord();
    return false;
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const StepAnswer step = ask(ChangeStep::ChangeFile, static_cast<int>(i));
    if (step == StepAnswer::Stop) return false;
    if (step == StepAnswer::Go && appendSynced(parts[i].file.Path(), appended[i])) continue;
    // Every file back to what it held. The record goes in any case: the run
    // goes on, and a later start must not finish a change it gave up.
    for (std::size_t k = 0; k <= i; ++k) takeBack(parts[k].file.Path(), before[k]);
    removeRecord(ask(ChangeStep::RemoveRecord) != StepAnswer::Fail);
    return false;
  }
  // A file the change created must be in the folder before the record goes.
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (before[i] < 0) {
      syncFolder(folderOf(parts[i].file.Path()));
      break;
    }
  }
  const StepAnswer last = ask(ChangeStep::RemoveRecord);
  if (last == StepAnswer::Stop) return false;
  removeRecord(last == StepAnswer::Go);
  return true;
}

Replaced ReplaceAsOne(const std::vector<FileWrite>& parts) {
  // What each file held, to put it back when a later one cannot be replaced.
  std::vector<std::optional<QByteArray>> before;
  for (const FileWrite& p : parts) {
    if (p.file.IsFolder()) return Replaced::Nothing;
    before.emplace_back();
    if (p.file.Exists() && !readRaw(p.file.Path(), before.back().emplace())) return Replaced::Nothing;
  }
  const auto dropPrepared = [&] {
    for (const FileWrite& p : parts) QFile::remove(preparedPath(p.file));
  };

  QByteArray body;
  putField(body, ReplaceKind);
  putField(body, QByteArray::number(static_cast<qulonglong>(parts.size())));
  for (const FileWrite& p : parts) {
    const QString prepared = preparedPath(p.file);
    if (!createSynced(prepared, p.bytes)) {
      dropPrepared();
      return Replaced::Nothing;
    }
    putField(body, nameInFolder(prepared));
    putField(body, nameInFolder(p.file.Path()));
  }

  const StepAnswer record = ask(ChangeStep::WriteRecord);
  if (record == StepAnswer::Stop) return Replaced::Nothing;
  if (record == StepAnswer::Fail || !writeRecord(body)) {
    removeRecord();
    dropPrepared();
    return Replaced::Nothing;
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const StepAnswer step = ask(ChangeStep::ChangeFile, static_cast<int>(i));
    if (step == StepAnswer::Stop) return Replaced::Nothing;
    const QString target = parts[i].file.Path();
    if (step == StepAnswer::Go &&
        std::rename(QFile::encodeName(preparedPath(parts[i].file)).constData(), QFile::encodeName(target).constData()) == 0)
      continue;
    bool restored = true;
    for (std::size_t k = 0; k < i; ++k) {
      const StepAnswer undo = ask(ChangeStep::RestoreFile, static_cast<int>(k));
      if (undo == StepAnswer::Stop) return Replaced::Nothing;
      const FolderItem& f = parts[k].file;
      const bool ok = undo == StepAnswer::Go && (before[k] ? f.ReplaceWithBytes(*before[k]) : f.Delete());
      restored = ok && restored;
    }
    removeRecord(ask(ChangeStep::RemoveRecord) != StepAnswer::Fail);
    dropPrepared();
    return restored ? Replaced::Nothing : Replaced::Partly;
  }
  // The renames must be on the disk before the record that would redo them goes.
  if (!parts.empty()) syncFolder(folderOf(parts.front().file.Path()));
  const StepAnswer last = ask(ChangeStep::RemoveRecord);
  if (last == StepAnswer::Stop) return Replaced::All;
  removeRecord(last == StepAnswer::Go);
  return Replaced::All;
}

PendingChange FinishPendingChange() {
  PendingChange result;
  const QString path = recordPath();
  if (!QFile::exists(path)) {
    removeStrayContents();
    return result;
  }
  QByteArray record;
  if (!readRaw(path, record)) {
    result.outcome = PendingChange::Failed;
    result.files << PendingChangeRecord;
    return result;
  }

  // A record cut short was being written when the run stopped: the change
  // had not begun, and whatever it had prepared goes.
  const std::optional<QByteArray> body = readRecordBody(record);
  struct Entry {
    QByteArray name;
    QByteArray second;  // size before (append) or final name (replace)
    QByteArray bytes;
  };
  std::vector<Entry> entries;
  QByteArray kind;
  bool sound = body.has_value();
  if (sound) {
    FieldReader in(*body);
    const auto k = in.next();
    const auto count = in.number();
    sound = k && count && *count >= 0 && (*k == AppendKind || *k == ReplaceKind);
    if (sound) kind = *k;
    for (qint64 i = 0; sound && i < *count; ++i) {
      const auto a = in.next();
      const auto b = in.next();
      const auto c = kind == AppendKind ? in.next() : std::optional<QByteArray>(QByteArray());
      sound = a && b && c;
      if (sound) entries.push_back({*a, *b, *c});
    }
    sound = sound && in.atEnd();
  }
  if (!sound) {
    removeRecord();
    removeStrayContents();
    return result;
  }

  // The target of each file; a file that cannot take its part fails the
  // whole change before any file is touched.
  std::vector<QString> targets;
  bool ok = true;
  for (const Entry& e : entries) {
    const QByteArray& name = kind == AppendKind ? e.name : e.second;
    result.files << QString::fromUtf8(name);
    targets.push_back(pathInFolder(name));
    const QFileInfo target(targets.back());
    ok = ok && !target.isDir() && target.dir().exists();
  }
  if (ok && kind == AppendKind) {
    // What each file holds now, to leave it so when another cannot be finished.
    std::vector<qint64> found;
    for (const QString& t : targets) found.push_back(sizeOf(t));
    for (std::size_t i = 0; ok && i < entries.size(); ++i) {
      bool numberOk = false;
      const qint64 sizeBefore = entries[i].second.toLongLong(&numberOk);
      ok = numberOk && finishAppend(targets[i], sizeBefore, entries[i].bytes);
    }
    if (!ok) {
      for (std::size_t i = 0; i < targets.size(); ++i) takeBack(targets[i], found[i]);
    }
    ok = ok && syncFolder(GetFolderItem(QString()).Path());  // a file the finish created
  } else if (ok) {
    for (std::size_t i = 0; ok && i < entries.size(); ++i) {
      const QString prepared = pathInFolder(entries[i].name);
      // No prepared content left: that file was put in place already.
      if (!QFile::exists(prepared)) continue;
      ok = std::rename(QFile::encodeName(prepared).constData(), QFile::encodeName(targets[i]).constData()) == 0;
    }
    ok = syncFolder(GetFolderItem(QString()).Path()) && ok;
  }
  if (!ok) {
    result.outcome = PendingChange::Failed;
    return result;
  }
  removeRecord();
  removeStrayContents();
  result.outcome = PendingChange::Finished;
  return result;
}

void SetChangeStepHook(ChangeStepHook hook) { stepHook() = std::move(hook); }

}  // namespace tk
