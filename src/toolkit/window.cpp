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
  std::vector<QPointer<Window>> handling;          // whose handler runs, innermost last
  std::vector<QPointer<Window>> closedUnderBoxes;  // closed inside a nested loop, until deleted
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

// The horizontal alignment of a design; fields centre their text
// vertically, labels start at the top.
Qt::Alignment horizontalAlignment(Alignment a) {
  switch (a) {
    case Alignment::Centre: return Qt::AlignHCenter;
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Left:
    case Alignment::Default: break;
  }
  return Qt::AlignLeft;
}

// How a control takes the focus: with the Tab key (and a click) when it is
// a tab stop, with a click when it accepts the focus or is a label whose
// text can be selected, else never.
Qt::FocusPolicy focusPolicy(const ControlSpec& s) {
  if (s.tabStop) return Qt::StrongFocus;
  return s.acceptsFocus || s.selectable ? Qt::ClickFocus : Qt::NoFocus;
}

void setTextColor(QWidget* w, QPalette::ColorRole role, const QColor& c) {
  if (!c.isValid()) return;
  QPalette p = w->palette();
  p.setColor(role, c);
  w->setPalette(p);
}

// Runs the window's handler as every handler of the program runs.
// Marks the window's handler as running while it lives.
class Handling {
 public:
  explicit Handling(Window& window) { registry().handling.push_back(&window); }
  ~Handling() { registry().handling.pop_back(); }
  Handling(const Handling&) = delete;
  Handling& operator=(const Handling&) = delete;
};

std::function<void()> handlerCall(Window& window, const Action& action) {
  return [&window, action] {
    const Handling handling(window);
    RunHandler([&] { action(window); });
  };
}

QWidget* makeTextField(Window& window, const ControlSpec& s) {
  auto* f = new TextField(&window);
  f->setFrame(s.border);
  f->setReadOnly(s.readOnly);
  f->setAlignment(horizontalAlignment(s.alignment) | Qt::AlignVCenter);
  f->SetFormat(s.format);
  f->SetText(s.text);
  setTextColor(f, QPalette::Text, s.textColor);
  if (!s.border) {
    f->setAttribute(Qt::WA_TranslucentBackground);
    f->setStyleSheet(QStringLiteral("background: transparent;"));
  }
  if (s.textChange) QObject::connect(f, &QLineEdit::textEdited, &window, handlerCall(window, s.textChange));
  return f;
}

QWidget* makeLabel(Window& window, const ControlSpec& s) {
  auto* l = new Label(&window);
  l->SetText(s.text);
  l->setTextFormat(Qt::PlainText);
  l->setWordWrap(s.wraps);
  l->setAlignment(horizontalAlignment(s.alignment) | Qt::AlignTop);
  setTextColor(l, QPalette::WindowText, s.textColor);
  if (s.selectable) l->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  l->setAutoFillBackground(s.opaque);
  if (s.keyDown) {
    KeyDownAction k = s.keyDown;
    l->KeyDown = [&window, k](const QString& key) {
      bool handled = false;
      const Handling handling(window);
      RunHandler([&] { handled = k(window, key); });
      return handled;
    };
  }
  return l;
}

QWidget* makeButton(Window& window, const ControlSpec& s) {
  PushButton* b = nullptr;
  if (s.kind == ControlKind::BevelButton) {
    auto* bevel = new BevelButton(&window);
    bevel->SetCaptionColor(s.textColor);
    b = bevel;
  } else {
    b = new PushButton(&window);
  }
  b->setText(s.text);
  if (s.action) QObject::connect(b, &QPushButton::clicked, &window, handlerCall(window, s.action));
  return b;
}

QWidget* makeListbox(Window& window, const ControlSpec& s) {
  auto* l = new Listbox(&window);
  l->SetColumnCount(s.columnCount);
  l->SetColumnWidths(s.columnWidths);
  l->setShowGrid(s.gridLines);
  l->SetRowsDraggable(s.draggableRows);
  return l;
}

QWidget* makeCanvas(Window& window, const ControlSpec& s) {
  auto* c = new Canvas(&window);
  if (s.backdrop) c->SetBackdrop(s.backdrop());
  return c;
}

// The control of the spec's kind, with what only that kind has.
QWidget* makeKind(Window& window, const ControlSpec& s) {
  switch (s.kind) {
    case ControlKind::TextField: return makeTextField(window, s);
    case ControlKind::Label: return makeLabel(window, s);
    case ControlKind::PushButton:
    case ControlKind::BevelButton: return makeButton(window, s);
    case ControlKind::Listbox: return makeListbox(window, s);
    case ControlKind::Canvas: return makeCanvas(window, s);
  }
  return nullptr;
}

QWidget* makeControl(Window& window, const ControlSpec& s) {
  QWidget* w = makeKind(window, s);
  w->setObjectName(s.name);
  w->setGeometry(s.geometry);
  w->setFont(fontFor(s));
  // After the kind's own settings: a label's text interaction sets a focus
  // policy of its own.
  w->setFocusPolicy(focusPolicy(s));
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

Window* closedUnderItsHandler(std::type_index type) {
  const Registry& r = registry();
  if (r.handling.empty()) return nullptr;
  Window* w = r.handling.back().data();
  if (!w || std::type_index(typeid(*w)) != type) return nullptr;
  const auto& closed = r.closedUnderBoxes;
  return std::find(closed.begin(), closed.end(), QPointer<Window>(w)) != closed.end() ? w : nullptr;
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
    auto& closed = r.closedUnderBoxes;
    closed.erase(std::remove(closed.begin(), closed.end(), QPointer<Window>()), closed.end());
    closed.push_back(this);
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
  // A window whose deletion an earlier loop posted already is posted again:
  // Qt deletes it once all the same.
  for (const QPointer<Window>& w : r.closedUnderBoxes)
    if (w) w->deleteLater();
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
