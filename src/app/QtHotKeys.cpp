#include "app/QtHotKeys.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {

constexpr unsigned NumLockMask = XCB_MOD_MASK_2;
constexpr unsigned CapsLockMask = XCB_MOD_MASK_LOCK;
// Every combination of the two locks, so the key works whichever is on.
const std::vector<unsigned> kLockVariants = {0, CapsLockMask, NumLockMask, CapsLockMask | NumLockMask};

xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* c) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
    return it.rem ? it.data->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

// The first keycode whose mapping holds keysym; 0 when the keyboard has none.
unsigned keycodeOf(xcb_connection_t* c, unsigned keysym) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_keycode_t first = setup->min_keycode;
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* reply =
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, first, count), nullptr);
    if (!reply)
        return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    const int perCode = reply->keysyms_per_keycode;
    unsigned found = 0;
    for (int code = 0; code < count && !found; ++code)
        for (int k = 0; k < perCode; ++k)
            if (syms[code * perCode + k] == keysym) {
                found = first + code;
                break;
            }
    std::free(reply);
    return found;
}

unsigned xModifiers(unsigned modifiers) {
    unsigned mask = 0;
    if (modifiers & QtHotKeys::Control)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & QtHotKeys::Alt)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & QtHotKeys::Shift)
        mask |= XCB_MOD_MASK_SHIFT;
    return mask;
}

} // namespace

QtHotKeys::QtHotKeys(QObject* parent) : QObject(parent) {}

QtHotKeys::~QtHotKeys() {
    unregisterAll();
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool QtHotKeys::registerKey(int id, unsigned modifiers, unsigned keysym) {
    xcb_connection_t* c = x11Connection();
    if (!c || m_keys.count(id))
        return false;
    const xcb_window_t root = rootWindow(c);
    const unsigned keycode = keycodeOf(c, keysym);
    if (root == XCB_WINDOW_NONE || keycode == 0)
        return false;
    const Grab grab{keycode, xModifiers(modifiers)};
    std::vector<unsigned> grabbed;
    for (unsigned lock : kLockVariants) {
        const xcb_void_cookie_t cookie =
            xcb_grab_key_checked(c, 1, root, static_cast<uint16_t>(grab.modifiers | lock),
                                 static_cast<xcb_keycode_t>(keycode), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            // Another program owns this combination: give back what was taken.
            std::free(error);
            ungrab(grab, grabbed);
            return false;
        }
        grabbed.push_back(lock);
    }
    m_keys[id] = grab;
    if (!m_filterInstalled) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filterInstalled = true;
    }
    return true;
}

void QtHotKeys::ungrab(const Grab& grab, const std::vector<unsigned>& lockVariants) {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return;
    const xcb_window_t root = rootWindow(c);
    for (unsigned lock : lockVariants)
        xcb_ungrab_key(c, static_cast<xcb_keycode_t>(grab.keycode), root, static_cast<uint16_t>(grab.modifiers | lock));
    xcb_flush(c);
}

void QtHotKeys::unregisterKey(int id) {
    const auto it = m_keys.find(id);
    if (it == m_keys.end())
        return;
    ungrab(it->second, kLockVariants);
    m_keys.erase(it);
}

void QtHotKeys::unregisterAll() {
    while (!m_keys.empty())
        unregisterKey(m_keys.begin()->first);
}

bool QtHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || m_keys.empty())
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
    const unsigned state = press->state & (XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_4);
    for (const auto& [id, grab] : m_keys)
        if (grab.keycode == press->detail && grab.modifiers == state) {
            emit activated(id);
            return true;
        }
    return false;
}
