#pragma once
// The intent record of a change of several data files: its bytes and what
// they say. It is read as input like any file of the data folder: a record
// copied, mailed, edited by hand or damaged by a disk is refused whole
// unless every byte of it is one this program could have written.
//
// A first line names the format; a line says whether the run that wrote it
// gave the change up and said so ("told", written over "open" in place, so
// that even a full disk takes it); a line holds the SHA-256 of the body;
// then the body: length-prefixed fields ("5:hello,"), so that any name or
// byte survives and a record cut short is recognised.
//
// An append names each file, its length when the change found it (-1: no
// file), its last bytes before the change's place, and the bytes appended.
// A replacement names each file's prepared content and the file, the
// file's old length (-1: no file) and the SHA-1 digests of its old and new
// contents. The first format (still read) had neither tails nor digests.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace storage {

// The record's name in the data folder. Its leading dot keeps it apart from
// every data file's name and out of the user's way.
inline const QString ChangeRecordName = QStringLiteral(".corvalenta-change");
// Prefix of the new contents that a replacement prepares beside each file
// (and of the record itself while it is written).
inline const QString PreparedContentPrefix = QStringLiteral(".corvalenta-new.");
// Prefix of the second name a replacement gives each new content it puts in
// place, until the change is done.
inline const QString KeptContentPrefix = QStringLiteral(".corvalenta-kept.");

// A change names at most this many files, and its record is at most this
// long: a seller's whole coupon range appended with a long name fits.
constexpr int MaxFilesInAChange = 8;
constexpr qint64 MaxRecordSize = 64 * 1024 * 1024;
// Enough of a file's end to tell it from the same file edited by hand: an
// edit that moves the bytes before the change's place shows here.
constexpr qint64 TailLength = 64;

// The data files a change of this program writes, by name.
using DataFileNames = std::function<bool(const QString& name)>;

// A name that stands for a file directly in the data folder: not empty, no
// "/", not "." or "..", no NUL, and none of the storage's own names.
bool IsBareName(const QString& name);

// The names of a file's prepared and kept new contents.
QString PreparedName(const QString& name);
QString KeptName(const QString& name);

// Tells a file's content from another (a hand edit), not from a forgery:
// the fastest digest will do, since a removal takes two of the journal.
QByteArray ContentDigest(const QByteArray& bytes);
constexpr int ContentDigestLength = 20;

// One file as a sound record names it.
struct RecordedFile {
  QString name;            // the file changed, directly in the data folder
  qint64 sizeBefore = -1;  // its length when the change found it; -1: no file
  std::optional<QByteArray> tail;  // append: the bytes before the change's place
  QByteArray bytes;                // append: the bytes appended
  std::optional<QByteArray> oldDigest, newDigest;  // replacement (none in the first format)
};

struct ChangeRecord {
  bool append = true;  // or a replacement
  bool told = false;   // the run that wrote it gave it up and said so
  std::vector<RecordedFile> files;
};

// Why a record is refused.
enum class RecordFault {
  None,
  TooLarge,  // longer than any change writes
  Head,      // no known format, state or checksum line: cut in its head, or not ours
  Checksum,  // the body is not the one checksummed: cut short or altered
  Fields,    // the fields make no change this program writes (kind, count, numbers, lengths, digests)
  Name,      // a name of no data file directly in the folder, or a prepared content of another name
};

struct ParsedRecord {
  std::optional<ChangeRecord> record;  // a sound record
  RecordFault fault = RecordFault::None;
  // A refused record: the data files it names where they can still be read.
  QStringList names;
};

ParsedRecord ParseChangeRecord(const QByteArray& raw, const DataFileNames& dataFiles);

// The bytes of a record, "open", in the current format.
QByteArray ChangeRecordBytes(const ChangeRecord& record);

// Where the state line stands, and the line that marks a record told.
qint64 StateLineOffset();
QByteArray ToldStateLine();

}  // namespace storage
