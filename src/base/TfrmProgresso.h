#pragma once

#include <QWidget>

#include <string>

class QLabel;
class QProgressBar;
class QtGauge;

/// The progress window long operations open and step. Its client area is the gauge; the progress bar
/// pbProgresso sits below it, out of sight, and moves with it. Closing frees the window.
class TfrmProgresso : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 664;
    static constexpr int Height = 33;

    explicit TfrmProgresso(QWidget* parent = nullptr);

    /// Caption = the trimmed title; the bar starts at start with maximum total, the gauge's maximum is
    /// total; the window shows.
    void open(int start, int total, const std::string& title);
    /// One step: the bar advances by one and the caption becomes text. The optional labels receive the
    /// text and the percentage text of current of total; the gauge advances when advanceGauge.
    void step(int current, int total, const std::string& text, QLabel* textLabel, QLabel* percentLabel,
              bool advanceGauge);

    QtGauge* Gauge;
    QProgressBar* pbProgresso;
};
