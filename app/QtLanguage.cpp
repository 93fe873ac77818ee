#include "app/QtLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

// qtbase holds the buttons, dialogs and messages of the widgets we use; qtserialport the serial
// port's error texts.
constexpr const char* kCatalogues[] = {"qtbase", "qtserialport"};

}  // namespace

QString QtCatalogueLocale(UiLanguage language)
{
    return language == UiLanguage::Chinese ? QStringLiteral("zh_CN") : QString();
}

QStringList QtCatalogueFolders(const QString& programDirectory)
{
    return {QDir(programDirectory).filePath(QStringLiteral("translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

int InstallQtTranslations(QCoreApplication& application, UiLanguage language, const QStringList& folders)
{
    const QString locale = QtCatalogueLocale(language);
    if (locale.isEmpty())
        return 0;
    QLocale::setDefault(QLocale(locale));
    int installed = 0;
    for (const char* catalogue : kCatalogues) {
        auto translator = std::make_unique<QTranslator>(&application);
        const QString file = QStringLiteral("%1_%2").arg(QLatin1String(catalogue), locale);
        for (const QString& folder : folders) {
            if (translator->load(file, folder)) {
                application.installTranslator(translator.release());
                ++installed;
                break;
            }
        }
    }
    return installed;
}
