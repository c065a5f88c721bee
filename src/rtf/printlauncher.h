#pragma once
// Hands a written RTF file to the platform's program that opens it for
// printing. The program runs beside the event loop, so the desk stays
// usable while a word processor is open; the caller's ending follows when
// the program ends. Who asked is any object (a window): while it lives, its
// launches are its own; once it is gone they drop out.

#include <QString>
#include <functional>

#include "toolkit/files.h"

class QObject;

enum class PrintOutcome {
  Opened,     // the program ended with exit status 0
  Failed,     // it did not, or could not start: the failure message is due
  NoCommand,  // no program on this platform: its message is due
};

enum class Platform { Linux, MacOS, Windows };

// The platform this build is for, fixed when it is built.
#if defined(Q_OS_WIN)
inline constexpr Platform kBuildPlatform = Platform::Windows;
#elif defined(Q_OS_MACOS)
inline constexpr Platform kBuildPlatform = Platform::MacOS;
#else
inline constexpr Platform kBuildPlatform = Platform::Linux;
#endif

// What a printout runs on each platform and what it says when that fails.
struct PrintCommand {
  QString linuxProgram;
  QString linuxFailure;
  QString macProgram;
  QString macFailure;

  // The failure message of that platform's program.
  QString FailureOn(Platform platform) const { return platform == Platform::MacOS ? macFailure : linuxFailure; }
};

// A seller statement: the desktop's opener.
PrintCommand StatementPrintCommand(const QString& fileName);
// The seller cards and the general results: the word processor.
PrintCommand SellerCardsPrintCommand();
PrintCommand GeneralResultsPrintCommand();

// What a printout says on a platform without a program for it.
QString NoPrintCommandMessage();
// What a printout says while an earlier launch of its file still runs (a
// word processor left open).
QString StillPrintingMessage(const tk::FolderItem& file);

// Starts the platform's program with one argument, the file's absolute
// path, for `owner`, and returns at once; `ended` runs from the event loop
// once the program has ended, whether or not the owner still exists.
// Without a program for the platform nothing is started and `ended` runs
// (NoCommand) before the return. False, and nothing started, while the
// owner's launch of that file is still running.
bool StartPrintProgram(Platform platform, const QObject& owner, const tk::FolderItem& file, const PrintCommand& command,
                       std::function<void(PrintOutcome)> ended);

// True from a launch of this owner until its program has ended: of any
// file, or of that file.
bool PrintLaunchRunning(const QObject& owner);
bool PrintLaunchRunning(const QObject& owner, const tk::FolderItem& file);
