#pragma once
// A change of two data files that a crash cut short is finished before any
// window reads those files; one that a run could neither make nor take back
// waits for the next start.

#include <QString>

// Carries out what an earlier run left unfinished, and says so when that
// run had reported the change as failed. False, once a message has said
// why, when it cannot be done yet (a file that cannot be written, one
// edited by hand since, or a change this run left): the caller then reads
// and writes no data file, and the next start tries again.
bool FinishInterruptedChange();

// The message for a change of the data files that failed: `ordinary`, or,
// when the failure left the files part-way (or an earlier one did, in this
// run), the one that says nothing more is written before a new start.
QString FailedChangeMessage(const QString& ordinary);
