#pragma once

#include <QWidget>

class QEventLoop;
class QLabel;
class QMovie;

/// The wait window shown while a web-service request runs: a bold line above an animation.
class TfrmBarraWS : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* WaitText = "Consultando WebService, aguarde...";

    explicit TfrmBarraWS(QWidget* parent = nullptr);

    /// Processes events (user input excepted) until the window has been drawn on the screen, at most
    /// timeoutMs. The request that follows blocks the program; under a window manager the window is
    /// mapped and exposed several events after show(), so without this it would stay blank or unseen.
    /// True when it was drawn.
    bool waitUntilPainted(int timeoutMs);
    bool painted() const { return m_painted; }

    QLabel* lblAguarde;
    QLabel* imgAnimacao;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QMovie* m_movie;
    bool m_painted = false;
    QEventLoop* m_waitingForPaint = nullptr;
};
