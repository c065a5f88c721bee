#include "toolkit/process.h"

#include <QProcess>
#include <memory>

namespace tk {

namespace {
int running = 0;
}  // namespace

int ProgramsRunning() { return running; }

void StartProgram(const QString& program, const QStringList& arguments, std::function<void(int exitStatus)> ended) {
  // No parent: leaving the program must not kill a word processor it opened.
  auto* process = new QProcess;
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  auto pending = std::make_shared<std::function<void(int)>>(std::move(ended));
  // A crash reports both an error and a finish; the first one ends it.
  auto finish = [process, pending](int status) {
    if (!*pending) return;
    auto call = std::move(*pending);
    *pending = nullptr;
    --running;
    process->deleteLater();
    call(status);
  };
  // Queued, so a program that cannot even start ends from the event loop
  // too, after the caller has returned.
  QObject::connect(
      process, &QProcess::finished, process,
      [finish](int code, QProcess::ExitStatus status) {
        finish(status == QProcess::NormalExit ? code : kProcessFailed);
      },
      Qt::QueuedConnection);
  QObject::connect(
      process, &QProcess::errorOccurred, process,
      [finish](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) finish(kProcessFailed);
      },
      Qt::QueuedConnection);
  ++running;
  process->start(program, arguments);
}

}  // namespace tk
