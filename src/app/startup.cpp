#include "app/startup.h"

#include <exception>

#include "app/corvalenta.h"
#include "core/module1.h"
#include "desk/window1.h"
#include "storage/folderlock.h"
#include "toolkit/application.h"
#include "toolkit/dialogs.h"
#include "toolkit/files.h"
#include "toolkit/window.h"
#include "ui/menubar1.h"

namespace app {

namespace {

// The application object lives from its creation to the end of the run.
Corvalenta* application = nullptr;

void _RunFrameworkInitialization(void (*lateStartup)()) { lateStartup(); }

}  // namespace

int main(int argc, char** argv) {
  tk::Runtime runtime(argc, argv);
  tk::Runtime::setApplicationName(QStringLiteral("Corvalenta"));  // the title of the message boxes
  Module1::Initialise();
  const int code = _Main();
  tk::CloseAllWindows();
  delete application;
  application = nullptr;
  return code;
}

int _Main() {
  // One run per data folder, taken before anything reads or finishes a file
  // and held to the end: two desks on the same files would book a coupon
  // twice and undo each other's changes. Where the folder's own lock is
  // refused, a lock file in it stands for it; a folder where neither can be
  // taken (nothing can be made in it either) goes on as before.
  const storage::FolderLock lock(tk::GetFolderItem(QString()).Path());
  try {
    if (lock.state() == storage::FolderLock::HeldElsewhere) {
      tk::MsgBox(QStringLiteral(
          "Corvalenta est déjà ouvert sur ce dossier de données: utilisez la fenêtre déjà ouverte."));
      tk::Quit(1);
      return tk::QuitCode();
    }
    _EarlyStartup();
    _RunFrameworkInitialization(&_LateStartup);
    return tk::RunEventLoop();
  } catch (const std::exception& e) {
    tk::ReportUnhandledError(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    tk::ReportUnhandledError(tk::UnknownError);
  }
  return tk::QuitCode();
}

void _EarlyStartup() {
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
}

void _InitFileTypes() {}

void _NewAppInstance() {
  auto* app = new Corvalenta;
  app->_x_SetVersionData(0, 9, 3, 0, 2, QString(), QString(), QString());
  app->MenuBar = &MenuBar1::Instance();
  tk::RegisterApplication(app);
  delete application;
  application = app;
}

void _ApplicationAddMenuHandlers() {}

void _LateStartup() { _MakeDefaultView(); }

void _MakeDefaultView() { tk::Ref<Window1>(); }

}  // namespace app
