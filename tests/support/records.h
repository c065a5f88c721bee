#pragma once
// Intent records as a hand, a disk or another program may leave them, each
// sealed with a checksum that holds; a test breaks what it wants broken.

#include <QByteArray>
#include <QCryptographicHash>

namespace testing::records {

inline QByteArray field(const QByteArray& f) { return QByteArray::number(f.size()) + ':' + f + ','; }

inline QByteArray sealed(const QByteArray& body, int format = 2, const QByteArray& state = "open\n") {
  const QByteArray head = format == 1 ? QByteArray("corvalenta change 1\n") : "corvalenta change 2\n" + state;
  return head + QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() + '\n' + body;
}

inline QByteArray change(const QByteArray& kind, const QByteArray& count, const QByteArray& entries) {
  return field(kind) + field(count) + entries;
}

inline QByteArray appended(const QByteArray& name, const QByteArray& size, const QByteArray& tail, const QByteArray& bytes) {
  return field(name) + field(size) + field(tail) + field(bytes);
}
inline QByteArray appendedFirstFormat(const QByteArray& name, const QByteArray& size, const QByteArray& bytes) {
  return field(name) + field(size) + field(bytes);
}

inline QByteArray sha1(const QByteArray& bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1); }

inline QByteArray replaced(const QByteArray& name, const QByteArray& size, const QByteArray& oldDigest,
                    const QByteArray& newDigest, const QByteArray& prepared = QByteArray()) {
  return field(prepared.isNull() ? ".corvalenta-new." + name : prepared) + field(name) + field(size) +
         field(oldDigest) + field(newDigest);
}
inline QByteArray replacedFirstFormat(const QByteArray& name, const QByteArray& prepared = QByteArray()) {
  return field(prepared.isNull() ? ".corvalenta-new." + name : prepared) + field(name);
}

}  // namespace testing::records
