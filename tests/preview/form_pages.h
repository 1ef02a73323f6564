// Real XJ form pages for the preview tests, and the application they need.
#pragma once

#include "common/settings_records.h"
#include "report/rendered_page.h"
#include "xj/xj_form.h"

#include "support/qt_application.h"

#include <QApplication>
#include <QByteArray>
#include <QProcess>
#include <QString>

#include <string>
#include <vector>

namespace quvela::test {

inline void ensureApplication()
{
    ensureApplication<QApplication>();
}

inline TXtcs formSettings()
{
    TXtcs s;
    s.FileNo = gbk::fromUtf8("zar(2007)50");
    s.Year = 2010;
    s.PrintDate = QDateTime(QDate(2010, 3, 5), QTime(0, 0));
    s.Issuer = gbk::fromUtf8("vodeve人事局制");
    return s;
}

// One form per name, each an ordinary salary-grade step.
inline report::PageStore formPages(const std::vector<std::string> &names)
{
    static const TXtcs settings = formSettings();
    report::PageStore pages;
    for (const std::string &name : names) {
        xj::XjRecord r;
        r.xm = gbk::fromUtf8(name);
        r.xb = gbk::fromUtf8("女");
        r.ndkh = gbk::fromUtf8("合格");
        r.xrzw = gbk::fromUtf8("科员");
        r.zwlb = 2;
        r.gwdj1 = "10";
        r.gwdj2 = "10";
        r.gwgz1 = 680;
        r.gwgz2 = 680;
        r.xjdj1 = 14;
        r.xjgz1 = 377;
        r.xjdj2 = 15;
        r.xjgz2 = 412;
        r.bf102 = 25;
        r.heji1 = 1057;
        r.heji2 = 1117;
        r.zzhj = 60;
        xj::TXjPrnForm form(r, settings);
        pages.push_back(form.run());
    }
    return pages;
}

// The text pdftotext finds in a PDF, or an empty text when it fails.
inline QString pdfText(const QString &fileName)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), fileName, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// pdfinfo's "Key: value" lines.
inline QString pdfInfo(const QString &fileName, const QString &key)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {fileName});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(key + QLatin1Char(':')))
            return line.mid(key.size() + 1).trimmed();
    }
    return {};
}

} // namespace quvela::test
