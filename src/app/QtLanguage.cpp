#include "app/QtLanguage.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>
#include <cstring>

namespace {

// Texts of Qt's file dialogs that Qt's Brazilian translation lacks (their context was renamed after
// it was made); asked only when that translation has no answer.
class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                      int /*n*/) const override {
        struct Text {
            const char* context;
            const char* english;
            const char* portuguese;
        };
        static const Text texts[] = {
            {"QAbstractFileIconProvider", "Folder", "Pasta"},
            {"QAbstractFileIconProvider", "File Folder", "Pasta de arquivos"},
            {"QAbstractFileIconProvider", "Drive", "Unidade"},
            {"QAbstractFileIconProvider", "Shortcut", "Atalho"},
            {"QAbstractFileIconProvider", "Unknown", "Desconhecido"},
        };
        if (!context || !sourceText)
            return QString();
        for (const Text& t : texts)
            if (std::strcmp(context, t.context) == 0 && std::strcmp(sourceText, t.english) == 0)
                return QString::fromUtf8(t.portuguese);
        return QString();
    }
};

} // namespace

void useBrazilianSystemLocaleInQt() {
    // Qt reads the system locale from the environment once, at its first use; the C library reads it
    // when the application object is made. So Qt reads it now under a Brazilian LC_ALL, and the
    // variable is put back before the C library or any program started from here sees it.
    const bool had = qEnvironmentVariableIsSet("LC_ALL");
    const QByteArray old = qgetenv("LC_ALL");
    qputenv("LC_ALL", "pt_BR.UTF-8");
    (void)QLocale::system();
    if (had)
        qputenv("LC_ALL", old);
    else
        qunsetenv("LC_ALL");
}

QTranslator* installQtPortuguese(QCoreApplication& app) {
    // The application object set the C library's locale from the environment; numbers stay in the C
    // form whatever the user's locale, for any library that reads or writes them through it.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    // Installed first, so asked last.
    QCoreApplication::installTranslator(new MissingQtTexts(&app));
    auto* texts = new QTranslator(&app);
    // The Brazilian file by name: a lookup by locale would settle for European Portuguese or for none.
    if (!texts->load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete texts;
        return nullptr;
    }
    QCoreApplication::installTranslator(texts);
    return texts;
}
