#include "base/QtWindowStacking.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace {

const char* const PlacedProperty = "pelomiraPlaced";

bool sameKind(const QWidget* a, const QWidget* b) {
    return a->metaObject() == b->metaObject() && a->objectName() == b->objectName();
}

bool near(QPoint a, QPoint b) {
    return std::abs(a.x() - b.x()) < QtWindowStacking::Step / 2 && std::abs(a.y() - b.y()) < QtWindowStacking::Step / 2;
}

// Qt gives X11 window managers the transient parent of dialogs only, and clears it on every map of an
// ordinary window; so, once the window is mapped, the property is written here.
void tellX11WindowManager(QWidget* window, QWidget* main) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !window->isVisible())
        return;
    const auto parent = static_cast<xcb_window_t>(main->winId());
    xcb_change_property(x11->connection(), XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                        XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &parent);
    xcb_flush(x11->connection());
}

} // namespace

QtWindowStacking::QtWindowStacking(QWidget* mainWindow, QObject* parent) : QObject(parent), m_main(mainWindow) {
    qApp->installEventFilter(this);
}

QPoint QtWindowStacking::cascade(QPoint wanted, const QList<QPoint>& taken, const QRect& area, QSize size) {
    QPoint p = wanted;
    // Enough steps to visit every place once; beyond that every place is taken and any will do.
    for (int tries = 0; tries <= taken.size(); ++tries) {
        const bool occupied = std::any_of(taken.begin(), taken.end(), [p](QPoint t) { return near(p, t); });
        if (!occupied)
            return p;
        p += QPoint(Step, Step);
        if (area.isValid() && (p.x() + size.width() > area.right() + 1 || p.y() + size.height() > area.bottom() + 1))
            p = area.topLeft();
    }
    return p;
}

bool QtWindowStacking::managed(const QWidget* w) const {
    if (!m_main || w == m_main || !w->isWindow() || w->isModal())
        return false;
    const Qt::WindowType type = w->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

void QtWindowStacking::place(QWidget* w) {
    // The native window exists by now and is not mapped yet. A main window kept in the notification area
    // has no native window until asked for one.
    m_main->winId();
    if (QWindow* handle = w->windowHandle())
        handle->setTransientParent(m_main->windowHandle());
    QTimer::singleShot(0, w, [w, main = m_main] {
        if (main)
            tellX11WindowManager(w, main);
    });

    if (w->property(PlacedProperty).toBool())
        return; // shown again: it stays where the operator left it
    w->setProperty(PlacedProperty, true);
    // Places are compared as frame positions, which is what pos() gives for a window on the screen and
    // for one not shown yet alike.
    QList<QPoint> taken;
    QPoint frameToClient;
    for (QWidget* other : QApplication::topLevelWidgets())
        if (other != w && other->isVisible() && sameKind(other, w)) {
            taken << other->pos();
            frameToClient = other->geometry().topLeft() - other->pos();
        }
    if (taken.isEmpty())
        return;
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    const QPoint target = cascade(w->pos(), taken, area, w->frameGeometry().size() + QSize(0, frameToClient.y()));
    // The native window exists, so a move now places the client area, offset by the frame only as far as
    // Qt knows this window's frame already (before the window manager framed it, usually not at all). The
    // client goes where the frame of its kind puts it when the frame stands on target.
    const QPoint knownFrameToClient = w->geometry().topLeft() - w->pos();
    if (target != w->pos())
        w->move(target + frameToClient - knownFrameToClient);
}

void QtWindowStacking::mainWindowShown() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && managed(w) && (w->windowState() & Qt::WindowMinimized))
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    // A window manager forgets whose transient a window is when the main window leaves the screen (to the
    // notification area): once the main window is back, it is told again, and the windows come up above it.
    QTimer::singleShot(0, this, [this] {
        if (!m_main)
            return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && managed(w)) {
                tellX11WindowManager(w, m_main);
                w->raise();
            }
    });
}

bool QtWindowStacking::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType() && !event->spontaneous()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w == m_main)
            mainWindowShown();
        else if (managed(w))
            place(w);
    }
    return QObject::eventFilter(watched, event);
}
