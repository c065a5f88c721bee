#include "rtf/printlauncher.h"

#include <QObject>
#include <QPointer>
#include <algorithm>
#include <vector>

#include "rtf/rtfdocument.h"
#include "toolkit/process.h"

namespace {

// The launches still running: which owner opened which file. An owner
// deleted meanwhile drops out.
struct Launch {
  QPointer<const QObject> owner;
  QString path;
};

std::vector<Launch>& running() {
  static std::vector<Launch> launches;
  launches.erase(std::remove_if(launches.begin(), launches.end(), [](const Launch& l) { return !l.owner; }),
                 launches.end());
  return launches;
}

void forget(const QObject* owner, const QString& path) {
  auto& r = running();
  r.erase(std::remove_if(r.begin(), r.end(), [&](const Launch& l) { return l.owner == owner && l.path == path; }),
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

QString NoPrintCommandMessage() { return QStringLiteral("Fonction non implémentée sous Windows!"); }

QString StillPrintingMessage(const tk::FolderItem& file) {
  return QStringLiteral("Le fichier \"") + file.Name() +
         QStringLiteral("\" est encore ouvert: fermez le programme qui l'affiche, puis recommencez.");
}

bool PrintLaunchRunning(const QObject& owner) {
  const auto& r = running();
  return std::any_of(r.begin(), r.end(), [&](const Launch& l) { return l.owner == &owner; });
}

bool PrintLaunchRunning(const QObject& owner, const tk::FolderItem& file) {
  const auto& r = running();
  const QString path = file.NativePath();
  return std::any_of(r.begin(), r.end(), [&](const Launch& l) { return l.owner == &owner && l.path == path; });
}

bool StartPrintProgram(Platform platform, const QObject& owner, const tk::FolderItem& file, const PrintCommand& command,
                       std::function<void(PrintOutcome)> ended) {
  if (PrintLaunchRunning(owner, file)) return false;
  if (platform == Platform::Windows) {
    ended(PrintOutcome::NoCommand);
    return true;
  }
  const QString path = file.NativePath();
  running().push_back({&owner, path});
  const QPointer<const QObject> launcher(&owner);
  tk::StartProgram(platform == Platform::MacOS ? command.macProgram : command.linuxProgram, {path},
                   [launcher, path, ended = std::move(ended)](int status) {
                     if (launcher) forget(launcher.data(), path);
                     ended(status == 0 ? PrintOutcome::Opened : PrintOutcome::Failed);
                   });
  return true;
}
