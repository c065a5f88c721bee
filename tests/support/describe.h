#pragma once
// A control's design as one line of text, read back from the built widget,
// so a test can compare it with the design the window was drawn from.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace tk {
class TextField;
}  // namespace tk

namespace testing {

// What a field holds as the user typed it, before its display format applies.
QString Typed(const tk::TextField* field);
// Puts the text into the field as typing would, its display format not yet applied.
void Type(tk::TextField* field, const QString& text);

// "Kind x,y wxh "text" flags..." with flags among: hidden, disabled,
// readonly, format=..., centre, right, bold, italic, underline, wrap,
// small (small system font), pt=N, focus=tab|click|none, color=#rrggbb,
// cols=N:widths, grid, drag, picture, selectable, noborder.
QString describe(const QWidget* control);

// describe() of the window's control of that name, checking that its
// objectName is that name; a line saying so when it is missing or misnamed.
QString describeControl(const QWidget* window, const QString& name);

// The objectNames that have the focus while Tab is pressed `steps` times
// from `start` (its window is activated first); empty when it cannot be.
QStringList tabWalk(QWidget* start, int steps);

// The columns "name" and "design" of a design-table test, and one row per
// control: its name and the line describe() must give for it.
void DesignRows(const QList<QPair<QString, QString>>& rows);

// Saves a picture of the widget for a person to look at.
void snapshot(QWidget* widget, const QString& name);

}  // namespace testing
