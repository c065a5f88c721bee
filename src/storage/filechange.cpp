#include "storage/filechange.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace storage {

namespace {

ChangeStepHook& stepHook() {
  static ChangeStepHook hook;
  return hook;
}

StepAnswer ask(ChangeStep step, int index = 0) { return stepHook() ? stepHook()(step, index) : StepAnswer::Go; }

// The change this run gave up without taking it back, and the data folder
// it was left in.
struct LeftChange {
  QString folder;
  QStringList files;
};

LeftChange& leftChange() {
  static LeftChange left;
  return left;
}

// --- plain file work, every call checked ---------------------------------

bool syncFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }
QString dataFolder() { return tk::GetFolderItem(QString()).Path(); }

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

// Takes an append back: the file's old length, or no file where there was
// none. A file that got nothing is left alone (an append-only file or a
// device cannot be cut, and need not be).
bool takeBack(const QString& path, qint64 sizeBefore) {
  if (sizeBefore < 0) return !QFile::exists(path) || QFile::remove(path);
  return sizeOf(path) == sizeBefore || tk::FolderItem(path).Truncate(sizeBefore);
}

// Tells a file's content from another (a hand edit), not from a forgery:
// the fastest digest will do, since a removal takes two of the journal.
QByteArray digest(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1); }

// --- the intent record ----------------------------------------------------
// A first line naming the format; a line saying whether the run that wrote
// it gave the change up and said so ("told", written over "open" in place,
// so that even a full disk takes it); a line with the SHA-256 of the body;
// then the body: length-prefixed fields ("5:hello,"), so that any name or
// byte survives and a record cut by a crash is recognised.
//
// An append names each file, its length when the change found it (-1: no
// file), the last bytes before the change's place, and the bytes appended.
// A replacement names each file's prepared content and the file, the
// file's old length (-1: no file) and the SHA-1 digests of its old and new
// contents. The first format (still read) had neither tails nor digests.

const QByteArray RecordFormat1 = QByteArrayLiteral("corvalenta change 1\n");
const QByteArray RecordFormat2 = QByteArrayLiteral("corvalenta change 2\n");
const QByteArray StateOpen = QByteArrayLiteral("open\n");
const QByteArray StateTold = QByteArrayLiteral("told\n");
const QByteArray AppendKind = QByteArrayLiteral("append");
const QByteArray ReplaceKind = QByteArrayLiteral("replace");
// Enough of a file's end to tell it from the same file edited by hand: an
// edit that moves the bytes before the change's place shows here.
constexpr qint64 TailLength = 64;

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

QString recordPath() { return tk::GetFolderItem(QString()).Child(PendingChangeRecord).Path(); }

// Names are kept relative to the data folder, so that a folder moved
// between the crash and the next start is still finished.
QByteArray nameInFolder(const QString& path) { return QDir(dataFolder()).relativeFilePath(path).toUtf8(); }
QString pathInFolder(const QByteArray& name) { return tk::GetFolderItem(QString()).Child(QString::fromUtf8(name)).Path(); }

bool writeRecord(const QByteArray& body) {
  QByteArray record = RecordFormat2 + StateOpen;
  record += QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
  record += '\n';
  record += body;
  const QString path = recordPath();
  return createSynced(path, record) && syncFolder(folderOf(path));
}

// Removes the record. One that cannot be removed is emptied instead: it
// then reads as a change that never began, so no later opening redoes a
// change this run finished or gave up. False when it is neither.
bool removeRecord(bool removable = true) {
  const QString path = recordPath();
  if (!QFile::exists(path) || (removable && QFile::remove(path))) return true;
  return createSynced(path, QByteArray());
}

