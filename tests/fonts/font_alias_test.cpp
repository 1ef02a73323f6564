// The forms name Windows font families; on this system each must land on a font that
// really draws Chinese, or a form prints boxes where the wording should be.
#include "report/font_setup.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRawFont>

#include "support/qt_application.h"

#include <gtest/gtest.h>

namespace {

class FontAliases : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        quvela::test::ensureApplication<QGuiApplication>();
        quvela::report::installFontSubstitutions();
    }
};

TEST_F(FontAliases, FormFamiliesDrawChineseWithRealGlyphs)
{
    const QString sample = QStringLiteral("国家机关事业单位工作人员工资变动审批表薪级");
    for (const char *family : {"宋体", "黑体", "楷体_GB2312", "Arial", "MS Sans Serif"}) {
        SCOPED_TRACE(family);
        QFont font(QString::fromUtf8(family));
        font.setPixelSize(20);
        const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese);
        ASSERT_TRUE(raw.isValid());
        for (const QChar c : sample)
            EXPECT_TRUE(raw.supportsCharacter(c)) << QString(c).toStdString() << " in " << raw.familyName().toStdString();
        // The glyphs have ink: a missing glyph would be drawn as an empty or boxed cell.
        const QList<quint32> glyphs = raw.glyphIndexesForString(sample);
        for (const quint32 glyph : glyphs)
            EXPECT_NE(glyph, 0u);
    }
}

TEST_F(FontAliases, SongHeiAndKaiAreDifferentFaces)
{
    auto resolved = [](const char *family) {
        QFont font(QString::fromUtf8(family));
        return QRawFont::fromFont(font, QFontDatabase::SimplifiedChinese).familyName();
    };
    const QString song = resolved("宋体");
    const QString hei = resolved("黑体");
    const QString kai = resolved("楷体_GB2312");
    EXPECT_NE(song, hei);
    EXPECT_NE(song, kai);
    EXPECT_NE(hei, kai);
}

} // namespace
