#include "ui/menubar1.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>

#include "toolkit/application.h"

namespace {

// The editing commands act on the text field that has the focus.
template <class Command>
void onFocusedField(Command command) {
  if (auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget())) (field->*command)();
}

QAction* item(QMenu* menu, const QString& name, const QString& text, const QKeySequence& shortcut) {
  auto* a = new QAction(text, menu);
  a->setObjectName(name);
  a->setVisible(true);
  a->setShortcut(shortcut);
  menu->addAction(a);
  return a;
}

QAction* separator(QMenu* menu, const QString& name) {
  QAction* a = menu->addSeparator();
  a->setObjectName(name);
  a->setText(QStringLiteral("-"));
  return a;
}

QMenu* menu(QMenuBar* bar, const QString& name, const QString& text) {
  auto* m = new QMenu(text, bar);
  m->setObjectName(name);
  m->menuAction()->setObjectName(name);
  bar->addMenu(m);
  return m;
}

}  // namespace

MenuBar1& MenuBar1::Instance() {
  // Never shown and never destroyed before the end of the run.
  static MenuBar1* bar = new MenuBar1;
  return *bar;
}

MenuBar1::MenuBar1() : QMenuBar(nullptr) {
  setObjectName(QStringLiteral("MenuBar1"));
  Untitled0();
  Untitled1();
}

void MenuBar1::Untitled0() {
  QMenu* file = menu(this, QStringLiteral("FileMenu"), QStringLiteral("&File"));
  QAction* quit = item(file, QStringLiteral("FileQuit"), QStringLiteral("&Quit"), QKeySequence(QStringLiteral("Ctrl+Q")));
  quit->setMenuRole(QAction::QuitRole);
  connect(quit, &QAction::triggered, this, [] { tk::Quit(0); });
}

void MenuBar1::Untitled1() {
  QMenu* edit = menu(this, QStringLiteral("EditMenu"), QStringLiteral("&Edit"));
  auto on = [this](QAction* a, auto command) {
    connect(a, &QAction::triggered, this, [command] { onFocusedField(command); });
  };
  on(item(edit, QStringLiteral("EditUndo"), QStringLiteral("&Undo"), QKeySequence(QStringLiteral("Ctrl+Z"))), &QLineEdit::undo);
  separator(edit, QStringLiteral("UntitledMenu1"));
  on(item(edit, QStringLiteral("EditCut"), QStringLiteral("Cu&t"), QKeySequence(QStringLiteral("Ctrl+X"))), &QLineEdit::cut);
  on(item(edit, QStringLiteral("EditCopy"), QStringLiteral("&Copy"), QKeySequence(QStringLiteral("Ctrl+C"))), &QLineEdit::copy);
  on(item(edit, QStringLiteral("EditPaste"), QStringLiteral("&Paste"), QKeySequence(QStringLiteral("Ctrl+V"))), &QLineEdit::paste);
  on(item(edit, QStringLiteral("EditClear"), QStringLiteral("&Delete"), QKeySequence()), &QLineEdit::del);
  separator(edit, QStringLiteral("UntitledMenu0"));
  on(item(edit, QStringLiteral("EditSelectAll"), QStringLiteral("Select &All"), QKeySequence(QStringLiteral("Ctrl+A"))),
     &QLineEdit::selectAll);
}

QAction* MenuBar1::Lookup(const QString& name) const {
  for (QAction* a : findChildren<QAction*>()) {
    if (a->objectName() == name) return a;
  }
  return nullptr;
}
