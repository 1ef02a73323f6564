#include "widgets/qt_chinese.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>

namespace quvela::widgets {

QStringList qtTranslationFolders(const QString &programDir)
{
    return {QDir(programDir).filePath(QStringLiteral("translations")),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

std::unique_ptr<QTranslator> installQtChinese(const QStringList &folders)
{
    for (const QString &folder : folders) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(QStringLiteral("qtbase_zh_CN"), folder))
            continue;
        QCoreApplication::installTranslator(translator.get());
        // The calendar takes its month and day names from the locale, not from the
        // translation; with both, no English is left on a Western-set desktop either.
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
        return translator;
    }
    return nullptr;
}

} // namespace quvela::widgets
