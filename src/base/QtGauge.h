#pragma once

#include <QWidget>

/// A horizontal gauge: a navy fill for the share of progress within the maximum, with the whole
/// percentage written across it (inverted over the fill, so it reads on both parts).
class QtGauge : public QWidget {
    Q_OBJECT
public:
    explicit QtGauge(QWidget* parent = nullptr);

    void setMaxValue(int maximum);
    int maxValue() const { return m_max; }
    void setProgress(int progress);
    int progress() const { return m_progress; }
    void addProgress(int amount) { setProgress(m_progress + amount); }
    /// The whole percentage done, 0 when the maximum is 0.
    int percentDone() const;
    /// The text drawn on the gauge ("66%").
    QString text() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_max = 100;
    int m_progress = 0;
};
