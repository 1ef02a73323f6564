// The page outputs: PDF (read back with poppler's tools), plain text, PNG and JSON.
#include "common/errors.h"
#include "report/gui_app.h"
#include "report/approval_form_frame.h"
#include "report/json_dump.h"
#include "report/page_image.h"
#include "report/pdf_document_writer.h"
#include "report/text_export.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

using namespace quvela;
using namespace quvela::report;
using quvela::test::fileBytes;
using quvela::test::TempFolder;

namespace {

QString qs(const std::filesystem::path &p) { return QString::fromStdString(p.string()); }

// Standard output of a poppler tool; fails the test when it cannot run.
std::string tool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << p.readAllStandardError().toStdString();
        return {};
    }
    return p.readAllStandardOutput().toStdString();
}

std::string withoutBlanks(const std::string &s)
{
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\n' && c != '\r' && c != '\t' && c != '\f')
            out += c;
    return out;
}

// A form page of the shared frame with its three wording lines.
RenderedPage formPage(const char *line1, const char *line2, const char *line3)
{
    FormReport report;
    buildApprovalForm(report, kXjFormVariant);
    report.page().margins.left = 15;
    report.page().margins.top = 18;
    report.formBand().label("y1").text = gbk::fromUtf8(line1);
    report.formBand().label("y2").text = gbk::fromUtf8(line2);
    report.formBand().label("y3").text = gbk::fromUtf8(line3);
    report.formBand().label("Lb_year").text = gbk::fromUtf8("2010 年 4 月 8 日");
    report.formBand().label("lb_area").text = gbk::fromUtf8("vodeve工资处制");
    return report.run();
}

class Outputs : public testing::Test
{
protected:
    void SetUp() override { test::ensureGuiApplication(); }
    TempFolder dir;
};

TEST_F(Outputs, PdfHasOnePagePerFormTheWordingAsTextAndEveryFontEmbedded)
{
    const char *lines[3][3] = {
        {"    根据ZAR(2007)50文件规定，该同志 2009 年年度考核为 合格  ，拟同意其",
         "正常增加一个薪级，薪级工资由 14 级 377 元增加到 15 级 412 元，（提高工资10%",
         "部分由 -- 元增加到 25 元），月增资 35 元，从 2010 年 1 月起执行。"},
        {"第二页第一行", "第二页第二行", "第二页第三行"},
        {"第三页第一行", "第三页第二行", "工人工资变动"},
    };
    const auto file = dir / "forms.pdf";
    PdfDocumentWriter writer(qs(file));
    for (const auto &page : lines)
        writer.printJob(formPage(page[0], page[1], page[2]));
    writer.commit();
    EXPECT_EQ(writer.pageCount(), 3);

    const std::string info = tool(QStringLiteral("pdfinfo"), {qs(file)});
    EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
    // 182 x 257 mm
    EXPECT_NE(info.find("Page size:       516 x 729 pts"), std::string::npos) << info;

    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        const std::string text = withoutBlanks(tool(QStringLiteral("pdftotext"),
                                                     {QStringLiteral("-layout"), QStringLiteral("-f"), n, QStringLiteral("-l"), n, QStringLiteral("-enc"),
                                                      QStringLiteral("UTF-8"), qs(file), QStringLiteral("-")}));
        for (const char *line : lines[i])
            EXPECT_NE(text.find(withoutBlanks(line)), std::string::npos) << "page " << i + 1 << ": " << line << "\n" << text;
        EXPECT_NE(text.find("国家机关事业单位工作人员工资变动审批表"), std::string::npos);
        EXPECT_NE(text.find("vodeve工资处制"), std::string::npos);
    }

    const std::string fonts = tool(QStringLiteral("pdffonts"), {qs(file)});
    std::istringstream rows(fonts);
    std::string row;
    int fontRows = 0;
    while (std::getline(rows, row)) {
        if (row.rfind("name", 0) == 0 || row.rfind("----", 0) == 0 || row.empty())
            continue;
        ++fontRows;
        // columns: name type... encoding emb sub uni object ID
        std::istringstream cols(row);
        std::vector<std::string> c;
        for (std::string w; cols >> w;)
            c.push_back(w);
        ASSERT_GE(c.size(), 6u) << row;
        EXPECT_EQ(c[c.size() - 5], "yes") << "not embedded: " << row;
    }
    EXPECT_GE(fontRows, 1);
}

TEST_F(Outputs, PdfFileAppearsOnlyOnCommit)
{
    const auto file = dir / "forms.pdf";
    std::ofstream(file) << "older file";
    {
        PdfDocumentWriter writer(qs(file));
        writer.printJob(formPage("a", "b", "c"));
        // dropped without commit: a failed run
    }
    EXPECT_EQ(fileBytes(file), "older file");

    const auto none = dir / "none.pdf";
    PdfDocumentWriter empty(qs(none));
    empty.commit();
    EXPECT_FALSE(std::filesystem::exists(none));
}

