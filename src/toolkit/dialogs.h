#pragma once
// Modal message boxes. Every box goes through one seam, so tests can record
// the texts and answer from a script instead of blocking on a modal dialog.

#include <QString>
#include <memory>

#include "toolkit/windowside.h"

namespace tk {

struct MessageDialogButton {
  QString Caption;
  bool Visible = true;
  bool Cancel = false;  // pressed by the keyboard's cancel key
};

// A modal dialog with an icon, a title, a message, an explanation and up to
// three buttons. ShowModal() returns the button pressed; any other way out
// of the dialog counts as the cancel button.
class MessageDialog {
 public:
  enum IconKind { Note = 0, Caution = 1, Stop = 2, Question = 3 };

  int Icon = Note;
  QString Title;
  QString Message;
  QString Explanation;
  MessageDialogButton ActionButton{QStringLiteral("OK"), true, false};
  MessageDialogButton CancelButton{QStringLiteral("Annuler"), false, false};
  MessageDialogButton AlternateActionButton{QString(), false, false};

  const MessageDialogButton* ShowModal();
};

// What the seam is asked to show. Answers of MessageDialog.
enum class DialogAnswer { Action, Cancel, Alternate, Other };

class DialogSeam {
 public:
  virtual ~DialogSeam() = default;
  virtual void msgBox(const QString& text) = 0;
  virtual DialogAnswer messageDialog(const MessageDialog& dialog) = 0;
};

// One text, one button, modal.
void MsgBox(const QString& text);

// The real boxes, as shown when no other seam is set.
std::shared_ptr<DialogSeam> QtDialogSeam();

// Replaces the seam; returns the one it replaced. Null restores the real boxes.
std::shared_ptr<DialogSeam> SetDialogSeam(std::shared_ptr<DialogSeam> seam);

}  // namespace tk
