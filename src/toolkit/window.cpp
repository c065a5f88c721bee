#include "toolkit/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>
#include <map>

#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/listbox.h"

namespace tk {

namespace {

struct Registry {
  std::map<std::type_index, QPointer<Window>> open;
  std::vector<QPointer<Window>> order;
  std::vector<QPointer<Window>> closed;  // awaiting deletion
  int nestedLoops = 0;
  std::vector<QPointer<Window>> deferred;  // closed inside a nested loop
};

Registry& registry() {
  static Registry r;
  return r;
}

void unregister(Window* w) {
  Registry& r = registry();
  for (auto it = r.open.begin(); it != r.open.end(); ++it) {
    if (it->second == w) {
      r.open.erase(it);
      break;
    }
  }
  r.order.erase(std::remove(r.order.begin(), r.order.end(), QPointer<Window>(w)), r.order.end());
}

QFont fontFor(const ControlSpec& s) {
  QFont f = QApplication::font();
  if (s.fontFace == SmallSystemFont) {
    f.setPointSizeF(f.pointSizeF() * 0.85);
  } else if (s.fontFace != SystemFont && !s.fontFace.isEmpty()) {
    f.setFamilies({s.fontFace, f.family()});
  }
  if (s.fontSize > 0) f.setPointSize(s.fontSize);
  f.setBold(s.bold);
  f.setItalic(s.italic);
  f.setUnderline(s.underline);
  return f;
}

Qt::Alignment alignmentFor(Alignment a) {
  switch (a) {
    case Alignment::Centre: return Qt::AlignHCenter | Qt::AlignVCenter;
    case Alignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case Alignment::Left:
    case Alignment::Default: break;
  }
  return Qt::AlignLeft | Qt::AlignVCenter;
}

void setTextColor(QWidget* w, QPalette::ColorRole role, const QColor& c) {
  if (!c.isValid()) return;
  QPalette p = w->palette();
  p.setColor(role, c);
  w->setPalette(p);
}

QWidget* makeControl(Window& window, const ControlSpec& s) {
  QWidget* w = nullptr;
  switch (s.kind) {
    case ControlKind::TextField: {
      auto* f = new TextField(&window);
      f->setFrame(s.border);
      f->setReadOnly(s.readOnly);
      f->setAlignment(alignmentFor(s.alignment));
      f->SetFormat(s.format);
      f->SetText(s.text);
      setTextColor(f, QPalette::Text, s.textColor);
      if (!s.border) {
        f->setAttribute(Qt::WA_TranslucentBackground);
        f->setStyleSheet(QStringLiteral("background: transparent;"));
      }
      f->setFocusPolicy(s.tabStop ? Qt::StrongFocus : (s.acceptsFocus ? Qt::ClickFocus : Qt::NoFocus));
      if (s.textChange) {
        Action a = s.textChange;
        QObject::connect(f, &QLineEdit::textEdited, &window, [&window, a] { RunHandler([&] { a(window); }); });
      }
      w = f;
      break;
    }
    case ControlKind::Label: {
      auto* l = new Label(&window);
      l->SetText(s.text);
      l->setTextFormat(Qt::PlainText);
      l->setWordWrap(s.wraps);
      Qt::Alignment a = s.alignment == Alignment::Centre  ? Qt::AlignHCenter
                        : s.alignment == Alignment::Right ? Qt::AlignRight
                                                          : Qt::AlignLeft;
      l->setAlignment(a | Qt::AlignTop);
      setTextColor(l, QPalette::WindowText, s.textColor);
      if (s.selectable) {
        l->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        l->setFocusPolicy(Qt::ClickFocus);
      } else {
        l->setFocusPolicy(Qt::NoFocus);
      }
      l->setAutoFillBackground(s.opaque);
      if (s.keyDown) {
        KeyDownAction k = s.keyDown;
        l->KeyDown = [&window, k](const QString& key) {
          bool handled = false;
          RunHandler([&] { handled = k(window, key); });
          return handled;
        };
      }
      w = l;
      break;
    }
    case ControlKind::PushButton:
    case ControlKind::BevelButton: {
      PushButton* b = s.kind == ControlKind::BevelButton ? new BevelButton(&window) : new PushButton(&window);
      b->setText(s.text);
      if (s.kind == ControlKind::BevelButton) static_cast<BevelButton*>(b)->SetCaptionColor(s.textColor);
      b->setFocusPolicy(s.tabStop ? Qt::StrongFocus : (s.acceptsFocus ? Qt::ClickFocus : Qt::NoFocus));
      if (s.action) {
        Action a = s.action;
        QObject::connect(b, &QPushButton::clicked, &window, [&window, a] { RunHandler([&] { a(window); }); });
      }
      w = b;
      break;
    }
    case ControlKind::Listbox: {
      auto* l = new Listbox(&window);
      l->SetColumnCount(s.columnCount);
      l->SetColumnWidths(s.columnWidths);
      l->setShowGrid(s.gridLines);
      l->SetRowsDraggable(s.draggableRows);
      l->setFocusPolicy(s.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
      w = l;
      break;
    }
    case ControlKind::Canvas: {
      auto* c = new Canvas(&window);
      if (s.backdrop) c->SetBackdrop(s.backdrop());
      w = c;
      break;
    }
  }
  w->setObjectName(s.name);
  w->setGeometry(s.geometry);
  w->setFont(fontFor(s));
  if (s.kind == ControlKind::Label && !s.wraps) static_cast<Label*>(w)->CondenseToWidth();
  w->setEnabled(s.enabled);
  w->setVisible(s.visible);
  return w;
}

}  // namespace

namespace detail {

Window* findOpen(std::type_index type) {
  auto it = registry().open.find(type);
  if (it == registry().open.end() || !it->second || it->second->IsClosed()) return nullptr;
  return it->second.data();
}

void registerOpen(std::type_index type, Window* window) {
  registry().open[type] = window;
  registry().order.push_back(window);
}

}  // namespace detail

Window::Window() : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {}

Window::~Window() { unregister(this); }

void Window::noSuchControl(const QString& name, const char* type, const QWidget* found) const {
  const QByteArray where = objectName().toUtf8();
  if (!found)
    qFatal("%s has no control named %s", where.constData(), qPrintable(name));
  qFatal("%s: the control %s is a %s, not a %s", where.constData(), qPrintable(name),
         found->metaObject()->className(), type);
}

void Window::build() {
  applyDesign();
  createControls();
  applyTabOrder();
  Event_Open();
  if (!closed_ && Design().visibleWhenBuilt) Show();
}

void Window::applyDesign() {
  const WindowSpec& d = Design();
  setObjectName(QString::fromLatin1(metaObject()->className()).section(QStringLiteral("::"), -1));
  setWindowTitle(d.title);
  setFixedSize(d.width, d.height);
  if (d.background.isValid()) {
    QPalette p = palette();
    p.setColor(QPalette::Window, d.background);
    setPalette(p);
    setAutoFillBackground(true);
  }
  if (d.placement == Placement::MainScreenCentre) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      move(area.center() - QPoint(d.width / 2, d.height / 2));
    }
  }
}

