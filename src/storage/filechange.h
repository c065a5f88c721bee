#pragma once
// Changes that span several files of the data folder, all or nothing even
// across a crash or a power cut. Before touching any file, a change writes
// an intent record into the data folder (what each file is to get or to
// become, and what each file held when the change found it, enough to
// finish without the program's memory) and syncs it; then it changes the
// files; then it removes the record. A record found at the next opening is
// carried out to the end by FinishPendingChange(), provided every file is
// still the one the change found (or that file with part or all of the
// change): a file edited by hand since is never cut or overwritten.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "toolkit/files.h"

namespace storage {

// The intent record's name in the data folder. Its leading dot keeps it
// apart from every data file's name and out of the user's way.
inline const QString PendingChangeRecord = QStringLiteral(".corvalenta-change");
// Prefix of the new contents that a replacement prepares beside each file.
inline const QString PendingContentPrefix = QStringLiteral(".corvalenta-new.");
// Prefix of the second name a replacement gives each new content it puts in
// place, until the change is done.
inline const QString KeptContentPrefix = QStringLiteral(".corvalenta-kept.");

// One file of a change and the bytes it gets (appended, or as its new
// content).
struct FileWrite {
  tk::FolderItem file;
  QByteArray bytes;
};

// These lines, each ended by "\n", UTF-8.
FileWrite LinesInto(const tk::FolderItem& file, const QStringList& lines);

// Appends lines to every file as one change: each gets its bytes (synced),
// or, on a failure, every file is taken back to what it held and a file the
// attempt made is removed. A file whose last line lacks its end gets one
// before its bytes. False on a failure; when a file could not be taken
// back, the change is left for the next start (ChangeLeft()).
bool AppendAsOne(const std::vector<FileWrite>& parts);

// Replaces every file by its bytes as one change. The new contents are
// written and synced beside the files first, then put in place by renames.
// When a rename fails, the files already replaced get back their old bytes.
enum class Replaced {
  All,      // every file written
  Nothing,  // a failure, and every file is as it was
  Partly,   // a failure, and a file already replaced could not be put back:
            // the change is left for the next start (ChangeLeft())
};
Replaced ReplaceAsOne(const std::vector<FileWrite>& parts);

// The files of a change this run gave up without being able to take it
// back, by name in the data folder; empty when there is none. Its record
// stays in the folder, and the next start finishes the change. Until then
// no other change begins: AppendAsOne and ReplaceAsOne fail at once, and
// FinishPendingChange leaves the record alone.
QStringList ChangeLeft();

// What an opening found of a change that an earlier run left unfinished.
struct PendingChange {
  enum Outcome {
    None,      // no record, or one cut short before the change began
    Finished,  // the change was carried out to its end
    Failed,    // a file could not be written; the record stays for the next start
    Changed,   // a file is no longer as the change left it: nothing was
               // touched, and the record stays
    Left,      // this run's own change (ChangeLeft()): it waits for the next start
  };
  Outcome outcome = None;
  QStringList files;    // the files of the change, by name in the data folder
  QStringList changed;  // Changed: the files edited since
  bool told = false;    // the run that left the change had said it failed
};

// Carries out a change left behind in the data folder, if there is one.
// Finishing twice does no harm: a line already appended is not appended
// again, a file already replaced is left alone.
PendingChange FinishPendingChange();

// Tests: the steps of a change, and a hook asked before each one.
enum class ChangeStep {
  WriteRecord,   // the new contents are ready (replacement), the record is next
  ChangeFile,    // file `index` is appended to, or put in place (again, after
                 // a replacement that could not be wholly taken back)
  SyncFolder,    // the files are changed; the folder is synced next (after
                 // the renames, or after an append that made a file)
  RemoveRecord,  // every file is done (Fail: the record cannot be removed)
  RestoreFile,   // after a failure, file `index` is taken back or gets its
                 // old bytes back
};
enum class StepAnswer {
  Go,    // take the step
  Stop,  // stop here and leave everything as it is, as a crash would
  Fail,  // the step fails, as a full disk would make it
};
using ChangeStepHook = std::function<StepAnswer(ChangeStep step, int index)>;
// An empty hook takes every step.
void SetChangeStepHook(ChangeStepHook hook);
// Tests: a run started again in the same process forgets the change an
// earlier run left (its record stays in the folder for the opening).
void ForgetChangeLeft();

}  // namespace storage
