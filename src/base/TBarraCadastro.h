#pragma once

#include <QFrame>

#include <array>
#include <string>

class QPushButton;

/// The row of five buttons every registry window carries: Salvar, Incluir, Excluir, Limpar Campos and
/// Sair, each with its glyph from the program's Images/BarraCadastro folder. OnClick tells which one
/// was pressed (index 0 to 4).
class TBarraCadastro : public QFrame {
    Q_OBJECT
public:
    static constexpr int Width = 400;
    static constexpr int Height = 35;
    static constexpr int ButtonWidth = 80;
    static constexpr int Count = 5;

    /// Throws AppError naming the file when a glyph is missing or unreadable; nothing is created then.
    explicit TBarraCadastro(const std::string& programFolder, QWidget* parent = nullptr);

    /// The glyph of button index under programFolder.
    static std::string glyphPath(const std::string& programFolder, int index);
    static QString caption(int index);

    QPushButton* button(int index) const { return m_buttons.at(index); }
    /// Emits OnClick with the index of source when it is one of the five buttons; else does nothing.
    void handleClick(QObject* source);

signals:
    void OnClick(TBarraCadastro* toolbar, int index);

private:
    std::array<QPushButton*, Count> m_buttons{};
};
