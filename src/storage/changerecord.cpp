#include "storage/changerecord.h"

#include <QCryptographicHash>

namespace storage {

namespace {

const QByteArray RecordFormat1 = QByteArrayLiteral("corvalenta change 1\n");
const QByteArray RecordFormat2 = QByteArrayLiteral("corvalenta change 2\n");
const QByteArray StateOpen = QByteArrayLiteral("open\n");
const QByteArray StateTold = QByteArrayLiteral("told\n");
const QByteArray AppendKind = QByteArrayLiteral("append");
const QByteArray ReplaceKind = QByteArrayLiteral("replace");
const QString OwnNamesPrefix = QStringLiteral(".corvalenta");
constexpr int ChecksumLength = 64;  // SHA-256, in hexadecimal

QByteArray checksum(const QByteArray& body) { return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex(); }

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
    const std::optional<qint64> length = number(body_.mid(pos_, colon - pos_));
    if (!length || *length < 0 || *length > body_.size() - colon - 2) return std::nullopt;
    const qsizetype start = colon + 1;
    if (body_.at(start + *length) != ',') return std::nullopt;
    pos_ = start + *length + 1;
    return body_.mid(start, *length);
  }
  // A number written as this program writes one: plain decimal, -1 at least.
  static std::optional<qint64> number(const QByteArray& field) {
    bool ok = false;
    const qint64 n = field.toLongLong(&ok);
    if (!ok || n < -1 || QByteArray::number(n) != field) return std::nullopt;
    return n;
  }
  std::optional<qint64> nextNumber() {
    const auto f = next();
    return f ? number(*f) : std::nullopt;
  }
  bool atEnd() const { return pos_ == body_.size(); }

 private:
  const QByteArray& body_;
  qsizetype pos_ = 0;
};

struct Head {
  int format = 0;
  bool told = false;
  QByteArray sum;
  qsizetype bodyAt = 0;
};

std::optional<Head> readHead(const QByteArray& raw) {
  Head head;
  if (raw.startsWith(RecordFormat2)) {
    head.format = 2;
    const QByteArray state = raw.mid(RecordFormat2.size(), StateOpen.size());
    if (state != StateOpen && state != StateTold) return std::nullopt;
    head.told = state == StateTold;
    head.bodyAt = RecordFormat2.size() + StateOpen.size();
  } else if (raw.startsWith(RecordFormat1)) {
    head.format = 1;
    head.bodyAt = RecordFormat1.size();
  } else {
    return std::nullopt;
  }
  head.sum = raw.mid(head.bodyAt, ChecksumLength);
  if (head.sum.size() != ChecksumLength || raw.mid(head.bodyAt + ChecksumLength, 1) != "\n") return std::nullopt;
  head.bodyAt += ChecksumLength + 1;
  return head;
}

// Reads the change a body holds into `out`. Every sound name read goes to
// `names`, also after a refused name, until the fields stop making sense.
RecordFault readBody(const QByteArray& body, int format, const DataFileNames& dataFiles, ChangeRecord& out,
                     QStringList& names) {
  FieldReader in(body);
  const auto kind = in.next();
  const auto count = in.nextNumber();
  if (!kind || !count || *count < 1 || *count > MaxFilesInAChange || (*kind != AppendKind && *kind != ReplaceKind))
    return RecordFault::Fields;
  out.append = *kind == AppendKind;
  RecordFault fault = RecordFault::None;
  for (qint64 i = 0; i < *count; ++i) {
    RecordedFile f;
    const auto prepared = out.append ? std::optional<QByteArray>(QByteArray()) : in.next();
    const auto name = in.next();
    if (!prepared || !name) return RecordFault::Fields;
    f.name = QString::fromUtf8(*name);
    bool sound = f.name.toUtf8() == *name && IsBareName(f.name) && dataFiles(f.name);
    for (const RecordedFile& earlier : out.files) sound = sound && earlier.name != f.name;
    if (sound) names << f.name;
    if (!sound || (!out.append && *prepared != PreparedName(f.name).toUtf8())) fault = RecordFault::Name;
    if (out.append) {
      const auto size = in.nextNumber();
      const auto tail = format >= 2 ? in.next() : std::optional<QByteArray>(QByteArray());
      const auto bytes = in.next();
      if (!size || !tail || !bytes) return RecordFault::Fields;
      f.sizeBefore = *size;
      if (format >= 2) {
        if (tail->size() != qBound<qint64>(0, f.sizeBefore, TailLength)) return RecordFault::Fields;
        f.tail = *tail;
      }
      f.bytes = *bytes;
    } else if (format >= 2) {
      const auto size = in.nextNumber();
      f.oldDigest = in.next();
      f.newDigest = in.next();
      if (!size || !f.oldDigest || !f.newDigest) return RecordFault::Fields;
      f.sizeBefore = *size;
      if (f.oldDigest->size() != (f.sizeBefore < 0 ? 0 : ContentDigestLength) ||
          f.newDigest->size() != ContentDigestLength)
        return RecordFault::Fields;
    }
    out.files.push_back(std::move(f));
  }
  if (!in.atEnd()) return RecordFault::Fields;
  return fault;
}

}  // namespace

bool IsBareName(const QString& name) {
  return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
         !name.contains(QLatin1Char('/')) && !name.contains(QChar(0)) && !name.startsWith(OwnNamesPrefix);
}

QString PreparedName(const QString& name) { return PreparedContentPrefix + name; }
QString KeptName(const QString& name) { return KeptContentPrefix + name; }

QByteArray ContentDigest(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1); }

ParsedRecord ParseChangeRecord(const QByteArray& raw, const DataFileNames& dataFiles) {
  ParsedRecord parsed;
  if (raw.size() > MaxRecordSize) {
    parsed.fault = RecordFault::TooLarge;
    return parsed;
  }
  const std::optional<Head> head = readHead(raw);
  if (!head) {
    parsed.fault = RecordFault::Head;
    return parsed;
  }
  const QByteArray body = raw.mid(head->bodyAt);
  ChangeRecord record;
  record.told = head->told;
  parsed.fault = readBody(body, head->format, dataFiles, record, parsed.names);
  // Checked last, so that a record cut short still tells which files it named.
  if (checksum(body) != head->sum) parsed.fault = RecordFault::Checksum;
  if (parsed.fault == RecordFault::None) {
    parsed.record = std::move(record);
    parsed.names.clear();
  }
  return parsed;
}

QByteArray ChangeRecordBytes(const ChangeRecord& record) {
  QByteArray body;
  putField(body, record.append ? AppendKind : ReplaceKind);
  putField(body, QByteArray::number(static_cast<qulonglong>(record.files.size())));
  for (const RecordedFile& f : record.files) {
    if (!record.append) putField(body, PreparedName(f.name).toUtf8());
    putField(body, f.name.toUtf8());
    putField(body, QByteArray::number(f.sizeBefore));
    if (record.append) {
      putField(body, f.tail.value_or(QByteArray()));
      putField(body, f.bytes);
    } else {
      putField(body, f.oldDigest.value_or(QByteArray()));
      putField(body, f.newDigest.value_or(QByteArray()));
    }
  }
  return RecordFormat2 + StateOpen + checksum(body) + '\n' + body;
}

qint64 StateLineOffset() { return RecordFormat2.size(); }
QByteArray ToldStateLine() { return StateTold; }

}  // namespace storage