// Keeps the record of a change this run gave up half-way: marked as one the
// user was told about, and no other change begins before the next start.
void leaveChange(const std::vector<FileWrite>& parts) {
  // The mark only lets the next start say so; the record is whole without it.
  QFile f(recordPath());
  if (f.open(QIODevice::ReadWrite) && f.seek(RecordFormat2.size()) && f.write(StateTold) == StateTold.size() &&
      f.flush())
    ::fsync(f.handle());
  LeftChange& left = leftChange();
  left.folder = dataFolder();
  left.files.clear();
  for (const FileWrite& p : parts) left.files << QString::fromUtf8(nameInFolder(p.file.Path()));
}

// One file as a sound record names it.
struct RecordedFile {
  QByteArray name;      // the file changed
  QByteArray prepared;  // replacement: its prepared new content
  qint64 sizeBefore = -1;
  std::optional<QByteArray> tail;  // append: the bytes before the change's place
  QByteArray bytes;                // append: the bytes appended
  std::optional<QByteArray> oldDigest, newDigest;  // replacement
};

struct Record {
  bool append = true;
  bool told = false;
  std::vector<RecordedFile> files;
};

// The body of a sound record and the rest of its head; nothing for a record
// cut short or garbled.
std::optional<QByteArray> readRecordBody(const QByteArray& record, int& format, bool& told) {
  qsizetype at = 0;
  if (record.startsWith(RecordFormat2)) {
    format = 2;
    told = record.mid(RecordFormat2.size(), StateTold.size()) == StateTold;
    at = RecordFormat2.size() + StateOpen.size();
  } else if (record.startsWith(RecordFormat1)) {
    format = 1;
    told = false;
    at = RecordFormat1.size();
  } else {
    return std::nullopt;
  }
  const qsizetype hashEnd = record.indexOf('\n', at);
  if (hashEnd < 0) return std::nullopt;
  const QByteArray hash = record.mid(at, hashEnd - at);
  QByteArray body = record.mid(hashEnd + 1);
  if (QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() != hash) return std::nullopt;
  return body;
}

std::optional<Record> readRecord(const QByteArray& raw) {
  int format = 0;
  Record r;
  const std::optional<QByteArray> body = readRecordBody(raw, format, r.told);
  if (!body) return std::nullopt;
  FieldReader in(*body);
  const auto kind = in.next();
  const auto count = in.number();
  if (!kind || !count || *count < 0 || (*kind != AppendKind && *kind != ReplaceKind)) return std::nullopt;
  r.append = *kind == AppendKind;
  for (qint64 i = 0; i < *count; ++i) {
    RecordedFile f;
    if (r.append) {
      const auto name = in.next();
      const auto size = in.number();
      const auto tail = format >= 2 ? in.next() : std::optional<QByteArray>(QByteArray());
      const auto bytes = in.next();
      if (!name || !size || !tail || !bytes) return std::nullopt;
      f.name = *name;
      f.sizeBefore = *size;
      if (format >= 2) f.tail = *tail;
      f.bytes = *bytes;
    } else {
      const auto prepared = in.next();
      const auto name = in.next();
      if (!prepared || !name) return std::nullopt;
      f.prepared = *prepared;
      f.name = *name;
      if (format >= 2) {
        const auto size = in.number();
        f.oldDigest = in.next();
        f.newDigest = in.next();
        if (!size || !f.oldDigest || !f.newDigest) return std::nullopt;
        f.sizeBefore = *size;
      }
    }
    r.files.push_back(std::move(f));
  }
  if (!in.atEnd()) return std::nullopt;
  return r;
}

// New contents prepared for a replacement that never began.
void removeStrayContents() {
  QDir folder(dataFolder());
  const QStringList strays =
      folder.entryList({PendingContentPrefix + QLatin1Char('*'), KeptContentPrefix + QLatin1Char('*')},
                       QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : strays) folder.remove(name);
}

// The second name a replacement gives each file's new content as it puts
// it in place.
QString keptPath(const QString& path) {
  const QFileInfo info(path);
  return QDir(info.absolutePath()).filePath(KeptContentPrefix + info.fileName());
}

