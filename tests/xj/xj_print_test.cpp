// quvela-batch xj print: the example roster imported and adjusted in a program folder of
// its own, printed headless into PDF, text, JSON and PNG files.
#include "support/file_bytes.h"
#include "xj/temp_folder.h"

#include <QByteArray>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using quvela::test::fileBytes;
using quvela::test::TempFolder;

namespace {

QString qs(const std::filesystem::path &p) { return QString::fromStdString(p.string()); }
QString qs(const char *utf8) { return QString::fromUtf8(utf8); }

struct Result
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

Result run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    Result r;
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

std::vector<std::string> split(const std::string &text, char sep)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find(sep, start)) != std::string::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::string withoutBlanks(const std::string &s)
{
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\n' && c != '\f' && c != '\r')
            out += c;
    return out;
}

std::vector<std::string> filesIn(const std::filesystem::path &dir)
{
    std::vector<std::string> names;
    if (std::filesystem::exists(dir))
        for (const auto &e : std::filesystem::directory_iterator(dir))
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class XjPrint : public testing::Test
{
protected:
    Result batch(QStringList args)
    {
        args.prepend(qs(program.path()));
        args.prepend(QStringLiteral("--dir"));
        return run(qs(QUVELA_BINARY_DIR "/bin/quvela-batch"), args);
    }

    // Imports rows 7 to 30 of the example roster and adjusts them; returns the table
    // rows as the dump gives them, each split into its columns.
    std::vector<std::vector<std::string>> importExample()
    {
        const auto book = program / "xj-roster.xlsx";
        std::filesystem::copy_file(std::filesystem::path(QUVELA_SOURCE_DIR) / "examples" / "xj-roster.xlsx", book);
        const Result imported = batch({qs("xj"), qs("import"), qs("--workbook"), qs(book), qs("--rows"), qs("7-30")});
        EXPECT_EQ(imported.exitCode, 0) << imported.err;
        const Result adjusted = batch({qs("xj"), qs("adjust")});
        EXPECT_EQ(adjusted.exitCode, 0) << adjusted.err;
        const Result dump = batch({qs("xj"), qs("dump")});
        EXPECT_EQ(dump.exitCode, 0) << dump.err;
        std::vector<std::vector<std::string>> rows;
        std::vector<std::string> lines = split(dump.out, '\n');
        for (std::size_t i = 1; i < lines.size(); ++i)
            if (!lines[i].empty())
                rows.push_back(split(lines[i], '\t'));
        return rows;
    }

    TempFolder program;
    TempFolder out;
};

// Columns of the dump, as the table has them.
enum Column { Xm = 1, Xjdj1 = 12, Xjgz1 = 13, Xjdj2 = 19, Xjgz2 = 20 };

TEST_F(XjPrint, EveryRowInTableOrderOnePageEachInEveryOutput)
{
    const auto rows = importExample();
    ASSERT_EQ(rows.size(), 24u);
    const auto pdf = out / "forms.pdf", txt = out / "forms.txt", json = out / "forms.json", png = out / "png";
    const Result r = batch({qs("xj"), qs("print"), qs("--pdf"), qs(pdf), qs("--txt"), qs(txt), qs("--json"), qs(json),
                            qs("--png-dir"), qs(png), qs("--png-dpi"), qs("50")});
    ASSERT_EQ(r.exitCode, 0) << r.err;

    const Result info = run(qs("pdfinfo"), {qs(pdf)});
    EXPECT_NE(info.out.find("Pages:           24\n"), std::string::npos) << info.out;

    // page i is the form of table row i, with that row's grades in the wording
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QString page = QString::number(i + 1);
        const std::string text = withoutBlanks(
            run(qs("pdftotext"), {qs("-layout"), qs("-f"), page, qs("-l"), page, qs(pdf), qs("-")}).out);
        const auto &row = rows[i];
        ASSERT_GT(row.size(), static_cast<std::size_t>(Xjgz2));
        EXPECT_NE(text.find(withoutBlanks(row[Xm])), std::string::npos) << "page " << i + 1;
        const std::string line2 = "正常增加一个薪级，薪级工资由" + row[Xjdj1] + "级" + row[Xjgz1] + "元增加到" + row[Xjdj2]
            + "级" + row[Xjgz2] + "元，（提高工资10%";
        EXPECT_NE(text.find(line2), std::string::npos) << "page " << i + 1 << ": " << line2;
    }

    const QJsonArray pages =
        QJsonDocument::fromJson(QByteArray::fromStdString(fileBytes(json))).object().value(QLatin1String("pages")).toArray();
    ASSERT_EQ(pages.size(), 24);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        QString name;
        for (const QJsonValue l : pages[i].toObject().value(QLatin1String("labels")).toArray())
            if (l.toObject().value(QLatin1String("name")).toString() == QLatin1String("l_xm"))
                name = l.toObject().value(QLatin1String("text")).toString();
        EXPECT_EQ(name.toStdString(), rows[static_cast<std::size_t>(i)][Xm]) << i;
    }

    const std::string text = fileBytes(txt);
    ASSERT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);
    std::size_t feeds = 0;
    for (std::size_t at = 0; (at = text.find("\n\f\n", at)) != std::string::npos; ++at)
        ++feeds;
    EXPECT_EQ(feeds, 23u);
    EXPECT_NE(text.find(rows[0][Xm]), std::string::npos);

    const std::vector<std::string> images = filesIn(png);
    ASSERT_EQ(images.size(), 24u);
    EXPECT_EQ(images.front(), "form-0001.png");
    EXPECT_EQ(images.back(), "form-0024.png");
    QImage first;
    ASSERT_TRUE(first.load(qs(png / "form-0001.png")));
    EXPECT_EQ(first.size(), QSize(359, 506)); // 182 x 257 mm at 50 dpi
}

// A run that fails half-way leaves every output as it was.
TEST_F(XjPrint, FilesAreWrittenOnlyWhenTheWholeRunSucceeds)
{
    importExample();
    const auto pdf = out / "forms.pdf", json = out / "forms.json", png = out / "png";
    std::ofstream(pdf) << "older file";
    const Result r = batch({qs("xj"), qs("print"), qs("--pdf"), qs(pdf), qs("--json"), qs(json), qs("--png-dir"),
                            qs(png), qs("--txt"), qs(out / "missing" / "forms.txt")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("forms.txt"), std::string::npos) << r.err;
    EXPECT_EQ(fileBytes(pdf), "older file");
    EXPECT_FALSE(std::filesystem::exists(json));
    EXPECT_EQ(filesIn(png), std::vector<std::string>{});
}

TEST_F(XjPrint, EmptyTableWritesNothingAndSaysSo)
{
    const auto pdf = out / "forms.pdf", txt = out / "forms.txt";
    const Result r = batch({qs("xj"), qs("print"), qs("--pdf"), qs(pdf), qs("--txt"), qs(txt)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("表中没有记录"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_FALSE(std::filesystem::exists(txt));
}

TEST_F(XjPrint, BadOptionsAreUsageErrors)
{
    for (const QStringList &args :
         {QStringList{qs("xj"), qs("print")}, QStringList{qs("xj"), qs("print"), qs("--pdf"), qs("a.pdf"), qs("--png-dpi"), qs("0")},
          QStringList{qs("xj"), qs("print"), qs("--pdf"), qs("a.pdf"), qs("--png-dpi"), qs("72x")},
          QStringList{qs("xj"), qs("print"), qs("--pdf"), qs("a.pdf"), qs("--rows"), qs("7-9")}}) {
        const Result r = batch(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(QLatin1Char(' ')).toStdString() << "\n" << r.err;
    }
}

} // namespace
