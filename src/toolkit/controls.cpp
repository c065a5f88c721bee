#include "toolkit/controls.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <limits>

#include "toolkit/text.h"

namespace tk {

namespace {

// The font made smaller, half a point at a time, until the text fits (or
// 6 points are reached): a text in a design box is drawn smaller, not cut.
QFont shrunkToFit(QFont f, const std::function<bool(const QFont&)>& fits) {
  while (f.pointSizeF() > 6.0 && !fits(f)) f.setPointSizeF(f.pointSizeF() - 0.5);
  return f;
}

}  // namespace

TextField::TextField(QWidget* parent) : Control<QLineEdit>(parent) {
  setMaxLength(std::numeric_limits<int>::max());  // no length limit
  connect(this, &QLineEdit::textChanged, this, [this] { dropLineBreaks(); });
  connect(this, &QLineEdit::editingFinished, this, [this] { showFormatted(); });
}

QString TextField::Text() const { return ApplyFormat(format_, text()); }

void TextField::SetText(const QString& t) { setText(ApplyFormat(format_, t)); }

void TextField::SetFormat(const QString& format) {
  format_ = format;
  showFormatted();
}

void TextField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  showFormatted();
}

void TextField::dropLineBreaks() {
  const QString t = text();
  if (!t.contains(QLatin1Char('\n')) && !t.contains(QLatin1Char('\r'))) return;
  QString clean = t;
  clean.remove(QLatin1Char('\r'));
  clean.remove(QLatin1Char('\n'));
  const int cursor = cursorPosition() - static_cast<int>(t.size() - clean.size());
  setText(clean);
  setCursorPosition(qMax(0, cursor));
}

void TextField::showFormatted() {
  if (format_.isEmpty()) return;
  const QString shown = ApplyFormat(format_, text());
  if (shown != text()) setText(shown);
}

Label::Label(QWidget* parent) : Control<QLabel>(parent) {}

void Label::keyPressEvent(QKeyEvent* event) {
  if (KeyDown && KeyDown(event->text())) {
    event->accept();
    return;
  }
  QLabel::keyPressEvent(event);
}

int Label::textFlags() const {
  return static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
}

void Label::CondenseToWidth() {
  QFont f = font();
  for (int stretch = 100; stretch >= 70; stretch -= 2) {
    f.setStretch(stretch);
    if (QFontMetrics(f).horizontalAdvance(text()) <= width()) break;
  }
  if (f.stretch() != 100) setFont(f);
}

QFont Label::DrawnFont() const {
  const QRect area = contentsRect();
  const int flags = textFlags();
  if (text().isEmpty()) return font();
  return shrunkToFit(font(), [&](const QFont& f) {
    const QRect need = QFontMetrics(f).boundingRect(area, flags, text());
    return need.width() <= area.width() && need.height() <= area.height();
  });
}

// A selectable label drawn in a smaller font shows no selection highlight.
void Label::paintEvent(QPaintEvent* event) {
  const QFont drawn = DrawnFont();
  if (drawn == font()) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  painter.setFont(drawn);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
  painter.drawText(contentsRect(), textFlags(), text());
}

PushButton::PushButton(QWidget* parent) : Control<QPushButton>(parent) {
  setAutoDefault(false);
  setDefault(false);
}

BevelButton::BevelButton(QWidget* parent) : PushButton(parent) {}

void BevelButton::SetCaptionColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::ButtonText, color);
  p.setColor(QPalette::Disabled, QPalette::ButtonText, color.lighter(150));
  setPalette(p);
}

void BevelButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  const QRect area = rect().adjusted(2, 0, -2, 0);
  painter.setFont(shrunkToFit(font(), [&](const QFont& f) {
    return QFontMetrics(f).horizontalAdvance(text()) <= area.width();
  }));
  const int shift = isDown() ? 1 : 0;
  painter.drawText(area.translated(shift, shift), Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

Canvas::Canvas(QWidget* parent) : Control<QWidget>(parent) { setFocusPolicy(Qt::NoFocus); }

void Canvas::SetBackdrop(const QImage& picture) {
  backdrop_ = picture;
  update();
}

void Canvas::paintEvent(QPaintEvent*) {
  if (backdrop_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), backdrop_);
}

}  // namespace tk
