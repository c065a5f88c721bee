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

  // The exit status of every later call (0 at first); with a file name,
  // of the calls that open that file, whatever the others get.
  void setExitStatus(int status, const QString& fileName = QString());
  // While held, a started stub has recorded its call and waits: every
  // stub, or those that open the file of that name.
  void hold(const QString& fileName = QString());
  void release(const QString& fileName = QString());

  // The calls recorded so far, in the order they started.
  QList<Call> calls() const;
  QString folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QByteArray oldPath_;
};

}  // namespace testing
