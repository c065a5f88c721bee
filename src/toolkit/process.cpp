#include "toolkit/process.h"

#include <QProcess>

namespace tk {

namespace {

ProcessRunner& runner() {
  static ProcessRunner r;
  return r;
}

int runForReal(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedChannels);
  p.start(program, arguments);
  if (!p.waitForStarted(-1)) return kProcessFailed;
  p.waitForFinished(-1);
  if (p.exitStatus() != QProcess::NormalExit) return kProcessFailed;
  return p.exitCode();
}

}  // namespace

int RunProgram(const QString& program, const QStringList& arguments) {
  if (runner()) return runner()(program, arguments);
  return runForReal(program, arguments);
}

void SetProcessRunner(ProcessRunner r) { runner() = std::move(r); }

}  // namespace tk
