#pragma once
// A change of the data files that a crash cut short is settled before any
// window reads those files: finished, or left as it is with a message that
// says which file to check; a record of it that this program could not have
// written is set aside. One that this run gave up waits for the next start.

#include <QString>

// What settling an unfinished change gives the window that asked.
struct SettledChange {
  bool goOn = true;  // false: read and write no data file; the next start tries again
  QString message;   // to show, when there is one
};

// Settles what an earlier run left unfinished. It cannot go on yet when a
// file cannot be written, one was edited by hand since or is no longer a
// plain file, the change is one this run gave up, or a damaged record
// cannot be set aside: the message says why. A finished change that the user had been told had failed is
// said to be finished; a damaged record set aside is told, with the files
// to check, and the opening goes on.
SettledChange SettleUnfinishedChange();

// The data files a change of this program writes: the seller list, the
// coupon map, the sellers' sales files and the journals.
bool IsChangeableDataFile(const QString& name);

// The message for a change of the data files that failed: `ordinary`, or,
// when the failure left the files part-way (or an earlier one did, in this
// run), the one that says nothing more is written before a new start.
QString FailedChangeMessage(const QString& ordinary);
