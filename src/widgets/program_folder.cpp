#include "widgets/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace quvela::widgets {
namespace {
QString &overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    const QString folder = overrideFolder().isEmpty() ? QCoreApplication::applicationDirPath() : overrideFolder();
    QString native = QDir::toNativeSeparators(QDir::cleanPath(folder));
    while (native.size() > 1 && native.endsWith(QDir::separator()))
        native.chop(1);
    return native;
}

void setProgramFolderOverride(const QString &folder)
{
    overrideFolder() = folder;
}

} // namespace quvela::widgets
