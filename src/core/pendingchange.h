#pragma once
// A change of two data files that a crash cut short is finished before any
// window reads those files.

// Carries out what an earlier run left unfinished. False, once a message has
// named the files, when it cannot be done yet: the caller then reads and
// writes no data file, and the next start tries again.
bool FinishInterruptedChange();
