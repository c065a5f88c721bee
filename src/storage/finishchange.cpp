#include "storage/finishchange.h"

#include <optional>
#include <vector>

#include "storage/filechange.h"
#include "storage/folderfiles.h"
#include "toolkit/files.h"

namespace storage {

namespace {

// What finishing does to one file.
struct FileWork {
  static FileWork Nothing() { return {}; }
  static FileWork Append(QByteArray bytes) {
    FileWork w;
    w.append = std::move(bytes);
    return w;
  }
  static FileWork CutThenAppend(qint64 length, QByteArray bytes) {
    FileWork w = Append(std::move(bytes));
    w.cutTo = length;
    return w;
  }
  static FileWork Rename(QString from) {
    FileWork w;
    w.renameFrom = std::move(from);
    return w;
  }

  qint64 cutTo = -1;   // cut back to this length first; -1: no cut
  QByteArray append;   // then append these bytes
  QString renameFrom;  // put this new content in place; empty: no rename
};

// One file of the change as finishing finds it.
struct Recognised {
  enum State {
    Ready,       // the one the change found, or it with part or all of the change: `work` finishes it
    Edited,      // anything else: left as it is
    NotAFile,    // a folder, a link or a special file at its name: left as it is
    Unreadable,  // a regular file that cannot be read: nothing can be done yet
  };
  State state = Unreadable;
  FileWork work;
};

Recognised ready(FileWork work) { return {Recognised::Ready, std::move(work)}; }
const Recognised Edited{Recognised::Edited, {}};
const Recognised NotAFile{Recognised::NotAFile, {}};
const Recognised Unreadable{Recognised::Unreadable, {}};

// Bytes the change wrote, or zeros where it was writing them (a power cut
// can leave the end of an unsynced append zeroed).
bool writtenBy(const QByteArray& found, const QByteArray& bytes) {
  if (found.size() > bytes.size()) return false;
  for (qsizetype i = 0; i < found.size(); ++i)
    if (found.at(i) != bytes.at(i) && found.at(i) != '\0') return false;
  return true;
}

Recognised recogniseAppend(const RecordedFile& f) {
  const QString path = PathOf(f.name);
  switch (tk::EntryAt(path)) {
    case tk::EntryKind::Other:
      return NotAFile;
    case tk::EntryKind::None:
      // The file the change found has gone; or the change was to make it.
      return f.sizeBefore >= 0 ? Edited : ready(FileWork::Append(f.bytes));
    case tk::EntryKind::File:
      break;
  }
  const tk::PlainFile file(path, tk::PlainFile::Read);
  const qint64 base = qMax<qint64>(f.sizeBefore, 0);
  const qint64 now = file.Size();
  if (now < 0) return Unreadable;
  if (now < base) return Edited;
  if (f.tail && !f.tail->isEmpty()) {
    const std::optional<QByteArray> tail = file.ReadExactly(base - f.tail->size(), f.tail->size());
    if (!tail) return Unreadable;
    if (*tail != *f.tail) return Edited;
  }
  if (now - base >= f.bytes.size()) {
    // All of the change is there (a line added after it is left alone).
    const std::optional<QByteArray> change = file.ReadExactly(base, f.bytes.size());
    if (!change) return Unreadable;
    if (*change == f.bytes) return ready(FileWork::Nothing());
    if (now - base > f.bytes.size()) return Edited;
  }
  const std::optional<QByteArray> found = file.ReadExactly(base, now - base);
  if (!found) return Unreadable;
  if (!writtenBy(*found, f.bytes)) return Edited;
  if (f.bytes.startsWith(*found)) return ready(FileWork::Append(f.bytes.mid(found->size())));
  return ready(FileWork::CutThenAppend(base, f.bytes));
}

Recognised recogniseReplacement(const RecordedFile& f) {
  const FileSeen target = SeeFile(PathOf(f.name));
  if (target.kind == tk::EntryKind::Other) return NotAFile;
  if (target.unreadable) return Unreadable;
  const QString prepared = PathOf(PreparedName(f.name));
  const tk::EntryKind preparedKind = tk::EntryAt(prepared);
  if (!f.newDigest) {
    // The first format: nothing to check the files by.
    if (preparedKind == tk::EntryKind::None) return ready(FileWork::Nothing());
    return preparedKind == tk::EntryKind::File ? ready(FileWork::Rename(prepared)) : Edited;
  }
  const bool isNew = target.kind == tk::EntryKind::File && target.digest == *f.newDigest;
  const bool isOld = f.sizeBefore < 0 ? target.kind == tk::EntryKind::None
                                      : target.size == f.sizeBefore && target.digest == *f.oldDigest;
  if (isNew) return ready(FileWork::Nothing());
  if (preparedKind != tk::EntryKind::None) {
    // Not put in place yet: only over the file the change found.
    if (isOld && SeeFile(prepared).digest == *f.newDigest) return ready(FileWork::Rename(prepared));
    return Edited;
  }
  // Put in place already, and no longer its new content: edited, emptied,
  // deleted or put back by hand since, it is left as it is; unless a run
  // that could not take the whole change back put the old content back,
  // when the new content kept beside it finishes it.
  if (isOld && *f.oldDigest != *f.newDigest) {
    const QString kept = PathOf(KeptName(f.name));
    if (SeeFile(kept).digest == *f.newDigest) return ready(FileWork::Rename(kept));
  }
  return Edited;
}

bool finishAppends(const ChangeRecord& record, const std::vector<FileWork>& work) {
  // What each file holds now, to leave it so when another cannot be finished.
  std::vector<qint64> found;
  for (const RecordedFile& f : record.files) found.push_back(tk::FileSizeAt(PathOf(f.name)));
  bool ok = true;
  for (std::size_t i = 0; ok && i < work.size(); ++i) {
    const QString path = PathOf(record.files[i].name);
    if (work[i].cutTo >= 0) ok = tk::FolderItem(path).Truncate(work[i].cutTo);
    if (ok && !work[i].append.isEmpty()) ok = AppendSynced(path, work[i].append);
  }
  if (!ok) {
    for (std::size_t i = 0; i < work.size(); ++i) {
      const QString path = PathOf(record.files[i].name);
      if (tk::FileSizeAt(path) > found[i]) TakeBackAppend(path, found[i]);
    }
  }
  return ok;
}

bool finishReplacements(const ChangeRecord& record, const std::vector<FileWork>& work) {
  for (std::size_t i = 0; i < work.size(); ++i)
    if (!work[i].renameFrom.isEmpty() && !RenameFile(work[i].renameFrom, PathOf(record.files[i].name))) return false;
  return true;
}

// A record this program could not have written: kept aside, with the names
// of the data files it still names, and never acted on.
void setAside(UnfinishedChange& result, const QStringList& names) {
  result.outcome = UnfinishedChange::Damaged;
  result.files = names;
  result.setAsideAs = SetRecordAside();
  if (!result.setAsideAs.isEmpty()) SetStrayContentsAside(result.setAsideAs);
}

// The record an earlier run left, when it is sound; otherwise `result`
// says what was found, and what was done with it.
std::optional<ChangeRecord> readRecord(const DataFileNames& dataFiles, UnfinishedChange& result) {
  const RecordFound found = ReadRecordFile();
  switch (found.state) {
    case RecordFound::Absent:
      RemoveStrayContents();
      return std::nullopt;
    case RecordFound::Empty:
      // Emptied by a run that had finished or taken back its change.
      RemoveRecordFile();
      RemoveStrayContents();
      return std::nullopt;
    case RecordFound::NotAFile:
    case RecordFound::Unreadable:
      setAside(result, {});
      return std::nullopt;
    case RecordFound::TooLarge:
      setAside(result, ParseChangeRecord(found.bytes, dataFiles).names);
      return std::nullopt;
    case RecordFound::Read:
      break;
  }
  ParsedRecord parsed = ParseChangeRecord(found.bytes, dataFiles);
  if (!parsed.record) setAside(result, parsed.names);
  return std::move(parsed.record);
}

}  // namespace

UnfinishedChange FinishUnfinishedChange(const DataFileNames& dataFiles) {
  UnfinishedChange result;
  const QStringList givenUp = GivenUpChange();
  if (!givenUp.isEmpty()) {
    result.outcome = UnfinishedChange::GivenUp;
    result.files = givenUp;
    return result;
  }
  const std::optional<ChangeRecord> record = readRecord(dataFiles, result);
  if (!record) return result;
  result.told = record->told;
  for (const RecordedFile& f : record->files) result.files << f.name;

  // Every file is recognised before any is touched.
  std::vector<FileWork> work;
  QStringList edited, notFiles;
  for (const RecordedFile& f : record->files) {
    const Recognised seen = record->append ? recogniseAppend(f) : recogniseReplacement(f);
    if (seen.state == Recognised::Unreadable) {
      result.outcome = UnfinishedChange::Failed;
      return result;
    }
    if (seen.state == Recognised::Edited) edited << f.name;
    if (seen.state == Recognised::NotAFile) notFiles << f.name;
    work.push_back(seen.work);
  }
  if (!notFiles.isEmpty() || !edited.isEmpty()) {
    result.outcome = notFiles.isEmpty() ? UnfinishedChange::Changed : UnfinishedChange::NotAFile;
    result.changed = notFiles.isEmpty() ? edited : notFiles;
    return result;
  }
  const bool done = record->append ? finishAppends(*record, work) : finishReplacements(*record, work);
  // A file the finish created, or its renames, must be in the folder before the record goes.
  if (!done || !SyncFolder()) {
    result.outcome = UnfinishedChange::Failed;
    return result;
  }
  if (!RemoveRecordFile()) EmptyRecordFile();
  RemoveStrayContents();
  result.outcome = UnfinishedChange::Finished;
  return result;
}

}  // namespace storage
