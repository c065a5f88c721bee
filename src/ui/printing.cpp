#include "ui/printing.h"

#include <QPointer>

#include "toolkit/dialogs.h"
#include "toolkit/window.h"

bool StillPrinting(const tk::Window& window, const tk::FolderItem& file) {
  if (!PrintLaunchRunning(window, file)) return false;
  tk::MsgBox(StillPrintingMessage(file));
  return true;
}

bool PrintLauncherOn(Platform platform, tk::Window& window, const tk::FolderItem& file, const PrintCommand& command,
                     PrintEnding ending) {
  const QPointer<tk::Window> launcher(&window);
  const QString failure = command.FailureOn(platform);
  return StartPrintProgram(platform, window, file, command, [launcher, failure, ending](PrintOutcome outcome) {
    // The file is not shown: the user must hear it even when the window has gone.
    if (outcome == PrintOutcome::Failed) tk::MsgBox(failure);
    if (outcome == PrintOutcome::NoCommand) tk::MsgBox(NoPrintCommandMessage());
    if (launcher && !launcher->IsClosed()) ending(outcome);
  });
}

bool PrintLauncher(tk::Window& window, const tk::FolderItem& file, const PrintCommand& command, PrintEnding ending) {
  return PrintLauncherOn(kBuildPlatform, window, file, command, std::move(ending));
}
