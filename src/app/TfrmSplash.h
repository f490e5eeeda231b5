#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QTimer;
class QtHotKeys;
class TfrmPrincipal;
struct AppContext;

/// The first window: shows the product for two seconds, then runs the start-up step (hot keys, main
/// window, notification-area icon). It stays alive hidden afterwards as the owner of the hot keys.
class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    static constexpr int StartDelayMs = 2000;

    TfrmSplash(AppContext& ctx, bool startInTray, QWidget* parent = nullptr);
    ~TfrmSplash() override;

    /// True when the first command-line parameter, in any case, is "/M" (start in the notification area).
    static bool startsInTray(const QStringList& arguments);
    /// The message shown when hot key id (1 to 9) cannot be registered.
    static const char* hotKeyFailureText(int id);

    /// Runs once the main window exists, before it shows (the program wires its commands there).
    void setOnMainWindowCreated(std::function<void(TfrmPrincipal&)> callback) { m_onCreated = std::move(callback); }
    /// How the application ends (given on to the main window; default: leave the event loop).
    void setApplicationEnd(std::function<void()> end) { m_end = std::move(end); }

    TfrmPrincipal* principal() const { return m_principal.get(); }
    QtHotKeys& hotKeys() { return *m_hotKeys; }

    QTimer* Timer;

public slots:
    /// The start-up step, two seconds after the splash shows.
    void TimerTimer();

private:
    void registerHotKeys();

    AppContext& m_ctx;
    bool m_startInTray;
    QtHotKeys* m_hotKeys;
    std::unique_ptr<TfrmPrincipal> m_principal;
    std::function<void(TfrmPrincipal&)> m_onCreated;
    std::function<void()> m_end;
};
