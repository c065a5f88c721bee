#include "rtf/printlauncher.h"

#include <QPointer>
#include <algorithm>
#include <vector>

#include "rtf/rtfdocument.h"
#include "toolkit/dialogs.h"
#include "toolkit/process.h"
#include "toolkit/window.h"

namespace {

// The launches still running: which window opened which file. A deleted
// window drops out.
struct Launch {
  QPointer<tk::Window> window;
  QString path;
};

std::vector<Launch>& running() {
  static std::vector<Launch> launches;
  launches.erase(std::remove_if(launches.begin(), launches.end(), [](const Launch& l) { return !l.window; }),
                 launches.end());
  return launches;
}

void forget(const tk::Window* window, const QString& path) {
  auto& r = running();
  r.erase(std::remove_if(r.begin(), r.end(), [&](const Launch& l) { return l.window == window && l.path == path; }),
          r.end());
}

QString wordProcessorFailure(const QString& name, const QString& fileName) {
  return QStringLiteral("Impossible d'ouvrir ") + name + QStringLiteral(" Vous devrez imprimer le fichier \"") +
         fileName + QStringLiteral("\" vous-même.");
}

}  // namespace

PrintCommand StatementPrintCommand(const QString& fileName) {
  const QString failure = QStringLiteral("Impossible d'ouvrir le fichier \"") + fileName +
                          QStringLiteral("\"! Vous devrez imprimer le fichier \"") + fileName +
                          QStringLiteral("\" vous-même.");
  return {QStringLiteral("xdg-open"), failure, QStringLiteral("open"), failure};
}

PrintCommand SellerCardsPrintCommand() {
  return {QStringLiteral("abiword"), wordProcessorFailure(QStringLiteral("Abiword!"), SellerCardsFile),
          QStringLiteral("open"), wordProcessorFailure(QStringLiteral("TextEdit"), SellerCardsFile)};
}

PrintCommand GeneralResultsPrintCommand() {
  return {QStringLiteral("abiword"), wordProcessorFailure(QStringLiteral("Abiword!"), GeneralResultsFile),
          QStringLiteral("open"), wordProcessorFailure(QStringLiteral("TextEdit!"), GeneralResultsFile)};
}

bool PrintLaunchRunning(const tk::Window& window) {
  const auto& r = running();
  return std::any_of(r.begin(), r.end(), [&](const Launch& l) { return l.window == &window; });
}

bool PrintLaunchRunning(const tk::Window& window, const tk::FolderItem& file) {
  const auto& r = running();
  const QString path = file.NativePath();
  return std::any_of(r.begin(), r.end(), [&](const Launch& l) { return l.window == &window && l.path == path; });
}

bool StillPrinting(const tk::Window& window, const tk::FolderItem& file) {
  if (!PrintLaunchRunning(window, file)) return false;
  tk::MsgBox(QStringLiteral("Le fichier \"") + file.Name() +
             QStringLiteral("\" est encore ouvert: fermez le programme qui l'affiche, puis recommencez."));
  return true;
}

bool PrintLauncherOn(Platform platform, tk::Window& window, const tk::FolderItem& file, const PrintCommand& command,
                     PrintEnding ending) {
  if (PrintLaunchRunning(window, file)) return false;
  if (platform == Platform::Windows) {
    tk::MsgBox(QStringLiteral("Fonction non implémentée sous Windows!"));
    ending(PrintOutcome::NoCommand);
    return true;
  }
  const bool mac = platform == Platform::MacOS;
  const QString failure = mac ? command.macFailure : command.linuxFailure;
  const QString path = file.NativePath();
  running().push_back({&window, path});
  QPointer<tk::Window> launcher(&window);
  tk::StartProgram(mac ? command.macProgram : command.linuxProgram, {path},
                   [launcher, path, failure, ending = std::move(ending)](int status) {
                     if (launcher) forget(launcher.data(), path);
                     const PrintOutcome outcome = status == 0 ? PrintOutcome::Opened : PrintOutcome::Failed;
                     // The file is not shown: the user must hear it even when
                     // the window has gone.
                     if (outcome == PrintOutcome::Failed) tk::MsgBox(failure);
                     if (launcher && !launcher->IsClosed()) ending(outcome);
                   });
  return true;
}

bool PrintLauncher(tk::Window& window, const tk::FolderItem& file, const PrintCommand& command, PrintEnding ending) {
  return PrintLauncherOn(kBuildPlatform, window, file, command, std::move(ending));
}
