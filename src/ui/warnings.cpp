#include "ui/warnings.h"

#include "core/unfinishedchange.h"

tk::MessageDialog ContinueWarning(const QString& title, const QString& message, const QString& explanation,
                                  const QString& cancelCaption) {
  tk::MessageDialog d;
  d.Icon = tk::MessageDialog::Caution;
  d.Title = title;
  d.Message = message;
  d.Explanation = explanation;
  d.ActionButton.Caption = QStringLiteral("Continuer");
  d.CancelButton.Caption = cancelCaption;
  d.CancelButton.Visible = true;
  d.CancelButton.Cancel = true;
  return d;
}

bool UnfinishedChangeSettled() {
  const SettledChange settled = SettleUnfinishedChange();
  if (!settled.message.isEmpty()) tk::MsgBox(settled.message);
  return settled.goOn;
}
