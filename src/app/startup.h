#pragma once
// The road from the process entry to the event loop and back.

namespace app {

// The whole run: the runtime, the globals, the start-up, the event loop.
// Returns the exit status of the process.
int main(int argc, char** argv);

// Start-up on a runtime that already exists: the data folder's lock (a
// folder another run holds is refused with a message, and nothing is read
// or written), the application object and its menu bar, then the desk, then
// the event loop until Quit. Returns the exit code.
int _Main();

void _EarlyStartup();
void _InitFileTypes();
void _NewAppInstance();
void _ApplicationAddMenuHandlers();
void _LateStartup();
void _MakeDefaultView();

}  // namespace app
