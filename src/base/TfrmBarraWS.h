#pragma once

#include <QWidget>

class QLabel;
class QMovie;

/// The wait window shown while a web-service request runs: a bold line above an animation.
class TfrmBarraWS : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* WaitText = "Consultando WebService, aguarde...";

    explicit TfrmBarraWS(QWidget* parent = nullptr);

    QLabel* lblAguarde;
    QLabel* imgAnimacao;

private:
    QMovie* m_movie;
};
