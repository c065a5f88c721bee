#pragma once
// Starting other programs: always a program and its arguments, never a
// shell command line, so no text of ours is ever parsed by a shell.

#include <QString>
#include <QStringList>
#include <functional>

namespace tk {

// Exit status of a program that failed to start or did not end normally.
constexpr int kProcessFailed = -1;

// Runs the program, waits for its end and returns its exit status.
int RunProgram(const QString& program, const QStringList& arguments);

// Replaces the runner (tests); an empty function restores the real one.
using ProcessRunner = std::function<int(const QString& program, const QStringList& arguments)>;
void SetProcessRunner(ProcessRunner runner);

}  // namespace tk
