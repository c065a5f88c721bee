#include "storage/filechange.h"

#include <algorithm>
#include <optional>

#include "storage/changerecord.h"
#include "storage/folderfiles.h"

namespace storage {

namespace {

ChangeStepHook& stepHook() {
  static ChangeStepHook hook;
  return hook;
}

// How a step of a change went.
enum class Step { Done, Stopped, Failed };

// Takes one step of a change: as the test hook answers (stopped before it
// is taken, as by a crash; failed, as by a full disk), or as `act` goes.
Step takeStep(ChangeStep step, int index, const std::function<bool()>& act) {
  switch (stepHook() ? stepHook()(step, index) : StepAnswer::Go) {
    case StepAnswer::Stop:
      return Step::Stopped;
    case StepAnswer::Fail:
      return Step::Failed;
    case StepAnswer::Go:
      break;
  }
  return act() ? Step::Done : Step::Failed;
}

Step takeStep(ChangeStep step, std::size_t index, const std::function<bool()>& act) {
  return takeStep(step, static_cast<int>(index), act);
}

// The change this run gave up, and the data folder it was given up in.
struct GivenUp {
  QString folder;
  QStringList files;
};

GivenUp& givenUp() {
  static GivenUp g;
  return g;
}

// Keeps the record of a change this run could neither make nor take back:
// marked as one the user was told about, and no other change begins before
// the next start.
void giveUp(const ChangeRecord& record) {
  // The mark only lets the next start say so; the record is whole without it.
  MarkRecordTold();
  GivenUp& g = givenUp();
  g.folder = DataFolder();
  g.files.clear();
  for (const RecordedFile& f : record.files) g.files << f.name;
}

// Ends the record of a change made, or wholly taken back: removed, or
// emptied when it cannot be, so that no later start redoes the change.
// Failed: the record stays whole.
Step removeRecord() {
  const Step removed = takeStep(ChangeStep::RemoveRecord, 0, RemoveRecordFile);
  return removed == Step::Failed && EmptyRecordFile() ? Step::Done : removed;
}

// The name of a part's file, when it stands directly in the data folder.
QString nameOf(const FileWrite& part) {
  const QString name = part.file.Name();
  return IsBareName(name) && PathOf(name) == part.file.Path() ? name : QString();
}

// A change its record can describe: one to MaxFilesInAChange files, each
// directly in the data folder and named once. The next start refuses any
// other record as damaged, and one naming a file that no change of the
// program writes: the callers name data files only.
bool describable(const std::vector<FileWrite>& parts) {
  if (parts.empty() || parts.size() > MaxFilesInAChange) return false;
  QStringList names;
  for (const FileWrite& p : parts) {
    const QString name = nameOf(p);
    if (name.isEmpty() || names.contains(name)) return false;
    names << name;
  }
  return true;
}

// --- appends ----------------------------------------------------------

// The append as its record describes it; nothing when a file cannot take
// its part (no regular file at its name, or one that cannot be read).
std::optional<ChangeRecord> appendOf(const std::vector<FileWrite>& parts) {
  ChangeRecord record;
  record.append = true;
  for (const FileWrite& p : parts) {
    RecordedFile f;
    f.name = nameOf(p);
    const QString path = PathOf(f.name);
    const tk::EntryKind kind = tk::EntryAt(path);
    if (kind == tk::EntryKind::Other) return std::nullopt;
    f.sizeBefore = kind == tk::EntryKind::None ? -1 : tk::FileSizeAt(path);
    if (kind == tk::EntryKind::File && f.sizeBefore < 0) return std::nullopt;
    const qint64 tailLength = qBound<qint64>(0, f.sizeBefore, TailLength);
    f.tail = tailLength > 0 ? tk::PlainFile(path, tk::PlainFile::Read).ReadExactly(f.sizeBefore - tailLength, tailLength)
                            : QByteArray();
    if (!f.tail) return std::nullopt;
    // A last line left without its end (a file saved by a text editor)
    // gets one first: otherwise it and the first new line would run into one.
    f.bytes = p.bytes;
    if (!f.tail->isEmpty() && !f.tail->endsWith('\n') && !f.bytes.isEmpty()) f.bytes.prepend('\n');
    record.files.push_back(std::move(f));
  }
  return record;
}

// Takes back the appends to files 0..last after a failure in the run. The
// record goes once every file is as it was; otherwise the change is given up.
void takeBackAppend(const ChangeRecord& record, std::size_t last) {
  bool back = true;
  for (std::size_t k = 0; k <= last; ++k) {
    const RecordedFile& f = record.files[k];
    const Step undo = takeStep(ChangeStep::RestoreFile, k, [&] { return TakeBackAppend(PathOf(f.name), f.sizeBefore); });
    if (undo == Step::Stopped) return;
    back = back && undo == Step::Done;
  }
  // A file the change made and that is gone again must be gone on the disk
  // before the record that would make it again goes. A record that stays
  // would redo at the next start the change taken back: the user is then
  // told that it will.
  if (back && takeStep(ChangeStep::SyncFolder, 1, SyncFolder) == Step::Done && removeRecord() != Step::Failed) return;
  giveUp(record);
}

// --- replacements -------------------------------------------------------

// A file's content before a replacement, to put it back with; nothing in it
// for no file.
struct OldContent {
  bool readable = false;
  std::optional<QByteArray> bytes;
};

OldContent oldContentOf(const QString& path) {
  switch (tk::EntryAt(path)) {
    case tk::EntryKind::None:
      return {true, std::nullopt};
    case tk::EntryKind::Other:
      return {};
    case tk::EntryKind::File:
      break;
  }
  const tk::PlainFile f(path, tk::PlainFile::Read);
  std::optional<QByteArray> bytes = f.ReadAll(tk::LargestDataFile);
  if (!bytes) return {};
  return {true, std::move(bytes)};
}

void dropNewContents(const ChangeRecord& record) {
  for (const RecordedFile& f : record.files) {
    RemoveName(PathOf(PreparedName(f.name)));
    RemoveName(PathOf(KeptName(f.name)));
  }
}

// Renames a file's prepared content into its place, and gives it a second
// name that costs no room: should the change be taken back and that fail
// half-way, the record still has the new content to finish it with.
bool putInPlace(const RecordedFile& f) {
  const QString target = PathOf(f.name);
  if (!RenameFile(PathOf(PreparedName(f.name)), target)) return false;
  // Where the file system has no such names, a change that can be neither
  // taken back nor made again waits for a hand: none is made then.
  GiveSecondName(target, PathOf(KeptName(f.name)));
  return true;
}

// Puts back the files 0..done-1 after a failure. Should one not go back,
// those put back get their new bytes again, so that the two agree now (and,
// should that fail too, the new content kept beside each lets the next
// start finish the change without writing anything): the change is given up.
Replaced takeBackReplacement(const ChangeRecord& record, const std::vector<FileWrite>& parts,
                             const std::vector<OldContent>& before, std::size_t done) {
  std::vector<std::size_t> putBack;
  bool back = true;
  for (std::size_t k = 0; k < done; ++k) {
    const tk::FolderItem& file = parts[k].file;
    const std::optional<QByteArray>& old = before[k].bytes;
    const Step undo = takeStep(ChangeStep::RestoreFile, k, [&] { return old ? file.ReplaceWithBytes(*old) : file.Delete(); });
    if (undo == Step::Stopped) return Replaced::Nothing;
    if (undo == Step::Done) {
      putBack.push_back(k);
    } else {
      back = false;
    }
  }
  // The files put back by renames must be back on the disk before the
  // record that would finish the change goes.
  if (back && takeStep(ChangeStep::SyncFolder, 1, SyncFolder) != Step::Done) back = false;
  if (back) {
    const Step removed = removeRecord();
    if (removed == Step::Stopped) return Replaced::Nothing;
    if (removed == Step::Done) {
      dropNewContents(record);
      return Replaced::Nothing;
    }
  }
  for (std::size_t k : putBack)
    takeStep(ChangeStep::ChangeFile, k, [&] { return parts[k].file.ReplaceWithBytes(parts[k].bytes); });
  giveUp(record);
  return Replaced::Partly;
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

QStringList GivenUpChange() {
  const GivenUp& g = givenUp();
  if (g.files.isEmpty() || g.folder != DataFolder()) return {};
  return g.files;
}

void ForgetGivenUpChange() { givenUp() = GivenUp(); }

bool AppendAsOne(const std::vector<FileWrite>& parts) {
  if (!GivenUpChange().isEmpty() || !describable(parts)) return false;
  const std::optional<ChangeRecord> record = appendOf(parts);
  if (!record) return false;
  const QByteArray recordBytes = ChangeRecordBytes(*record);
  if (recordBytes.size() > MaxRecordSize) return false;

  if (takeStep(ChangeStep::WriteRecord, 0, [&] { return WriteRecordFile(recordBytes); }) != Step::Done) return false;
  for (std::size_t i = 0; i < record->files.size(); ++i) {
    const RecordedFile& f = record->files[i];
    const Step step = takeStep(ChangeStep::ChangeFile, i, [&] { return AppendSynced(PathOf(f.name), f.bytes); });
    if (step == Step::Stopped) return false;
    if (step == Step::Failed) {
      takeBackAppend(*record, i);
      return false;
    }
  }
  // A file the change created must be in the folder before the record goes.
  const bool created = std::any_of(record->files.begin(), record->files.end(),
                                   [](const RecordedFile& f) { return f.sizeBefore < 0; });
  if (created) {
    const Step sync = takeStep(ChangeStep::SyncFolder, 0, SyncFolder);
    if (sync == Step::Stopped) return false;
    if (sync == Step::Failed) {
      takeBackAppend(*record, record->files.size() - 1);
      return false;
    }
  }
  removeRecord();
  return true;
}

Replaced ReplaceAsOne(const std::vector<FileWrite>& parts) {
  if (!GivenUpChange().isEmpty() || !describable(parts)) return Replaced::Nothing;
  // What each file held, to put it back when a later one cannot be replaced.
  ChangeRecord record;
  record.append = false;
  std::vector<OldContent> before;
  for (const FileWrite& p : parts) {
    RecordedFile f;
    f.name = nameOf(p);
    before.push_back(oldContentOf(PathOf(f.name)));
    const std::optional<QByteArray>& old = before.back().bytes;
    if (!before.back().readable) return Replaced::Nothing;
    f.sizeBefore = old ? old->size() : -1;
    f.oldDigest = old ? ContentDigest(*old) : QByteArray();
    f.newDigest = ContentDigest(p.bytes);
    record.files.push_back(std::move(f));
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const QString prepared = PathOf(PreparedName(record.files[i].name));
    if (!RemoveName(prepared) || !tk::CreateSyncedFile(prepared, parts[i].bytes)) {
      dropNewContents(record);
      return Replaced::Nothing;
    }
  }

  const QByteArray recordBytes = ChangeRecordBytes(record);
  const Step written = takeStep(ChangeStep::WriteRecord, 0, [&] { return WriteRecordFile(recordBytes); });
  if (written == Step::Stopped) return Replaced::Nothing;
  if (written == Step::Failed) {
    dropNewContents(record);
    return Replaced::Nothing;
  }
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const Step step = takeStep(ChangeStep::ChangeFile, i, [&] { return putInPlace(record.files[i]); });
    if (step == Step::Stopped) return Replaced::Nothing;
    if (step == Step::Failed) return takeBackReplacement(record, parts, before, i);
  }
  // The renames must be on the disk before the record that would redo them goes.
  const Step sync = takeStep(ChangeStep::SyncFolder, 0, SyncFolder);
  if (sync == Step::Stopped) return Replaced::All;
  if (sync == Step::Failed) return takeBackReplacement(record, parts, before, parts.size());
  removeRecord();
  for (const RecordedFile& f : record.files) RemoveName(PathOf(KeptName(f.name)));
  return Replaced::All;
}

void SetChangeStepHook(ChangeStepHook hook) { stepHook() = std::move(hook); }

}  // namespace storage
