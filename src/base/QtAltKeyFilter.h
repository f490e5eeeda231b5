#pragma once

#include <QObject>

class QKeyEvent;

/// Keeps Alt combinations from typing. Alt + a key that is no mnemonic of the window reaches the focused
/// edit field as a key press carrying the key's text, which the field would insert: Alt+M turned the
/// reference "1534" into "1534m". Installed once on the application, the filter drops such presses
/// before any text field of any window sees them; mnemonics and shortcuts are matched earlier and keep
/// working.
class QtAltKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit QtAltKeyFilter(QObject* parent = nullptr) : QObject(parent) {}

    /// True for a key press that holds Alt and would type text. On Windows AltGr arrives as Ctrl+Alt and
    /// types characters of the keyboard (ª, º, ° on the Brazilian one), so Ctrl+Alt passes there.
    static bool typesUnderAlt(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
