#pragma once

#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QWidget>

#include <string>

// Small conversions every window of the shell uses.

inline QString toQ(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string fromQ(const QString& text) {
    return text.toStdString();
}

/// A text of the program as the operator sees it: the CR line breaks of the program's texts become
/// real line breaks (a CR LF pair counts once).
inline QString shownText(const std::string& text) {
    QString s = toQ(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

/// Places a window in the middle of the primary screen.
inline void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    }
}
