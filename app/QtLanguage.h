#pragma once
// Qt's own texts (standard buttons, file dialogs, Qt's messages) in the run's language, from
// Qt's translation catalogues (Debian: qt6-translations-l10n). The Chinese interface loads
// qtbase_zh_CN; the other languages keep Qt's built-in English.
#include <QString>
#include <QStringList>

#include "core/SystemSettings.h"

class QCoreApplication;

// The locale name of Qt's catalogues for a language; empty when Qt's English is used.
QString QtCatalogueLocale(UiLanguage language);

// Where Qt's catalogues are looked for: a "translations" folder beside the program first, then
// Qt's own translations folder.
QStringList QtCatalogueFolders(const QString& programDirectory);

// Installs the catalogues for the language into the application and makes the language's
// locale the default one. Returns how many catalogues were installed (0 for English, or when
// none was found: Qt then stays English and the program still runs).
int InstallQtTranslations(QCoreApplication& application, UiLanguage language, const QStringList& folders);