QString preparedPath(const tk::FolderItem& file) {
  return QDir(folderOf(file.Path())).filePath(PendingContentPrefix + file.Name());
}

// --- finishing a change after a crash ----------------------------------

// What finishing still has to do to one file; nothing when the file is no
// longer the one the change found.
struct FileWork {
  qint64 cutTo = -1;    // cut back to this length first (-1: no cut)
  QByteArray append;    // then append these bytes (append)
  bool rename = false;  // put the new content in place (replacement)
  bool dropPrepared = false;
  QString from;  // the new content's name, when not the prepared one
};

// Bytes the change wrote, or zeros where it was writing them (a power cut
// can leave the end of an unsynced append zeroed).
bool writtenBy(const QByteArray& found, const QByteArray& bytes) {
  if (found.size() > bytes.size()) return false;
  for (qsizetype i = 0; i < found.size(); ++i)
    if (found.at(i) != bytes.at(i) && found.at(i) != '\0') return false;
  return true;
}

std::optional<FileWork> appendWork(const QString& path, const RecordedFile& f) {
  const qint64 base = qMax<qint64>(f.sizeBefore, 0);
  const qint64 now = sizeOf(path);
  if (now < 0) {
    if (f.sizeBefore >= 0) return std::nullopt;  // the file the change found has gone
    return FileWork{-1, f.bytes, false, false, {}};
  }
  if (now < base) return std::nullopt;
  if (f.tail && !f.tail->isEmpty() && readAt(path, base - f.tail->size(), f.tail->size()) != *f.tail)
    return std::nullopt;
  if (now - base >= f.bytes.size()) {
    // All of the change is there (a line added after it is left alone).
    if (readAt(path, base, f.bytes.size()) == f.bytes) return FileWork{};
    if (now - base > f.bytes.size()) return std::nullopt;
  }
  const std::optional<QByteArray> found = readAt(path, base, now - base);
  if (!found || !writtenBy(*found, f.bytes)) return std::nullopt;
  if (f.bytes.startsWith(*found)) return FileWork{-1, f.bytes.mid(found->size()), false, false, {}};
  return FileWork{base, f.bytes, false, false, {}};
}

// The file as digested: `size` -1 for no file.
bool holds(const QString& path, qint64 size, const QByteArray& fileDigest) {
  QByteArray bytes;
  if (size < 0) return !QFileInfo::exists(path);
  return sizeOf(path) == size && readRaw(path, bytes) && digest(bytes) == fileDigest;
}

std::optional<FileWork> replaceWork(const QString& prepared, const QString& path, const RecordedFile& f) {
  const bool ready = QFile::exists(prepared);
  if (!f.newDigest) return FileWork{-1, {}, ready, false, {}};  // first format: nothing to check
  QByteArray content;
  const bool isNew = readRaw(path, content) && digest(content) == *f.newDigest;
  if (ready) {
    QByteArray preparedBytes;
    if (!readRaw(prepared, preparedBytes) || digest(preparedBytes) != *f.newDigest) return std::nullopt;
    if (isNew) return FileWork{-1, {}, false, true, {}};
    if (holds(path, f.sizeBefore, *f.oldDigest)) return FileWork{-1, {}, true, false, {}};
    return std::nullopt;
  }
  // Put in place already, and perhaps edited by hand since: left as it is.
  // A file back to its old content was put back by a run that could not
  // take the whole change back: its new content kept beside it finishes it.
  if (!isNew && *f.oldDigest != *f.newDigest && holds(path, f.sizeBefore, *f.oldDigest)) {
    const QString kept = keptPath(path);
    QByteArray keptBytes;
    if (QFile::exists(kept) && readRaw(kept, keptBytes) && digest(keptBytes) == *f.newDigest)
      return FileWork{-1, {}, true, false, kept};
    return std::nullopt;
  }
  return FileWork{};
}

