#pragma once
// A window's printout handed to the platform's program, with what the user
// is told along the way.

#include <functional>

#include "rtf/printlauncher.h"
#include "toolkit/files.h"
#include "toolkit/windowside.h"

namespace tk {
class Window;
}

using PrintEnding = std::function<void(PrintOutcome)>;

// Starts the platform's program on the file for this window and returns at
// once. When the program has ended, a failure shows its message, then
// `ending` runs with the outcome, unless the window has been closed or
// deleted meanwhile. Without a program for the platform the message and
// `ending` come before the return. False, and nothing started or shown,
// while this window's launch of that file is still running.
bool PrintLauncher(tk::Window& window, const tk::FolderItem& file, const PrintCommand& command, PrintEnding ending);

// The same for a given platform's branch.
bool PrintLauncherOn(Platform platform, tk::Window& window, const tk::FolderItem& file, const PrintCommand& command,
                     PrintEnding ending);

// True, once a message has said so, while this window's earlier launch of
// that file still runs (a word processor left open): the caller then writes
// nothing and starts nothing, and the user knows why.
bool StillPrinting(const tk::Window& window, const tk::FolderItem& file);
