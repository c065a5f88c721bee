#pragma once
// The application object, the event loop, quitting, and the report of an
// error that no handler catches.

#include <QApplication>
#include <QObject>
#include <QString>
#include <functional>

class QMenuBar;

namespace tk {

struct VersionData {
  int MajorVersion = 0;
  int MinorVersion = 0;
  int BugVersion = 0;
  int NonReleaseVersion = 0;
  int StageCode = 0;
  QString LongVersion;
  QString ShortVersion;
  QString PackageInfo;
};

// The one application object of a run: its version data and its menu bar.
class Application : public QObject {
  Q_OBJECT
 public:
  Application();
  ~Application() override;

  void _x_SetVersionData(int major, int minor, int bug, int nonRelease, int stage, const QString& longVersion,
                         const QString& shortVersion, const QString& packageInfo);
  const VersionData& Version() const { return version_; }
  QMenuBar* MenuBar = nullptr;

 private:
  VersionData version_;
};

// The application object registered for this run, or null.
Application* App();
void RegisterApplication(Application* app);

// The runtime under the application: Qt's own application, which also
// reports an error that escapes an event handler.
class Runtime : public QApplication {
 public:
  Runtime(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Ends the run with this exit code: the event loop stops (or, asked before
// it runs, never starts). The caller returns at once after the call.
void Quit(int exitCode = 0);
bool QuitRequested();
int QuitCode();
// Replaces what Quit does (tests record it); empty restores the real one.
void SetQuitHandler(std::function<void(int)> handler);
// Forgets an earlier quit request (tests).
void ResetQuitRequest();

// Runs the event loop until Quit; returns the exit code.
int RunEventLoop();

// Runs a handler; an error escaping it is reported and ends the run.
void RunHandler(const std::function<void()>& handler);
// Shows what went wrong, then ends the run with exit code 1.
void ReportUnhandledError(const QString& what);
// What is reported for an error that carries no text of its own.
inline const QString UnknownError = QStringLiteral("erreur inconnue");

}  // namespace tk