// The record an earlier run left; nothing when there is none, when it was
// cut short while being written (the change had not begun: whatever it had
// prepared goes), or when it cannot be read (then `result` says so).
std::optional<Record> readPendingRecord(PendingChange& result) {
  const QString path = recordPath();
  if (!QFile::exists(path)) {
    removeStrayContents();
    return std::nullopt;
  }
  QByteArray raw;
  if (!readRaw(path, raw)) {
    result.outcome = PendingChange::Failed;
    result.files << PendingChangeRecord;
    return std::nullopt;
  }
  std::optional<Record> record = readRecord(raw);
  if (!record) {
    removeRecord();
    removeStrayContents();
  }
  return record;
}

// The path of each file of the change; nothing when one of them cannot take
// its part (a folder in its place, or no folder for it), so that the whole
// change fails before any file is touched.
std::optional<std::vector<QString>> targetsOf(const Record& record) {
  std::vector<QString> targets;
  for (const RecordedFile& f : record.files) {
    targets.push_back(pathInFolder(f.name));
    const QFileInfo target(targets.back());
    if (target.isDir() || !target.dir().exists()) return std::nullopt;
  }
  return targets;
}

// What finishing has left to do to each file. Every file must be the one
// the change found, or that file with part or all of the change; the name
// of any other goes to `changed`, and it is left as it is.
std::vector<FileWork> workOf(const Record& record, const std::vector<QString>& targets, const QStringList& names,
                             QStringList& changed) {
  std::vector<FileWork> work;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const RecordedFile& f = record.files[i];
    const std::optional<FileWork> w =
        record.append ? appendWork(targets[i], f) : replaceWork(pathInFolder(f.prepared), targets[i], f);
    if (w) {
      work.push_back(*w);
    } else {
      changed << names.at(static_cast<int>(i));
    }
  }
  return work;
}

bool finishAppends(const std::vector<QString>& targets, const std::vector<FileWork>& work) {
  // What each file holds now, to leave it so when another cannot be finished.
  std::vector<qint64> found;
  for (const QString& t : targets) found.push_back(sizeOf(t));
  bool ok = true;
  for (std::size_t i = 0; ok && i < targets.size(); ++i) {
    if (work[i].cutTo >= 0) ok = tk::FolderItem(targets[i]).Truncate(work[i].cutTo);
    if (ok && !work[i].append.isEmpty()) ok = appendSynced(targets[i], work[i].append);
  }
  if (!ok) {
    for (std::size_t i = 0; i < targets.size(); ++i)
      if (sizeOf(targets[i]) > found[i]) takeBack(targets[i], found[i]);
  }
  return ok;
}

bool finishReplacements(const Record& r, const std::vector<QString>& targets, const std::vector<FileWork>& work) {
  bool ok = true;
  for (std::size_t i = 0; ok && i < targets.size(); ++i) {
    const QString prepared = pathInFolder(r.files[i].prepared);
    const QString from = work[i].from.isEmpty() ? prepared : work[i].from;
    if (work[i].rename)
      ok = std::rename(QFile::encodeName(from).constData(), QFile::encodeName(targets[i]).constData()) == 0;
    else if (work[i].dropPrepared)
      QFile::remove(prepared);
  }
  return ok;
}

// Takes back the appends to files 0..last after a failure in the run. The
// record goes once every file is as it was; otherwise it stays, for the
// next start to finish the change.
void giveUpAppend(const std::vector<FileWrite>& parts, const std::vector<qint64>& before, std::size_t last) {
  bool back = true;
  for (std::size_t k = 0; k <= last; ++k) {
    const StepAnswer undo = ask(ChangeStep::RestoreFile, static_cast<int>(k));
    if (undo == StepAnswer::Stop) return;
    back = undo == StepAnswer::Go && takeBack(parts[k].file.Path(), before[k]) && back;
  }
  if (back) {
    const StepAnswer last = ask(ChangeStep::RemoveRecord);
    if (last == StepAnswer::Stop) return;
    // A record that stays would redo at the next start the change taken
    // back: the user is then told that it will.
    if (removeRecord(last != StepAnswer::Fail)) return;
  }
  leaveChange(parts);
}

}  // namespace

