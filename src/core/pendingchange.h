#pragma once
// A change of two data files that a crash cut short is finished before any
// window reads those files; one that a run could neither make nor take back
// waits for the next start.

#include <QString>

// What finishing an earlier run's change gives the window that asked.
struct InterruptedChange {
  bool goOn = true;  // false: read and write no data file; the next start tries again
  QString message;   // to show, when there is one
};

// Carries out what an earlier run left unfinished. It cannot go on yet
// when a file cannot be written, one was edited by hand since, or the
// change is one this run left: the message says why. A finished change
// that the user had been told had failed is said to be finished.
InterruptedChange FinishInterruptedChange();

// The message for a change of the data files that failed: `ordinary`, or,
// when the failure left the files part-way (or an earlier one did, in this
// run), the one that says nothing more is written before a new start.
QString FailedChangeMessage(const QString& ordinary);
