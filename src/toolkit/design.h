#pragma once
// Window and control designs as data: each window states its design in one
// table, and the toolkit builds the window from it.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <functional>
#include <vector>

namespace tk {

class Window;

enum class ControlKind { TextField, Label, PushButton, BevelButton, Listbox, Canvas };
enum class Alignment { Default, Left, Centre, Right };

// Font faces named by the designs.
inline const QString SystemFont = QStringLiteral("System");
inline const QString SmallSystemFont = QStringLiteral("SmallSystem");

using Action = std::function<void(Window&)>;
using KeyDownAction = std::function<bool(Window&, const QString& key)>;

// The handler `pm` of window class W, as an action of the design table.
template <class W>
Action On(void (W::*pm)()) {
  return [pm](Window& w) { (static_cast<W&>(w).*pm)(); };
}
template <class W>
KeyDownAction OnKey(bool (W::*pm)(const QString&)) {
  return [pm](Window& w, const QString& key) { return (static_cast<W&>(w).*pm)(key); };
}

struct ControlSpec {
  QString name;
  ControlKind kind = ControlKind::Label;
  QRect geometry;
  QString text;  // text of a field or label, caption of a button

  QString fontFace = SystemFont;
  int fontSize = 0;  // points; 0 is the default size
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Alignment alignment = Alignment::Default;
  QColor textColor = QColor(0, 0, 0);

  bool visible = true;
  bool enabled = true;
  bool readOnly = false;
  bool border = true;
  bool wraps = false;       // label on several lines
  bool selectable = false;  // label whose text can be selected
  bool opaque = false;      // label drawn on its own background
  QString format;           // text field display format
  int columnCount = 1;
  QString columnWidths;
  bool gridLines = false;      // list lines between rows and columns
  bool draggableRows = false;  // list rows the user may move
  int tabIndex = -1;
  bool tabStop = false;      // reached by the Tab key
  bool acceptsFocus = true;  // takes the focus when clicked
  std::function<QImage()> backdrop;  // canvas picture
  Action action;                     // button click
  Action textChange;                 // text field edited by the user
  KeyDownAction keyDown;             // label key press

  ControlSpec& font(const QString& face, int size = 0) { fontFace = face; fontSize = size; return *this; }
  ControlSpec& size(int points) { fontSize = points; return *this; }
  ControlSpec& makeBold() { bold = true; return *this; }
  ControlSpec& makeItalic() { italic = true; return *this; }
  ControlSpec& makeUnderline() { underline = true; return *this; }
  ControlSpec& align(Alignment a) { alignment = a; return *this; }
  ControlSpec& color(int rgb) { textColor = QColor::fromRgb(static_cast<QRgb>(rgb)); return *this; }
  ControlSpec& hidden() { visible = false; return *this; }
  ControlSpec& disabled() { enabled = false; return *this; }
  ControlSpec& makeReadOnly() { readOnly = true; return *this; }
  ControlSpec& noBorder() { border = false; return *this; }
  ControlSpec& multiline() { wraps = true; return *this; }
  ControlSpec& makeSelectable() { selectable = true; return *this; }
  ControlSpec& makeOpaque() { opaque = true; return *this; }
  ControlSpec& withFormat(const QString& f) { format = f; return *this; }
  ControlSpec& columns(int count, const QString& widths = QString()) { columnCount = count; columnWidths = widths; return *this; }
  ControlSpec& withGrid() { gridLines = true; return *this; }
  ControlSpec& rowsDraggable() { draggableRows = true; return *this; }
  ControlSpec& tab(int index) { tabIndex = index; tabStop = true; return *this; }
  ControlSpec& noTabStop(int index = -1) { tabIndex = index; tabStop = false; return *this; }
  ControlSpec& noFocus() { acceptsFocus = false; tabStop = false; return *this; }
  ControlSpec& picture(std::function<QImage()> p) { backdrop = std::move(p); return *this; }
  ControlSpec& onAction(Action a) { action = std::move(a); return *this; }
  // Runs after each change the user makes to the field's text; a text set
  // by the program does not run it.
  ControlSpec& onTextChange(Action a) { textChange = std::move(a); return *this; }
  ControlSpec& onKeyDown(KeyDownAction k) { keyDown = std::move(k); return *this; }
};

ControlSpec TextFieldSpec(const QString& name, int left, int top, int width, int height, const QString& text = QString());
ControlSpec LabelSpec(const QString& name, int left, int top, int width, int height, const QString& text);
ControlSpec PushButtonSpec(const QString& name, int left, int top, int width, int height, const QString& caption);
ControlSpec BevelButtonSpec(const QString& name, int left, int top, int width, int height, const QString& caption);
ControlSpec ListboxSpec(const QString& name, int left, int top, int width, int height);
ControlSpec CanvasSpec(const QString& name, int left, int top, int width, int height);

enum class Placement { Default = 0, MainScreenCentre = 2 };

struct WindowSpec {
  QString title;
  int width = 300;
  int height = 200;
  Placement placement = Placement::Default;
  QColor background;  // invalid: no colour of its own
  bool visibleWhenBuilt = true;
};

}  // namespace tk
