#include "base/TBarraCadastro.h"

#include "base/AppError.h"
#include "base/QtUi.h"
#include "platform/Paths.h"

#include <QBitmap>
#include <QImage>
#include <QPixmap>
#include <QPushButton>

namespace {

const char* const kCaptions[TBarraCadastro::Count] = {"&Salvar", "&Incluir", "&Excluir", "&Limpar\r Campos", "Sai&r"};
const char* const kGlyphs[TBarraCadastro::Count] = {"save16_h.bmp", "new_document16_h.bmp", "stop16_h.bmp",
                                                    "refresh_doc16_h.bmp", "DOOROPEN1.BMP"};

} // namespace

std::string TBarraCadastro::glyphPath(const std::string& programFolder, int index) {
    return joinPath(joinPath(joinPath(programFolder, "Images"), "BarraCadastro"), kGlyphs[index]);
}

QString TBarraCadastro::caption(int index) {
    return shownText(kCaptions[index]);
}

TBarraCadastro::TBarraCadastro(const std::string& programFolder, QWidget* parent) : QFrame(parent) {
    // Load every glyph before building anything, so a missing file leaves nothing half made.
    std::array<QPixmap, Count> glyphs;
    for (int i = 0; i < Count; ++i) {
        const std::string path = glyphPath(programFolder, i);
        if (!fileExists(path))
            throw AppError("Arquivo de imagem não encontrado: " + path);
        QImage image(toQ(path));
        if (image.isNull())
            throw AppError("Arquivo de imagem inválido: " + path);
        // As the glyphs were always drawn: the bottom-left pixel's colour is transparent.
        QPixmap pixmap = QPixmap::fromImage(image);
        pixmap.setMask(pixmap.createMaskFromColor(image.pixelColor(0, image.height() - 1), Qt::MaskInColor));
        glyphs[i] = pixmap;
    }

    setObjectName("BarraCadastro");
    setFixedSize(Width, Height);
    for (int i = 0; i < Count; ++i) {
        auto* b = new QPushButton(caption(i), this);
        b->setObjectName(QStringLiteral("btnBarra%1").arg(i));
        b->setIcon(QIcon(glyphs[i]));
        b->setGeometry(i * ButtonWidth, 0, ButtonWidth, Height);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, b] { handleClick(b); });
        m_buttons[i] = b;
    }
}

void TBarraCadastro::handleClick(QObject* source) {
    for (int i = 0; i < Count; ++i)
        if (m_buttons[i] == source) {
            emit OnClick(this, i);
            return;
        }
}
