#pragma once
// The controls the windows are made of, on Qt widgets.

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "toolkit/control.h"

namespace tk {

// A one-line text field. With a display format, the field shows and gives
// back the formatted text at any time, whatever has the focus; line breaks
// never get into it (a pasted line break is dropped).
class TextField : public Control<QLineEdit> {
  Q_OBJECT
 public:
  explicit TextField(QWidget* parent = nullptr);

  QString Text() const;
  void SetText(const QString& text);
  QString Format() const { return format_; }
  void SetFormat(const QString& format);

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Qt's own text is what the user typed, before the format applies: only
  // Text and SetText read and write a field, so both sides agree.
  using QLineEdit::setText;
  using QLineEdit::text;
  void dropLineBreaks();
  void showFormatted();
  QString format_;
};

class Label : public Control<QLabel> {
  Q_OBJECT
 public:
  explicit Label(QWidget* parent = nullptr);
  QString Text() const { return text(); }
  void SetText(const QString& text) { setText(text); }
  // Runs for every key pressed while the label has the focus; a true
  // answer means the key was handled.
  std::function<bool(const QString& key)> KeyDown;
  // Design boxes were drawn for other fonts. A one-line text wider than the
  // box is condensed (column titles made of blanks then still stand over
  // their columns); this changes the label's font.
  void CondenseToWidth();
  // The font the text is drawn in: the label's own, or a smaller one when
  // the text would otherwise still be cut by the label's box.
  QFont DrawnFont() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  int textFlags() const;
};

// Neither push nor bevel buttons ever act as a default or cancel button.
class PushButton : public Control<QPushButton> {
  Q_OBJECT
 public:
  explicit PushButton(QWidget* parent = nullptr);
  QString Caption() const { return text(); }
};

// Every bevel button has the one look there is: a plain face with its
// caption centred, whatever bevel the design names (no button has an icon
// for a caption placement to place the caption against).
class BevelButton : public PushButton {
  Q_OBJECT
 public:
  explicit BevelButton(QWidget* parent = nullptr);
  void SetCaptionColor(const QColor& color);

 protected:
  // The caption may use the whole face: bevel buttons are drawn small.
  void paintEvent(QPaintEvent* event) override;
};

// Shows a picture as its backdrop, drawn from the top-left corner.
class Canvas : public Control<QWidget> {
  Q_OBJECT
 public:
  explicit Canvas(QWidget* parent = nullptr);
  QImage Backdrop() const { return backdrop_; }
  void SetBackdrop(const QImage& picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage backdrop_;
};

}  // namespace tk
