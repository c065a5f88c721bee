#pragma once
// Stands in for every program the printouts may start ("xdg-open",
// "abiword", "open"): small scripts first on PATH that record each call
// (program, arguments, a copy of the file named by the first argument) and
// exit with a chosen status. No test opens a real word processor.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testing {

class StubOpener {
 public:
  struct Call {
    QString program;
    QStringList arguments;
    bool copied = false;  // the first argument named a file, copied here
    QByteArray copy;
  };

  StubOpener();
  ~StubOpener();
  StubOpener(const StubOpener&) = delete;
  StubOpener& operator=(const StubOpener&) = delete;

  static QStringList Programs();

  // The exit status of every later call (0 at first).
  void setExitStatus(int status);
  // While held, a started stub has recorded its call and waits.
  void hold();
  void release();

  // The calls recorded so far, in the order they started.
  QList<Call> calls() const;
  QString folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QByteArray oldPath_;
};

}  // namespace testing
