#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own texts and formats in Brazilian Portuguese: the file and folder dialogs ("Pasta", dates as
// 08/12/2025), the standard buttons and context menus. Only Qt's locales change: the C library keeps the
// user's, but for numbers, which are read and written the C way; the program's own conversions read
// neither.

/// Before the application object exists: Qt's system locale (which its file dialog formats dates and
/// sizes with) becomes Brazilian Portuguese. The environment is left as it was.
void useBrazilianSystemLocaleInQt();

/// Once the application object exists: Qt's default locale, Qt's translations, and the C library's
/// number format. Returns the translator installed (owned by app), or null when the system lacks Qt's
/// translations.
QTranslator* installQtPortuguese(QCoreApplication& app);
