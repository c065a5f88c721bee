#include "toolkit/application.h"

#include <QStyleFactory>
#include <exception>

#include "toolkit/dialogs.h"
#include "toolkit/text.h"

namespace tk {

namespace {

Application* registered = nullptr;

struct QuitState {
  bool requested = false;
  int code = 0;
  std::function<void(int)> handler;
};

QuitState& quitState() {
  static QuitState s;
  return s;
}

}  // namespace

Application::Application() = default;

Application::~Application() {
  if (registered == this) registered = nullptr;
}

void Application::_x_SetVersionData(int major, int minor, int bug, int nonRelease, int stage,
                                    const QString& longVersion, const QString& shortVersion,
                                    const QString& packageInfo) {
  version_ = VersionData{major, minor, bug, nonRelease, stage, longVersion, shortVersion, packageInfo};
}

Application* App() { return registered; }

void RegisterApplication(Application* app) { registered = app; }

Runtime::Runtime(int& argc, char** argv) : QApplication(argc, argv) {
  // One look on every desktop; the designs were drawn for it.
  setQuitOnLastWindowClosed(false);  // the run ends only through Quit
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) setStyle(style);
}

bool Runtime::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ReportUnhandledError(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    ReportUnhandledError(UnknownError);
  }
  return false;
}

void Quit(int exitCode) {
  QuitState& s = quitState();
  s.requested = true;
  s.code = exitCode;
  if (s.handler) {
    s.handler(exitCode);
    return;
  }
  QCoreApplication::exit(exitCode);
}

bool QuitRequested() { return quitState().requested; }
int QuitCode() { return quitState().code; }

void SetQuitHandler(std::function<void(int)> handler) { quitState().handler = std::move(handler); }

void ResetQuitRequest() {
  quitState().requested = false;
  quitState().code = 0;
}

int RunEventLoop() {
  if (QuitRequested()) return QuitCode();
  const int code = QCoreApplication::exec();
  return QuitRequested() ? QuitCode() : code;
}

void RunHandler(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ReportUnhandledError(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    ReportUnhandledError(UnknownError);
  }
}

void ReportUnhandledError(const QString& what) {
  try {
    MsgBox(QStringLiteral("Erreur inattendue: ") + what + EndOfLine +
           QStringLiteral("Le programme va s'arrêter. Les coupons déjà enregistrés sont dans leurs fichiers."));
  } catch (...) {
  }
  Quit(1);
}

}  // namespace tk
