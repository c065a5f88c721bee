#include "support/stubopener.h"

#include <QDir>
#include <QFile>

#include "support/harness.h"

namespace testing {

namespace {

// Records the call in a folder of its own, moved into calls/ when complete,
// so a call is seen whole or not at all.
const char kScript[] = R"sh(#!/bin/sh
d=$(dirname "$0")
tmp=$(mktemp -d "$d/tmp.XXXXXX")
basename "$0" > "$tmp/program"
for a in "$@"; do printf '%s\0' "$a"; done > "$tmp/arguments"
if [ -f "$1" ]; then cp -- "$1" "$tmp/copy"; fi
mv "$tmp" "$d/calls/$(date +%s%N)-$$"
f=$(basename -- "${1:-none}")
while [ -e "$d/hold" ] || [ -e "$d/hold-$f" ]; do sleep 0.01; done
if [ -e "$d/status-$f" ]; then exit "$(cat "$d/status-$f")"; fi
exit "$(cat "$d/status")"
)sh";

void writeFile(const QString& path, const QByteArray& content) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
    qFatal("cannot write %s", qPrintable(path));
}

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

QStringList StubOpener::Programs() { return {"xdg-open", "abiword", "open"}; }

StubOpener::StubOpener() : oldPath_(qgetenv("PATH")) {
  if (!dir_.isValid() || !QDir(dir_.path()).mkdir("calls")) qFatal("cannot make the stub opener's folder");
  for (const QString& program : Programs()) {
    const QString path = dir_.filePath(program);
    writeFile(path, kScript);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  setExitStatus(0);
  qputenv("PATH", QFile::encodeName(dir_.path()) + ":" + oldPath_);
}

StubOpener::~StubOpener() {
  // A stub still running when its folder goes would end in failure, in
  // whatever test runs next.
  const bool running = ProgramsLeftRunning();
  const QDir folder(dir_.path());
  for (const QString& hold : folder.entryList({"hold*"}, QDir::Files)) QFile::remove(folder.filePath(hold));
  if (running) WaitForPrograms();
  qputenv("PATH", oldPath_);
}

namespace {
QString perFile(const char* what, const QString& fileName) {
  return fileName.isEmpty() ? QString::fromLatin1(what) : QString::fromLatin1(what) + '-' + fileName;
}
}  // namespace

void StubOpener::setExitStatus(int status, const QString& fileName) {
  writeFile(dir_.filePath(perFile("status", fileName)), QByteArray::number(status));
}

void StubOpener::hold(const QString& fileName) { writeFile(dir_.filePath(perFile("hold", fileName)), {}); }

void StubOpener::release(const QString& fileName) { QFile::remove(dir_.filePath(perFile("hold", fileName))); }

QList<StubOpener::Call> StubOpener::calls() const {
  QList<Call> out;
  const QDir calls(dir_.filePath("calls"));
  for (const QString& name : calls.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    Call c;
    c.program = QString::fromUtf8(readFile(calls.filePath(name + "/program"))).trimmed();
    const QByteArray args = readFile(calls.filePath(name + "/arguments"));
    for (const QByteArray& a : args.split('\0').mid(0, args.count('\0'))) c.arguments << QFile::decodeName(a);
    c.copied = QFile::exists(calls.filePath(name + "/copy"));
    c.copy = readFile(calls.filePath(name + "/copy"));
    out << c;
  }
  return out;
}

}  // namespace testing
