#include "toolkit/design.h"

namespace tk {

namespace {
ControlSpec make(ControlKind kind, const QString& name, int l, int t, int w, int h, const QString& text) {
  ControlSpec s;
  s.kind = kind;
  s.name = name;
  s.geometry = QRect(l, t, w, h);
  s.text = text;
  return s;
}
}  // namespace

ControlSpec TextFieldSpec(const QString& name, int l, int t, int w, int h, const QString& text) {
  return make(ControlKind::TextField, name, l, t, w, h, text);
}

ControlSpec LabelSpec(const QString& name, int l, int t, int w, int h, const QString& text) {
  ControlSpec s = make(ControlKind::Label, name, l, t, w, h, text);
  s.acceptsFocus = false;
  return s;
}

ControlSpec PushButtonSpec(const QString& name, int l, int t, int w, int h, const QString& caption) {
  return make(ControlKind::PushButton, name, l, t, w, h, caption);
}

ControlSpec BevelButtonSpec(const QString& name, int l, int t, int w, int h, const QString& caption) {
  return make(ControlKind::BevelButton, name, l, t, w, h, caption);
}

ControlSpec ListboxSpec(const QString& name, int l, int t, int w, int h) {
  return make(ControlKind::Listbox, name, l, t, w, h, QString());
}

ControlSpec CanvasSpec(const QString& name, int l, int t, int w, int h) {
  ControlSpec s = make(ControlKind::Canvas, name, l, t, w, h, QString());
  s.acceptsFocus = false;
  return s;
}

}  // namespace tk