// Every output into a folder that is not there: a message naming the file, no file.
TEST_F(Outputs, OutputIntoAMissingFolderFailsWithAMessage)
{
    const RenderedPage page = formPage("a", "b", "c");
    const auto missing = dir / "missing";
    struct Case
    {
        const char *file;
        std::function<void(const QString &)> write;
    };
    const Case cases[] = {
        {"forms.pdf", [&](const QString &f) { writePdf({page}, f); }},
        {"forms.txt", [&](const QString &f) { writeTextExport({page}, f); }},
        {"empty.txt", [&](const QString &f) { writeTextExport({}, f); }},
        {"forms.json", [&](const QString &f) { writeJsonDump({page}, f); }},
        {"form.png", [&](const QString &f) { writePng(page, f, 50); }},
    };
    for (const Case &c : cases) {
        try {
            c.write(qs(missing / c.file));
            ADD_FAILURE() << c.file << " written";
        } catch (const QuvelaError &e) {
            const std::string message = gbk::toUtf8(e.message());
            EXPECT_EQ(message.rfind("无法写入文件 ", 0), 0u) << message;
            EXPECT_NE(message.find(c.file), std::string::npos) << message;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

ReportLabel textLabel(const char *utf8, double x, double y, double width = 0, Align align = Align::Left)
{
    ReportLabel l = dataLabel("", x, y, width, align);
    l.text = gbk::fromUtf8(utf8);
    if (width == 0)
        l.width = textWidthMm(l.text, l.sizePt);
    return l;
}

// One column per half em of 10 pt.
constexpr double kColumn = 10 * 25.4 / 72 / 2;

TEST_F(Outputs, TextExportReadsRowsTopToBottomAndLabelsLeftToRight)
{
    RenderedPage page;
    // listed out of order; same row when their tops are within about 2.5 mm
    page.labels.push_back(textLabel("丙", 0, 30));
    page.labels.push_back(textLabel("乙", 10 * kColumn, 11.5));
    page.labels.push_back(textLabel("甲", 0, 10));
    page.labels.push_back(textLabel("   ", 40 * kColumn, 10)); // blank: not exported
    // right-aligned: its text starts at x + width - text width
    page.labels.push_back(textLabel("25", 20 * kColumn, 30.2, 6 * kColumn, Align::Right));
    EXPECT_EQ(pageText(page), "甲        乙\n"
                              "丙                      25\n");

    const auto file = dir / "forms.txt";
    RenderedPage second;
    second.labels.push_back(textLabel("丁", 2 * kColumn, 50));
    writeTextExport({page, second}, qs(file));
    EXPECT_EQ(fileBytes(file), "\xEF\xBB\xBF"
                              "甲        乙\n"
                              "丙                      25\n"
                              "\f\n"
                              "  丁\n");
}

TEST_F(Outputs, TextExportOfAFormHasItsWordingLines)
{
    const std::string text = pageText(formPage("    根据ABC(2009)3文件规定", "第二行", "第三行"));
    EXPECT_NE(text.find("根据ABC(2009)3文件规定\n"), std::string::npos) << text;
    EXPECT_NE(text.find("国家机关事业单位工作人员工资变动审批表"), std::string::npos);
    // the title comes first, the issuing office last
    EXPECT_LT(text.find("国家机关"), text.find("姓  名"));
    EXPECT_LT(text.find("审  批"), text.find("vodeve工资处制"));
}

TEST_F(Outputs, PngHasTheChosenResolution)
{
    RenderedPage page;
    page.lines.push_back({10, 0, 10, 257, 0.26});
    struct Case
    {
        double dpi;
        int width;
        int height;
    };
    for (const Case c : {Case{254, 1820, 2570}, Case{100, 717, 1012}, Case{300, 2150, 3036}}) {
        const QImage image = renderPageImage(page, c.dpi);
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(image.width(), c.width);
        EXPECT_EQ(image.height(), c.height);
        EXPECT_NEAR(image.dotsPerMeterX(), c.dpi / 0.0254, 1);
        const int x = static_cast<int>(10 * c.dpi / 25.4);
        EXPECT_EQ(image.pixel(x, image.height() / 2), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(x - 3, image.height() / 2), qRgb(255, 255, 255));
    }
    const auto file = dir / "page.png";
    writePng(page, qs(file), 254);
    QImage back;
    ASSERT_TRUE(back.load(qs(file)));
    EXPECT_EQ(back.size(), QSize(1820, 2570));
}

// The ink of a label lies in its box: from the left edge, ending at the right edge, or
// centred, and from the top of the box down.
TEST_F(Outputs, PaintedTextFollowsTheAlignmentOfItsLabel)
{
    struct Case
    {
        Align align;
        double inkLeftMm;  // where the ink should start, within a millimetre
        double inkRightMm; // and end
    };
    // "一二三四" at 10 pt is 14.1 mm wide; the box is 40 mm wide from x 50.
    const double textMm = 4 * 10 * 25.4 / 72;
    for (const Case c : {Case{Align::Left, 50, 50 + textMm}, Case{Align::Right, 90 - textMm, 90},
                         Case{Align::Center, 70 - textMm / 2, 70 + textMm / 2}}) {
        RenderedPage page;
        ReportLabel l = dataLabel("l", 50, 100, 40, c.align);
        l.text = gbk::fromUtf8("一二三四");
        page.labels.push_back(l);
        const QImage image = renderPageImage(page, 254); // 10 dots per millimetre
        // the area around the box, 5 mm beyond it on every side
        int left = image.width(), right = -1, top = image.height(), bottom = -1;
        for (int y = 950; y < 1100; ++y)
            for (int x = 450; x < 950; ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        SCOPED_TRACE(static_cast<int>(c.align));
        ASSERT_GE(right, 0) << "nothing painted";
        EXPECT_NEAR(left / 10.0, c.inkLeftMm, 1.0);
        EXPECT_NEAR(right / 10.0, c.inkRightMm, 1.0);
        EXPECT_GE(top / 10.0, 100.0);
        EXPECT_LE(bottom / 10.0, 100.0 + 3.7 + 0.5);
    }
}

TEST_F(Outputs, PngFolderNamesThePagesOnlyOnCommit)
{
    const RenderedPage page = formPage("a", "b", "c");
    {
        PngFolderWriter writer(qs(dir.path()), 50);
        writer.printJob(page);
        writer.printJob(page);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));

    std::ofstream(dir / "form-0001.png") << "older";
    PngFolderWriter writer(qs(dir.path()), 50);
    writer.printJob(page);
    writer.printJob(page);
    writer.commit();
    std::vector<std::string> names;
    for (const auto &e : std::filesystem::directory_iterator(dir.path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"form-0001.png", "form-0002.png"}));
    QImage back;
    EXPECT_TRUE(back.load(qs(dir / "form-0001.png")));
}

TEST_F(Outputs, JsonDumpDescribesEveryLabelAndLine)
{
    const auto file = dir / "forms.json";
    writeJsonDump({formPage("一", "二", "三")}, qs(file));
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(fileBytes(file)));
    ASSERT_TRUE(doc.isObject());
    const QJsonArray pages = doc.object().value(QLatin1String("pages")).toArray();
    ASSERT_EQ(pages.size(), 1);
    const QJsonObject page = pages[0].toObject();
    EXPECT_EQ(page.value(QLatin1String("width_mm")).toDouble(), 182);
    EXPECT_EQ(page.value(QLatin1String("height_mm")).toDouble(), 257);
    bool sawTitle = false;
    for (const QJsonValue v : page.value(QLatin1String("labels")).toArray()) {
        const QJsonObject l = v.toObject();
        for (const char *key : {"name", "text", "x_mm", "y_mm", "width_mm", "height_mm", "font", "size_pt", "bold",
                                "underline", "align", "auto_width"})
            EXPECT_TRUE(l.contains(QLatin1String(key))) << key;
        const QString align = l.value(QLatin1String("align")).toString();
        EXPECT_TRUE(align == QLatin1String("left") || align == QLatin1String("center") || align == QLatin1String("right")) << align.toStdString();
        if (l.value(QLatin1String("name")).toString() == QLatin1String("Lb1")) {
            sawTitle = true;
            EXPECT_EQ(l.value(QLatin1String("align")).toString(), QStringLiteral("center"));
            EXPECT_TRUE(l.value(QLatin1String("underline")).toBool());
            EXPECT_DOUBLE_EQ(l.value(QLatin1String("x_mm")).toDouble(), 17.1);
            EXPECT_DOUBLE_EQ(l.value(QLatin1String("y_mm")).toDouble(), 22.2);
        }
    }
    EXPECT_TRUE(sawTitle);
    const QJsonArray lines = page.value(QLatin1String("lines")).toArray();
    ASSERT_FALSE(lines.isEmpty());
    for (const char *key : {"x1_mm", "y1_mm", "x2_mm", "y2_mm", "width_mm"})
        EXPECT_TRUE(lines[0].toObject().contains(QLatin1String(key))) << key;

    const auto empty = dir / "empty.json";
    writeJsonDump({}, qs(empty));
    EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(fileBytes(empty))).object().value(QLatin1String("pages")).toArray().size(),
              0);
}

} // namespace
