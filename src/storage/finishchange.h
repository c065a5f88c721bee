#pragma once
// Finishing, at a start, a change an earlier run did not carry to its end:
// one a crash or a power cut cut short, or one that run gave up without
// being able to take it back (and said so). Its record is in the data
// folder (changerecord.h); it is carried out to the end only over files
// that are still the ones the change found, or those files with part or
// all of the change: a file edited by hand since is never cut or
// overwritten. A record this program could not have written is never
// acted on, nor deleted: it is set aside with what its change had
// prepared, and the user is told.

#include <QString>
#include <QStringList>

#include "storage/changerecord.h"

namespace storage {

// What a start found of an unfinished change.
struct UnfinishedChange {
  enum Outcome {
    None,      // no record (or an emptied one): no unfinished change
    Finished,  // the change was carried out to its end
    Failed,    // a file could not be read or written; the record stays for the next start
    Changed,   // a file is no longer as the change left it: nothing was touched, and the record stays
    NotAFile,  // a folder, a link or a special file stands at a file's name: nothing was touched,
               // and the record stays
    GivenUp,   // this run's own change (GivenUpChange()): it waits for the next start
    Damaged,   // a record this program could not have written: nothing was touched, and it was set aside
  };
  Outcome outcome = None;
  QStringList files;    // the files of the change; Damaged: those it still names, perhaps none
  QStringList changed;  // Changed: the files edited since; NotAFile: the names held by something else
  bool told = false;    // the run that left the change had said it failed
  QString setAsideAs;   // Damaged: the record's new name (its change's prepared and kept contents
                        // beside it, under that name followed by theirs); empty when it could not be moved
};

// Carries out the unfinished change the data folder holds, if there is one.
// `dataFiles` tells the names a change of this program writes; a record
// naming any other is damaged. Finishing twice does no harm: a line already
// appended is not appended again, a file already replaced is left alone.
UnfinishedChange FinishUnfinishedChange(const DataFileNames& dataFiles);

}  // namespace storage
