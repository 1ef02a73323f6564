#include "report/font_setup.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>

namespace quvela::report {

void prepareFontConfig(const QString &executableDir)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    if (!qEnvironmentVariableIsEmpty("FONTCONFIG_FILE"))
        return;
    const QString conf = QDir(executableDir).filePath(QStringLiteral("fonts.conf"));
    if (QFileInfo::exists(conf))
        qputenv("FONTCONFIG_FILE", QFile::encodeName(conf));
#else
    Q_UNUSED(executableDir);
#endif
}

void installFontSubstitutions()
{
#if defined(Q_OS_WIN)
    // Windows has these families itself.
#else
    // Song first as TrueType: see fonts/fonts.conf for why the CFF faces come second.
    const QString song = QStringLiteral("AR PL UMing CN");
    const QString songFallback = QStringLiteral("Noto Serif CJK SC");
    const QString hei = QStringLiteral("Noto Sans CJK SC");
    const QString kai = QStringLiteral("AR PL UKai CN");
    QFont::insertSubstitutions(QStringLiteral("宋体"), {song, songFallback});
    QFont::insertSubstitutions(QStringLiteral("SimSun"), {song, songFallback});
    QFont::insertSubstitution(QStringLiteral("黑体"), hei);
    QFont::insertSubstitution(QStringLiteral("SimHei"), hei);
    QFont::insertSubstitution(QStringLiteral("楷体_GB2312"), kai);
    QFont::insertSubstitution(QStringLiteral("KaiTi_GB2312"), kai);
    QFont::insertSubstitutions(QStringLiteral("Arial"), {song, hei});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), {QStringLiteral("DejaVu Sans"), hei});
#endif
}

} // namespace quvela::report
