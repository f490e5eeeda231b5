#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <map>
#include <vector>

/// System-wide hot keys on X11: each key is grabbed on the root window with every combination of
/// Caps Lock and Num Lock, so it works whatever window has the focus and whatever those locks are;
/// presses arrive through the native event filter and come out as activated(id). Without an X11
/// display (for example the offscreen platform) every registration fails.
class QtHotKeys : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    enum Modifier : unsigned { Control = 1, Alt = 2, Shift = 4 };

    explicit QtHotKeys(QObject* parent = nullptr);
    ~QtHotKeys() override;

    /// Grabs modifiers + the key named by keysym (an X keysym: the lower-case character's code for a
    /// letter, 0xFFC9 for F12). False when there is no X11 display, the key is not on the keyboard, or
    /// another program holds the combination; nothing stays grabbed then.
    bool registerKey(int id, unsigned modifiers, unsigned keysym);
    void unregisterKey(int id);
    void unregisterAll();
    bool isRegistered(int id) const { return m_keys.count(id) != 0; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void activated(int id);

private:
    struct Grab {
        unsigned keycode;
        unsigned modifiers; // X modifier mask without the lock bits
    };
    void ungrab(const Grab& grab, const std::vector<unsigned>& lockVariants);

    std::map<int, Grab> m_keys;
    bool m_filterInstalled = false;
};
