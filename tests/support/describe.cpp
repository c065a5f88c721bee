#include "support/describe.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include "toolkit/controls.h"
#include "toolkit/listbox.h"

namespace testing {

namespace {
QString focus(const QWidget* w) {
  switch (w->focusPolicy()) {
    case Qt::StrongFocus:
    case Qt::WheelFocus:
    case Qt::TabFocus: return QStringLiteral("focus=tab");
    case Qt::ClickFocus: return QStringLiteral("focus=click");
    case Qt::NoFocus: break;
  }
  return QStringLiteral("focus=none");
}

void fontFlags(const QWidget* w, QStringList& f) {
  const QFont font = w->font();
  const QFont base = QApplication::font();
  if (font.bold()) f << "bold";
  if (font.italic()) f << "italic";
  if (font.underline()) f << "underline";
  if (font.pointSizeF() < base.pointSizeF() - 0.01) {
    // The small system font at its default size, or a size of its own.
    if (qAbs(font.pointSizeF() - base.pointSizeF() * 0.85) < 0.01) f << "small";
    else f << QStringLiteral("pt=%1").arg(font.pointSize());
  } else if (font.pointSizeF() > base.pointSizeF() + 0.01) {
    f << QStringLiteral("pt=%1").arg(font.pointSize());
  }
  if (!font.families().isEmpty() && font.families().first() != base.family()) f << "face=" + font.families().first();
}

QString alignment(Qt::Alignment a) {
  if (a & Qt::AlignHCenter) return QStringLiteral("centre");
  if (a & Qt::AlignRight) return QStringLiteral("right");
  return QString();
}
}  // namespace

QString Typed(const tk::TextField* field) { return static_cast<const QLineEdit*>(field)->text(); }

void Type(tk::TextField* field, const QString& text) { static_cast<QLineEdit*>(field)->setText(text); }

QString describe(const QWidget* w) {
  QString kind;
  QString text;
  QStringList f;
  if (auto* t = qobject_cast<const tk::TextField*>(w)) {
    kind = "TextField";
    text = Typed(t);
    if (t->isReadOnly()) f << "readonly";
    if (!t->Format().isEmpty()) f << "format=" + t->Format();
    if (!t->hasFrame()) f << "noborder";
    const QString a = alignment(t->alignment());
    if (!a.isEmpty()) f << a;
  } else if (auto* l = qobject_cast<const tk::Label*>(w)) {
    kind = "Label";
    text = l->text();
    if (l->wordWrap()) f << "wrap";
    if (l->textInteractionFlags() & Qt::TextSelectableByMouse) f << "selectable";
    const QString a = alignment(l->alignment());
    if (!a.isEmpty()) f << a;
  } else if (auto* b = qobject_cast<const tk::BevelButton*>(w)) {
    kind = "BevelButton";
    text = b->text();
    const QColor c = b->palette().color(QPalette::ButtonText);
    if (c != QColor(Qt::black)) f << "color=" + c.name();
  } else if (auto* p = qobject_cast<const tk::PushButton*>(w)) {
    kind = "PushButton";
    text = p->text();
  } else if (auto* list = qobject_cast<const tk::Listbox*>(w)) {
    kind = "Listbox";
    f << QStringLiteral("cols=%1:%2").arg(list->ColumnCount()).arg(list->ColumnWidths());
    if (list->showGrid()) f << "grid";
    if (list->RowsDraggable()) f << "drag";
  } else if (auto* c = qobject_cast<const tk::Canvas*>(w)) {
    kind = "Canvas";
    if (!c->Backdrop().isNull()) f << "picture";
  }
  if (w->isHidden()) f << "hidden";
  if (!w->isEnabled()) f << "disabled";
  fontFlags(w, f);
  f << focus(w);
  const QRect g = w->geometry();
  QString out = QStringLiteral("%1 %2,%3 %4x%5").arg(kind).arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
  if (!text.isEmpty()) out += " \"" + text + "\"";
  if (!f.isEmpty()) out += " " + f.join(' ');
  return out;
}

QString describeControl(const QWidget* window, const QString& name) {
  const QWidget* c = window->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
  if (!c) return QStringLiteral("no control named ") + name;
  return describe(c);
}

QStringList tabWalk(QWidget* start, int steps) {
  QWidget* window = start->window();
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window)) return {};
  start->setFocus();
  QStringList order;
  for (int i = 0; i < steps; ++i) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) break;
    order << focus->objectName();
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  return order;
}

void DesignRows(const QList<QPair<QString, QString>>& rows) {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("design");
  for (const auto& r : rows) QTest::newRow(qPrintable(r.first)) << r.first << r.second;
}

void snapshot(QWidget* widget, const QString& name) {
#ifdef CORVALENTA_SNAPSHOTS
  widget->grab().save(QDir(QStringLiteral(CORVALENTA_SNAPSHOTS)).filePath(name + ".png"));
#else
  Q_UNUSED(widget);
  Q_UNUSED(name);
#endif
}

}  // namespace testing
