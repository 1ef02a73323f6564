// Qt's own texts in Chinese when the translation is found, Qt's English untouched when not.
#include "widgets/qt_chinese.h"

#include "support/qt_application.h"
#include "support/temp_folder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>

#include <gtest/gtest.h>

using namespace quvela;

namespace {

struct Texts
{
    QString yes, no, ok, paste, month;
};

Texts qtTexts()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("t"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
    return {box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text(),
            box.button(QMessageBox::Ok)->text(), QLineEdit::tr("&Paste"), QLocale().monthName(1)};
}

class QtChinese : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication<QApplication>(); }
    void TearDown() override { QLocale::setDefault(m_locale); }

private:
    QLocale m_locale;
};

TEST_F(QtChinese, FoundInAnyFolderOfTheListTheTextsReadChinese)
{
    test::TempFolder program;
    const QString programDir = QString::fromStdString(program.path().string());
    // A fresh program folder holds no translations: Qt's own folder must be the one found.
    const auto translator = widgets::installQtChinese(widgets::qtTranslationFolders(programDir));
    ASSERT_NE(translator, nullptr) << "qtbase_zh_CN.qm missing: tools/install-deps.sh installs it";
    const Texts texts = qtTexts();
    EXPECT_TRUE(texts.yes.startsWith(QStringLiteral("是"))) << texts.yes.toStdString();
    EXPECT_TRUE(texts.no.startsWith(QStringLiteral("否"))) << texts.no.toStdString();
    EXPECT_TRUE(texts.ok.startsWith(QStringLiteral("确定"))) << texts.ok.toStdString();
    EXPECT_TRUE(texts.paste.startsWith(QStringLiteral("粘贴"))) << texts.paste.toStdString();
    EXPECT_EQ(texts.month, QStringLiteral("一月"));
}

TEST_F(QtChinese, MissingEverywhereLeavesQtEnglishAndTheLocale)
{
    test::TempFolder empty;
    const QLocale before;
    const auto translator = widgets::installQtChinese(
        {QString::fromStdString(empty.path().string()), QString::fromStdString((empty / "none").string())});
    EXPECT_EQ(translator, nullptr);
    const Texts texts = qtTexts();
    EXPECT_EQ(texts.yes, QStringLiteral("&Yes"));
    EXPECT_EQ(texts.no, QStringLiteral("&No"));
    EXPECT_EQ(texts.ok, QStringLiteral("OK"));
    EXPECT_EQ(QLocale(), before);
}

TEST_F(QtChinese, GoingAwayTakesTheTranslationWithIt)
{
    auto translator = widgets::installQtChinese(widgets::qtTranslationFolders(QString()));
    ASSERT_NE(translator, nullptr);
    translator.reset();
    EXPECT_EQ(qtTexts().yes, QStringLiteral("&Yes"));
}

} // namespace
