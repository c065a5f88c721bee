#include "toolkit/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "toolkit/window.h"

namespace tk {

namespace {

class QtDialogs : public DialogSeam {
 public:
  void msgBox(const QString& text) override {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MsgBox"));
    box.setTextFormat(Qt::PlainText);  // a text from the files is shown as it is, never as markup
    box.setDefaultButton(QMessageBox::Ok);  // Return closes it as Escape does
    box.exec();
  }

  DialogAnswer messageDialog(const MessageDialog& d) override {
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("MessageDialog"));
    switch (d.Icon) {
      case MessageDialog::Caution: box.setIcon(QMessageBox::Warning); break;
      case MessageDialog::Stop: box.setIcon(QMessageBox::Critical); break;
      case MessageDialog::Question: box.setIcon(QMessageBox::Question); break;
      default: box.setIcon(QMessageBox::Information); break;
    }
    box.setWindowTitle(d.Title);
    box.setText(d.Message);
    box.setInformativeText(d.Explanation);
    QAbstractButton* action = nullptr;
    QAbstractButton* cancel = nullptr;
    QAbstractButton* alternate = nullptr;
    if (d.ActionButton.Visible) action = box.addButton(d.ActionButton.Caption, QMessageBox::AcceptRole);
    if (d.AlternateActionButton.Visible)
      alternate = box.addButton(d.AlternateActionButton.Caption, QMessageBox::DestructiveRole);
    if (d.CancelButton.Visible) {
      cancel = box.addButton(d.CancelButton.Caption, QMessageBox::RejectRole);
      if (d.CancelButton.Cancel) box.setEscapeButton(cancel);
    }
    if (action) box.setDefaultButton(qobject_cast<QPushButton*>(action));
    box.exec();
    QAbstractButton* pressed = box.clickedButton();
    if (pressed && pressed == action) return DialogAnswer::Action;
    if (pressed && pressed == alternate) return DialogAnswer::Alternate;
    if (pressed && pressed == cancel) return DialogAnswer::Cancel;
    return DialogAnswer::Other;
  }
};

std::shared_ptr<DialogSeam>& seam() {
  static std::shared_ptr<DialogSeam> s = QtDialogSeam();
  return s;
}

}  // namespace

std::shared_ptr<DialogSeam> QtDialogSeam() { return std::make_shared<QtDialogs>(); }

void MsgBox(const QString& text) {
  const NestedLoop nested;
  seam()->msgBox(text);
}

const MessageDialogButton* MessageDialog::ShowModal() {
  DialogAnswer answer = DialogAnswer::Other;
  {
    const NestedLoop nested;
    answer = seam()->messageDialog(*this);
  }
  switch (answer) {
    case DialogAnswer::Action: return &ActionButton;
    case DialogAnswer::Alternate: return &AlternateActionButton;
    case DialogAnswer::Cancel:
    case DialogAnswer::Other: break;
  }
  return &CancelButton;
}

std::shared_ptr<DialogSeam> SetDialogSeam(std::shared_ptr<DialogSeam> next) {
  std::shared_ptr<DialogSeam> previous = seam();
  seam() = next ? std::move(next) : QtDialogSeam();
  return previous;
}

}  // namespace tk