FileWrite LinesInto(const tk::FolderItem& file, const QStringList& lines) {
  QByteArray bytes;
  for (const QString& l : lines) {
    bytes += l.toUtf8();
    bytes += '\n';
  }
  return {file, bytes};
}

QStringList ChangeLeft() {
  const LeftChange& left = leftChange();
  if (left.files.isEmpty() || left.folder != dataFolder()) return {};
  return left.files;
}

void ForgetChangeLeft() { leftChange() = LeftChange(); }

bool AppendAsOne(const std::vector<FileWrite>& parts) {
  if (!ChangeLeft().isEmpty()) return false;
  std::vector<qint64> before;
  std::vector<QByteArray> appended;
  QByteArray body;
  putField(body, AppendKind);
  putField(body, QByteArray::number(static_cast<qulonglong>(parts.size())));
  for (const FileWrite& p : parts) {
    if (p.file.IsFolder()) return false;
    before.push_back(sizeOf(p.file.Path()));
    const qint64 tailLength = qMin(before.back(), TailLength);
    const std::optional<QByteArray> tail =
        tailLength > 0 ? readAt(p.file.Path(), before.back() - tailLength, tailLength) : QByteArray();
    if (!tail) return false;
    // A last line left without its end (a file saved by a text editor)
    // gets one first: otherwise it and the first new line would run into one.
    QByteArray bytes = p.bytes;
    if (!tail->isEmpty() && !tail->endsWith('\n') && !bytes.isEmpty()) bytes.prepend('\n');
    putField(body, nameInFolder(p.file.Path()));
    putField(body, QByteArray::number(before.back()));
    putField(body, *tail);
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
    giveUpAppend(parts, before, i);
    return false;
  }
  // A file the change created must be in the folder before the record goes.
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (before[i] >= 0) continue;
    const StepAnswer sync = ask(ChangeStep::SyncFolder);
    if (sync == StepAnswer::Stop) return false;
    if (sync == StepAnswer::Fail || !syncFolder(folderOf(parts[i].file.Path()))) {
      giveUpAppend(parts, before, parts.size() - 1);
      return false;
    }
    break;
  }
  const StepAnswer last = ask(ChangeStep::RemoveRecord);
  if (last == StepAnswer::Stop) return true;
  removeRecord(last == StepAnswer::Go);
  return true;
}

