// Qt's own texts (the buttons of message boxes, the file, print and printer set-up
// dialogs, the context menus of text boxes) and the calendar's month and day names in
// Simplified Chinese, to match the program's own texts. The translation files ship
// with Qt: beside the program in "translations" (a Windows installation), else in
// Qt's own folder (qt6-translations-l10n on Debian). When neither holds them the
// program keeps Qt's English texts and says nothing: it works the same either way.
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>

namespace quvela::widgets {

// The folders looked in, in order.
QStringList qtTranslationFolders(const QString &programDir);

// Installs the translation of the first folder that holds it into the application and
// makes Chinese the default locale. Returns the installed translator (removed from the
// application when destroyed), or null when no folder holds it and nothing changed.
std::unique_ptr<QTranslator> installQtChinese(const QStringList &folders);

} // namespace quvela::widgets
