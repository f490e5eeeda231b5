#include "base/QtAltKeyFilter.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

bool takesText(const QObject* watched) {
    return qobject_cast<const QLineEdit*>(watched) || qobject_cast<const QTextEdit*>(watched) ||
           qobject_cast<const QPlainTextEdit*>(watched) || qobject_cast<const QAbstractSpinBox*>(watched);
}

} // namespace

bool QtAltKeyFilter::typesUnderAlt(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    if (!(mods & Qt::AltModifier))
        return false;
#ifdef _WIN32
    if (mods & Qt::ControlModifier)
        return false;
#endif
    const QString text = event.text();
    return !text.isEmpty() && text.at(0).isPrint();
}

bool QtAltKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && takesText(watched) && typesUnderAlt(*static_cast<QKeyEvent*>(event)))
        return true;
    return QObject::eventFilter(watched, event);
}
