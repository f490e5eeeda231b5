#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;

/// The message window with up to four captioned buttons. Returns which one was pressed: btn1 0
/// (the default button, so Enter gives 0), btn2 1, btn3 2, btn4 3. btn3 and btn4 show only when
/// given a caption. There is no close box; Esc answers 3 only while btn4 shows.
class TfrmMensagens : public QDialog {
    Q_OBJECT
public:
    static constexpr int Width = 487;
    static constexpr int Height = 114;

    explicit TfrmMensagens(QWidget* parent = nullptr);

    /// Captions, title and message; lays the buttons out for two, three or four.
    void prepare(const std::string& title, const std::string& message, const std::string& btn4Caption,
                 const std::string& btn3Caption, const std::string& btn2Caption, const std::string& btn1Caption);
    /// The number of the pressed button (0 to 3); 0 until one is pressed.
    int answer() const { return m_answer; }

    /// Creates the window without owner, shows it modally, frees it and returns the answer.
    static int ShowMessage(const std::string& title, const std::string& message, const std::string& btn4Caption,
                           const std::string& btn3Caption, const std::string& btn2Caption,
                           const std::string& btn1Caption);

    QLabel* lblMensagem;
    QPushButton* btn1;
    QPushButton* btn2;
    QPushButton* btn3;
    QPushButton* btn4;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void press(int answer);

    int m_answer = 0;
};
