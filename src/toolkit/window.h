#pragma once
// Top-level windows. At most one window of each class is open: Ref<W>()
// gives the open one unchanged, or builds one (design, controls with their
// handlers, then its opening) before the caller goes on. Windows are fixed
// in size and close only through the system's own code.

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <typeindex>
#include <vector>

#include "toolkit/design.h"

class QEventLoop;

namespace tk {

template <class W>
class Handle;
template <class W>
Handle<W> Ref();

class Window : public QWidget {
  Q_OBJECT
 public:
  ~Window() override;

  // Shows the window and brings it to the front; returns at once.
  void Show();
  // Shows the window modally; returns when it has closed.
  void ShowModal();
  // Closes the window; the next reference to its class builds a new one.
  void Close();
  bool IsClosed() const { return closed_; }

  // The control of that name, or null.
  QWidget* Control(const QString& name) const { return controls_.value(name); }
  // The controls in design order.
  const std::vector<QWidget*>& Controls() const { return ordered_; }

 protected:
  Window();
  virtual const WindowSpec& Design() const = 0;
  virtual const std::vector<ControlSpec>& ControlDesign() const = 0;
  // Runs once the controls exist, before the reference gives the window.
  virtual void Event_Open() {}

  // The control of that name as the type its accessor gives. A name the
  // design does not hold, or a control of another type, is a programming
  // error: the run stops there with a message naming it.
  template <class T>
  T* control(const QString& name) const {
    QWidget* found = controls_.value(name);
    T* c = qobject_cast<T*>(found);
    if (!c) noSuchControl(name, T::staticMetaObject.className(), found);
    return c;
  }

  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  template <class W>
  friend class Handle;
  template <class W>
  friend Handle<W> Ref();
  [[noreturn]] void noSuchControl(const QString& name, const char* type, const QWidget* found) const;
  void build();
  void applyDesign();
  void createControls();
  void applyTabOrder();

  QHash<QString, QWidget*> controls_;
  std::vector<QWidget*> ordered_;
  bool closed_ = false;
  bool closing_ = false;
  QEventLoop* modalLoop_ = nullptr;
};

namespace detail {
Window* findOpen(std::type_index type);
// The window of that class whose handler is running, when it was closed
// while a box or a modal window of that handler was up; or null.
Window* closedUnderItsHandler(std::type_index type);
void registerOpen(std::type_index type, Window* window);
}  // namespace detail

// What a class reference gives. A window that closed itself during its own
// opening is handed back all the same: its Show() then does nothing.
template <class W>
class Handle {
 public:
  explicit Handle(W* w) : w_(w) {}
  W* operator->() const { return w_.data(); }
  W* get() const { return w_.data(); }
  bool IsOpen() const { return w_ && !w_->IsClosed(); }
  void Show() const {
    if (IsOpen()) w_->Show();
  }
  void ShowModal() const {
    if (IsOpen()) w_->ShowModal();
  }
  void Close() const {
    if (IsOpen()) w_->Close();
  }

 private:
  QPointer<W> w_;
};

// A handler whose window was closed under its box (a program's ending, say)
// and that then refers to its own class gets that closed window, not a new
// one: closing it again, as it meant to, does nothing.
template <class W>
Handle<W> Ref() {
  if (Window* open = detail::findOpen(typeid(W))) return Handle<W>(static_cast<W*>(open));
  if (Window* own = detail::closedUnderItsHandler(typeid(W))) return Handle<W>(static_cast<W*>(own));
  W* w = new W();
  detail::registerOpen(typeid(W), w);  // before the opening: it may refer to itself
  w->build();
  return Handle<W>(w);
}

// Held while a message box or a modal window runs its own event loop.
// Anything may happen in that loop, a window's closing among it; a window
// that closes then is hidden at once but deleted only once the last such
// loop has ended: the box may be its child, and the handler that opened the
// box may still be running on it.
class NestedLoop {
 public:
  NestedLoop();
  ~NestedLoop();
  NestedLoop(const NestedLoop&) = delete;
  NestedLoop& operator=(const NestedLoop&) = delete;
};

// The open windows, in the order they were built.
std::vector<Window*> OpenWindows();
// Closes every open window and deletes every closed one (tests, end of run).
void CloseAllWindows();

}  // namespace tk
