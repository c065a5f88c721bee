#pragma once
// A control's design as one line of text, read back from the built widget,
// so a test can compare it with the design the window was drawn from.

#include <QString>
#include <QStringList>
#include <QWidget>

namespace testing {

// "Kind x,y wxh "text" flags..." with flags among: hidden, disabled,
// readonly, format=..., centre, right, bold, italic, underline, wrap,
// small (small system font), pt=N, focus=tab|click|none, color=#rrggbb,
// cols=N:widths, picture, selectable, noborder.
QString describe(const QWidget* control);

// The names of the controls the Tab key reaches, starting at `first` and
// counting it, `count` names in all (the window is activated first).
QStringList tabWalk(QWidget* first, int count);

// Saves a picture of the widget for a person to look at.
void snapshot(QWidget* widget, const QString& name);

}  // namespace testing
