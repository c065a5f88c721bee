#pragma once
// Changes that span several files of the data folder, all or nothing even
// across a crash or a power cut. Before touching any file, a change writes
// an intent record into the data folder (changerecord.h: what each file is
// to get or to become, and what each file held when the change found it,
// enough to finish without the program's memory) and syncs it; then it
// changes the files; then it removes the record. A record found at the
// next start is finished there (finishchange.h). A change that fails is
// taken back; one that can be neither made nor taken back is given up:
// its record stays for the next start, and nothing else changes before.

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <vector>

#include "toolkit/files.h"

namespace storage {

// One file of a change and the bytes it gets (appended, or as its new
// content). The file is a data file that changes write (the names the next
// start's FinishUnfinishedChange accepts), directly in the data folder.
struct FileWrite {
  tk::FolderItem file;
  QByteArray bytes;
};

// These lines, each ended by "\n", UTF-8.
FileWrite LinesInto(const tk::FolderItem& file, const QStringList& lines);

// Appends lines to every file as one change: each gets its bytes (synced),
// or, on a failure, every file is taken back to what it held and a file the
// attempt made is removed. A file whose last line lacks its end gets one
// before its bytes. Anything but a regular file (or nothing) at a file's
// name fails the change before it begins. False on a failure; when a file
// could not be taken back, the change is given up (GivenUpChange()).
bool AppendAsOne(const std::vector<FileWrite>& parts);

// Replaces every file by its bytes as one change. The new contents are
// written and synced beside the files first, then put in place by renames.
// When a rename fails, the files already replaced get back their old bytes.
enum class Replaced {
  All,      // every file written
  Nothing,  // a failure, and every file is as it was
  Partly,   // a failure, and a file already replaced could not be put back:
            // the change is given up (GivenUpChange())
};
Replaced ReplaceAsOne(const std::vector<FileWrite>& parts);

// The files of a change this run gave up, by name in the data folder; empty
// when there is none. Its record stays in the folder, marked as told, and
// the next start finishes the change. Until then no other change begins:
// AppendAsOne and ReplaceAsOne fail at once, and FinishUnfinishedChange
// leaves the record alone.
QStringList GivenUpChange();

// Tests: the steps of a change, and a hook asked before each one.
enum class ChangeStep {
  WriteRecord,   // the new contents are ready (replacement), the record is next
  ChangeFile,    // file `index` is appended to, or put in place (again, after
                 // a replacement that could not be wholly taken back)
  SyncFolder,    // the files are changed; the folder is synced next (after
                 // the renames, or after an append that made a file); index 1:
                 // after a failure, once every file is taken back
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
// earlier run gave up (its record stays in the folder for the next start).
void ForgetGivenUpChange();

}  // namespace storage