void Window::createControls() {
  for (const ControlSpec& s : ControlDesign()) {
    QWidget* w = makeControl(*this, s);
    controls_.insert(s.name, w);
    ordered_.push_back(w);
  }
}

void Window::applyTabOrder() {
  std::vector<std::pair<int, QWidget*>> chain;
  const auto& specs = ControlDesign();
  for (std::size_t i = 0; i < specs.size(); ++i)
    if (specs[i].tabStop) chain.emplace_back(specs[i].tabIndex, ordered_[i]);
  std::stable_sort(chain.begin(), chain.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1].second, chain[i].second);
}

void Window::Show() {
  if (closed_) return;
  show();
  // The headless platform of the tests cannot raise and says so at each call.
  static const bool canRaise = QGuiApplication::platformName() != QLatin1String("offscreen");
  if (canRaise) raise();
  activateWindow();
}

void Window::ShowModal() {
  if (closed_) return;
  if (windowModality() != Qt::ApplicationModal) {
    const bool wasVisible = isVisible();
    if (wasVisible) hide();
    setWindowModality(Qt::ApplicationModal);
  }
  Show();
  const NestedLoop nested;
  QEventLoop loop;
  modalLoop_ = &loop;
  loop.exec();
}

void Window::Close() {
  if (closed_) return;
  closed_ = true;
  closing_ = true;
  close();
  closing_ = false;
  if (modalLoop_) {
    modalLoop_->quit();
    modalLoop_ = nullptr;
  }
  unregister(this);
  Registry& r = registry();
  r.closed.push_back(this);
  if (r.nestedLoops > 0) {
    r.deferred.push_back(this);
  } else {
    deleteLater();
  }
}

NestedLoop::NestedLoop() { ++registry().nestedLoops; }

NestedLoop::~NestedLoop() {
  Registry& r = registry();
  if (--r.nestedLoops > 0) return;
  // Posted from here, the deletions wait until the event loop that ran the
  // box's handler has the control again.
  for (const QPointer<Window>& w : r.deferred)
    if (w) w->deleteLater();
  r.deferred.clear();
}

void Window::closeEvent(QCloseEvent* event) {
  // Neither the window manager nor a key closes a window of ours.
  if (closing_) {
    event->accept();
  } else {
    event->ignore();
  }
}

void Window::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

std::vector<Window*> OpenWindows() {
  std::vector<Window*> out;
  for (const auto& w : registry().order)
    if (w && !w->IsClosed()) out.push_back(w.data());
  return out;
}

void CloseAllWindows() {
  for (Window* w : OpenWindows()) w->Close();
  for (auto& w : registry().closed) delete w.data();
  registry().closed.clear();
}

}  // namespace tk
