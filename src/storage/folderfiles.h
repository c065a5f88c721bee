#pragma once
// The data folder's files as a change and its finishing touch them: every
// call checked, no name followed through a link, nothing but a regular
// file opened (tk::PlainFile).

#include <QByteArray>
#include <QString>
#include <optional>

#include "toolkit/plainfile.h"

namespace storage {

// The data folder, and a bare name's place in it.
QString DataFolder();
QString PathOf(const QString& name);

// Makes the folder's entries (new files, renames, removals) last.
bool SyncFolder();

// A file as it stands now: `size` -1 and no digest when there is nothing at
// the name, or anything but a regular file. One larger than any data file
// this program writes gets no digest.
struct FileSeen {
  tk::EntryKind kind = tk::EntryKind::None;
  bool unreadable = false;  // a regular file that could not be read
  qint64 size = -1;
  QByteArray digest;  // ContentDigest of its bytes, read a piece at a time
};
FileSeen SeeFile(const QString& path);

// Appends the bytes and syncs them; a missing file is created.
bool AppendSynced(const QString& path, const QByteArray& bytes);
// Takes an append back: the file's old length, or no file where there was
// none (-1). A file that got nothing is left alone (an append-only file
// cannot be cut, and need not be).
bool TakeBackAppend(const QString& path, qint64 sizeBefore);
// Removes the name itself (a link, never what it leads to); true when
// nothing stands there any more.
bool RemoveName(const QString& path);
// Renames a regular file over `to` (which holds nothing, or a regular file).
bool RenameFile(const QString& from, const QString& to);
// Gives a regular file a second name that costs no room, in place of
// whatever had that name. False where the file system has no such names.
bool GiveSecondName(const QString& path, const QString& second);

// --- the record as a file of the folder ----------------------------------

struct RecordFound {
  enum State {
    Absent,
    Empty,       // emptied by a run that could not remove it: no change
    NotAFile,    // a folder, a link, a FIFO or a device at its name
    TooLarge,    // `bytes` holds its beginning only
    Unreadable,  // a regular file that cannot be read
    Read,
  };
  State state = Absent;
  QByteArray bytes;
};
RecordFound ReadRecordFile();

// Writes the record whole beside its place, then puts it there by a rename,
// so that no crash leaves half a record; then syncs the folder. Refuses
// when the place holds anything but nothing or an emptied record: a change
// not finished is never written over.
bool WriteRecordFile(const QByteArray& record);
// Marks the record as one whose change the user was told had failed.
bool MarkRecordTold();
bool RemoveRecordFile();
// Empties a record that cannot be removed: it then reads as no change.
bool EmptyRecordFile();
// Puts a refused record (whatever stands at its name) aside under a name of
// its own that says so, kept in the folder; the name, or empty on failure.
QString SetRecordAside();

// Removes the prepared and kept new contents that no record names.
void RemoveStrayContents();
// Keeps them instead beside a record set aside, under its name followed by theirs.
void SetStrayContentsAside(const QString& recordAside);

}  // namespace storage
