#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

// The windows are laid out by hand at fixed positions; these make a named control in one line.

namespace controls {

inline constexpr int LabelHeight = 16;
inline constexpr int EditHeight = 23;
inline constexpr int CheckHeight = 20;
inline constexpr int ButtonWidth = 85;
inline constexpr int ButtonHeight = 25;

inline QLabel* label(QWidget* parent, const char* name, const char* text, int x, int y, int w = 300) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setObjectName(name);
    l->setGeometry(x, y, w, LabelHeight);
    return l;
}

inline QLineEdit* edit(QWidget* parent, const char* name, int x, int y, int w) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(x, y, w, EditHeight);
    return e;
}

inline QCheckBox* checkBox(QWidget* parent, const char* name, const char* text, int x, int y, int w) {
    auto* c = new QCheckBox(QString::fromUtf8(text), parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, CheckHeight);
    return c;
}

/// A push button that never becomes the default by taking the focus (Enter belongs to the window).
inline QPushButton* button(QWidget* parent, const char* name, const char* text, int x, int y, int w = ButtonWidth,
                           int h = ButtonHeight) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    b->setGeometry(x, y, w, h);
    b->setAutoDefault(false);
    return b;
}

} // namespace controls
