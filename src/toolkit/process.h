#pragma once
// Starting other programs: always a program and its arguments, never a
// shell command line, so no text of ours is ever parsed by a shell. The
// program runs beside the event loop; nothing waits for it.

#include <QString>
#include <QStringList>
#include <functional>

namespace tk {

// Exit status of a program that failed to start or did not end normally.
constexpr int kProcessFailed = -1;

// Starts the program (looked up on PATH) with these arguments and returns
// at once. When it has ended, `ended` runs once, from the event loop, with
// its exit status, or kProcessFailed when it could not be started or
// crashed. A program still running when this one ends is left running.
void StartProgram(const QString& program, const QStringList& arguments, std::function<void(int exitStatus)> ended);

// How many programs StartProgram started whose ending has not run yet.
int ProgramsRunning();

}  // namespace tk
