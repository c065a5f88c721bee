#pragma once
// Opening the cash desk in a test, the way a cashier starts a run.

#include "desk/window1.h"
#include "support/harness.h"
#include "toolkit/window.h"

namespace testing {

// Title of the desk's start dialog.
inline const QString StartDialogTitle = QStringLiteral("et pour commencer... ");

// Builds the desk (its opening runs) with "Continuer" answered to the start
// dialog, and gives it.
inline tk::Handle<Window1> OpenDesk(Harness& h) {
  h.dialogs().answerTitle(StartDialogTitle, tk::DialogAnswer::Action);
  return tk::Ref<Window1>();
}

}  // namespace testing
