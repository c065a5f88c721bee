#include "rtf/printlauncher.h"

#include <QPointer>
#include <algorithm>
#include <vector>

#include "rtf/rtfdocument.h"
#include "toolkit/dialogs.h"
#include "toolkit/process.h"
#include "toolkit/window.h"

namespace {

// The windows whose launch is still running. A deleted window drops out.
std::vector<QPointer<tk::Window>>& running() {
  static std::vector<QPointer<tk::Window>> windows;
  windows.erase(std::remove(windows.begin(), windows.end(), nullptr), windows.end());
  return windows;
}

void forget(tk::Window* window) {
  auto& r = running();
  r.erase(std::remove(r.begin(), r.end(), window), r.end());
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
  return std::find(r.begin(), r.end(), &window) != r.end();
}

bool PrintLauncherOn(Platform platform, tk::Window& window, const tk::FolderItem& file, const PrintCommand& command,
                     PrintEnding ending) {
  if (PrintLaunchRunning(window)) return false;
  if (platform == Platform::Windows) {
    tk::MsgBox(QStringLiteral("Fonction non implémentée sous Windows!"));
    ending(PrintOutcome::NoCommand);
    return true;
  }
  const bool mac = platform == Platform::MacOS;
  const QString failure = mac ? command.macFailure : command.linuxFailure;
  running().push_back(&window);
  QPointer<tk::Window> launcher(&window);
  tk::StartProgram(mac ? command.macProgram : command.linuxProgram, {file.NativePath()},
                   [launcher, failure, ending = std::move(ending)](int status) {
                     if (launcher) forget(launcher.data());
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
