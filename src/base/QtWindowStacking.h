#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

/// Keeps the program's modeless windows where the operator finds them. The main window is shown
/// maximised and the desktop may have no task bar, so:
/// - every modeless window shown while the main window exists is kept above it (the main window is its
///   transient parent, which window managers keep below its transients);
/// - a window opening where a visible window of the same kind (class and object name) already stands
///   moves one step down and right, so a second request window never hides exactly behind the first;
/// - when the main window comes back (from the notification area), windows the window manager minimised
///   together with it come back too.
/// Installed once on the application; message boxes and other modal dialogs are left to Qt.
class QtWindowStacking : public QObject {
    Q_OBJECT
public:
    /// The cascade step, about one title bar.
    static constexpr int Step = 24;

    explicit QtWindowStacking(QWidget* mainWindow, QObject* parent = nullptr);

    /// Where a window of size `size` wanting `wanted` opens when windows of its kind stand at `taken`:
    /// the first place of the cascade wanted, wanted + (Step, Step), … not taken; a place that would
    /// leave `area` starts again at its top left corner.
    static QPoint cascade(QPoint wanted, const QList<QPoint>& taken, const QRect& area, QSize size);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool managed(const QWidget* window) const;
    void place(QWidget* window);
    void mainWindowShown();

    QPointer<QWidget> m_main;
};
