#pragma once
// What the windows say before or instead of touching the data files.

#include <QString>

#include "toolkit/dialogs.h"

// A caution before something that cannot be undone: "Continuer" goes on,
// the cancel button (with the given caption) and the keyboard's cancel key
// stop.
tk::MessageDialog ContinueWarning(const QString& title, const QString& message, const QString& explanation,
                                  const QString& cancelCaption = QStringLiteral("Annuler"));

// Settles a change of the data files that an earlier run left unfinished,
// showing what there is to say. False when the window must then read and
// write no data file (the message has said why).
bool UnfinishedChangeSettled();
