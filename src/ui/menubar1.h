#pragma once
// The one menu bar: a File menu with Quit, an Edit menu with the usual
// editing commands. It is attached to the application and the desk but
// shown on no window.

#include <QMenuBar>

class QAction;

class MenuBar1 : public QMenuBar {
  Q_OBJECT
 public:
  // The single instance, built at the first call.
  static MenuBar1& Instance();

  // The menu or item of that name ("FileMenu", "EditCopy", ...), or null.
  QAction* Lookup(const QString& name) const;

 private:
  MenuBar1();
  void Untitled0();
  void Untitled1();
};
