#pragma once
// Hands a written RTF file to the platform's program that opens it for
// printing. The program runs beside the event loop, so the desk stays
// usable while a word processor is open; the caller's ending follows when
// the program ends.

#include <QString>
#include <functional>

#include "toolkit/files.h"

namespace tk {
class Window;
}

enum class PrintOutcome {
  Opened,     // the program ended with exit status 0
  Failed,     // it did not: the failure message has been shown
  NoCommand,  // no program on this platform: its message has been shown
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
};

// A seller statement: the desktop's opener.
PrintCommand StatementPrintCommand(const QString& fileName);
// The seller cards and the general results: the word processor.
PrintCommand SellerCardsPrintCommand();
PrintCommand GeneralResultsPrintCommand();

using PrintEnding = std::function<void(PrintOutcome)>;

// Starts the platform's program with one argument, the file's absolute
// path, and returns at once. When the program has ended, a failure shows
// its message, then `ending` runs with the outcome, unless the window has
// been closed or deleted meanwhile. Without a program for the platform the
// message and `ending` come before the return. False, and nothing started
// or shown, while this window's launch of that file is still running.
bool PrintLauncher(tk::Window& window, const tk::FolderItem& file, const PrintCommand& command, PrintEnding ending);

// The same for a given platform's branch.
bool PrintLauncherOn(Platform platform, tk::Window& window, const tk::FolderItem& file, const PrintCommand& command,
                     PrintEnding ending);

// True from a launch of this window until its program has ended: of any
// file, or of that file.
bool PrintLaunchRunning(const tk::Window& window);
bool PrintLaunchRunning(const tk::Window& window, const tk::FolderItem& file);

// True, once a message has said so, while this window's earlier launch of
// that file still runs (a word processor left open): the caller then writes
// nothing and starts nothing, and the user knows why.
bool StillPrinting(const tk::Window& window, const tk::FolderItem& file);