Replaced ReplaceAsOne(const std::vector<FileWrite>& parts) {
  if (!ChangeLeft().isEmpty()) return Replaced::Nothing;
  // What each file held, to put it back when a later one cannot be replaced.
  std::vector<std::optional<QByteArray>> before;
  for (const FileWrite& p : parts) {
    if (p.file.IsFolder()) return Replaced::Nothing;
    before.emplace_back();
    if (p.file.Exists() && !readRaw(p.file.Path(), before.back().emplace())) return Replaced::Nothing;
  }
  const auto dropPrepared = [&] {
    for (const FileWrite& p : parts) {
      QFile::remove(preparedPath(p.file));
      QFile::remove(keptPath(p.file.Path()));
    }
  };

  QByteArray body;
  putField(body, ReplaceKind);
  putField(body, QByteArray::number(static_cast<qulonglong>(parts.size())));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const FileWrite& p = parts[i];
    const QString prepared = preparedPath(p.file);
    if (!createSynced(prepared, p.bytes)) {
      dropPrepared();
      return Replaced::Nothing;
    }
    putField(body, nameInFolder(prepared));
    putField(body, nameInFolder(p.file.Path()));
    putField(body, QByteArray::number(before[i] ? before[i]->size() : -1));
    putField(body, before[i] ? digest(*before[i]) : QByteArray());
    putField(body, digest(p.bytes));
  }

  // Puts back the files 0..done-1 after a failure. Should one not go back,
  // those put back get their new bytes again: the change is then left
  // where the record finishes it.
  const auto giveUp = [&](std::size_t done) {
    std::vector<std::size_t> putBack;
    bool back = true;
    for (std::size_t k = 0; k < done; ++k) {
      const StepAnswer undo = ask(ChangeStep::RestoreFile, static_cast<int>(k));
      if (undo == StepAnswer::Stop) return Replaced::Nothing;
      const tk::FolderItem& f = parts[k].file;
      if (undo == StepAnswer::Go && (before[k] ? f.ReplaceWithBytes(*before[k]) : f.Delete())) {
        putBack.push_back(k);
      } else {
        back = false;
      }
    }
    if (back) {
      const StepAnswer last = ask(ChangeStep::RemoveRecord);
      if (last == StepAnswer::Stop) return Replaced::Nothing;
      if (removeRecord(last != StepAnswer::Fail)) {
        dropPrepared();
        return Replaced::Nothing;
      }
    }
    // The files put back get their new bytes again, so that the two agree
    // now; should that fail too, the new content kept beside each lets the
    // next start finish the change without writing anything.
    for (std::size_t k : putBack)
      if (ask(ChangeStep::ChangeFile, static_cast<int>(k)) == StepAnswer::Go) parts[k].file.ReplaceWithBytes(parts[k].bytes);
    leaveChange(parts);
    return Replaced::Partly;
  };

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
    const QByteArray targetName = QFile::encodeName(target);
    if (step == StepAnswer::Go &&
        std::rename(QFile::encodeName(preparedPath(parts[i].file)).constData(), targetName.constData()) == 0) {
      // A second name for the new content, which costs no room: should the
      // change be taken back and that fail half-way, the record still has
      // the new content to finish it with.
      const QByteArray kept = QFile::encodeName(keptPath(target));
      ::unlink(kept.constData());
      ::link(targetName.constData(), kept.constData());
      continue;
    }
    return giveUp(i);
  }
  // The renames must be on the disk before the record that would redo them goes.
  if (!parts.empty()) {
    const StepAnswer sync = ask(ChangeStep::SyncFolder);
    if (sync == StepAnswer::Stop) return Replaced::All;
    if (sync == StepAnswer::Fail || !syncFolder(folderOf(parts.front().file.Path()))) return giveUp(parts.size());
  }
  const StepAnswer last = ask(ChangeStep::RemoveRecord);
  if (last == StepAnswer::Stop) return Replaced::All;
  removeRecord(last == StepAnswer::Go);
  for (const FileWrite& p : parts) QFile::remove(keptPath(p.file.Path()));
  return Replaced::All;
}

PendingChange FinishPendingChange() {
  PendingChange result;
  const QStringList left = ChangeLeft();
  if (!left.isEmpty()) {
    result.outcome = PendingChange::Left;
    result.files = left;
    return result;
  }
  const std::optional<Record> record = readPendingRecord(result);
  if (!record) return result;
  result.told = record->told;
  for (const RecordedFile& f : record->files) result.files << QString::fromUtf8(f.name);

  const std::optional<std::vector<QString>> targets = targetsOf(*record);
  if (!targets) {
    result.outcome = PendingChange::Failed;
    return result;
  }
  const std::vector<FileWork> work = workOf(*record, *targets, result.files, result.changed);
  if (!result.changed.isEmpty()) {
    result.outcome = PendingChange::Changed;
    return result;
  }
  const bool done = record->append ? finishAppends(*targets, work) : finishReplacements(*record, *targets, work);
  // A file the finish created, or its renames, must be in the folder before the record goes.
  if (!done || !syncFolder(dataFolder())) {
    result.outcome = PendingChange::Failed;
    return result;
  }
  removeRecord();
  removeStrayContents();
  result.outcome = PendingChange::Finished;
  return result;
}

void SetChangeStepHook(ChangeStepHook hook) { stepHook() = std::move(hook); }

}  // namespace storage
