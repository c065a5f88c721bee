#pragma once
// A data folder inside a folder of the test's own, as the working folder:
// what a link or a name of the data folder could lead to lies beside it,
// where any change shows.

#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

namespace testing {

class NestedDataFolder {
 public:
  NestedDataFolder() : previous_(QDir::currentPath()) {
    if (!outer_.isValid() || !QDir(outer_.path()).mkdir("data") || !QDir::setCurrent(data()))
      qFatal("cannot prepare a nested data folder");
  }
  ~NestedDataFolder() {
    if (!QDir::setCurrent(previous_)) qWarning("cannot go back to %s", qPrintable(previous_));
  }
  NestedDataFolder(const NestedDataFolder&) = delete;
  NestedDataFolder& operator=(const NestedDataFolder&) = delete;

  QString outer() const { return outer_.path(); }
  QString data() const { return outer_.filePath("data"); }

  // A file beside the data folder.
  void writeOutside(const QString& name, const QByteArray& bytes) const {
    QFile f(outer_.filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush())
      qFatal("cannot write %s outside", qPrintable(name));
    f.close();
    if (f.error() != QFileDevice::NoError) qFatal("cannot write %s outside", qPrintable(name));
  }

 private:
  QTemporaryDir outer_;
  QString previous_;
};

// What stands at a path, the name itself looked at; a FIFO is never opened.
inline QString Standing(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat st {};
  if (::lstat(name.constData(), &st) != 0) return "nothing";
  if (S_ISLNK(st.st_mode)) {
    char target[4096];
    const ssize_t n = ::readlink(name.constData(), target, sizeof target);
    return "link to " + (n < 0 ? QString("?") : QFile::decodeName(QByteArray(target, int(n))));
  }
  if (S_ISFIFO(st.st_mode)) return "fifo";
  if (S_ISDIR(st.st_mode)) return "folder";
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "unreadable file";
  return "file: " + QString::fromLatin1(f.readAll().toHex());
}

// Everything below `root`, bytes included, without following a link.
inline QMap<QString, QString> Tree(const QString& root, const QString& below = {}) {
  QMap<QString, QString> all;
  const QDir dir(below.isEmpty() ? root : root + '/' + below);
  for (const QString& name : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
    const QString rel = below.isEmpty() ? name : below + '/' + name;
    all[rel] = Standing(root + '/' + rel);
    if (all[rel] == "folder") all.insert(Tree(root, rel));
  }
  return all;
}

}  // namespace testing
