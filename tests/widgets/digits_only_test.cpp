// Digit boxes: whatever way text arrives (typed, composed, pasted by key or by the
// context menu, dropped), only digits get in, and a refused edit changes nothing.
#include "widgets/digits_only.h"

#include "support/qt_application.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace quvela;

namespace {

class DigitsOnly : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { test::ensureApplication<QApplication>(); }

    void SetUp() override
    {
        box = std::make_unique<QLineEdit>();
        widgets::makeDigitsOnly(box.get());
        box->show();
        box->activateWindow();
        box->setFocus();
    }

    std::unique_ptr<QLineEdit> box;
};

void typeKeys(QLineEdit *box, const QString &text)
{
    for (const QChar c : text) {
        const int key = c.unicode() < 0x80 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

void compose(QLineEdit *box, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

void pasteByKey(QLineEdit *box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
}

void pasteByMenu(QLineEdit *box, const QString &text)
{
    QApplication::clipboard()->setText(text);
    std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
    QAction *paste = nullptr;
    for (QAction *action : menu->actions())
        if (action->text().startsWith(QLineEdit::tr("&Paste")))
            paste = action;
    ASSERT_NE(paste, nullptr);
    ASSERT_TRUE(paste->isEnabled());
    paste->trigger();
}

void drop(QLineEdit *box, const QString &text)
{
    QMimeData data;
    data.setText(text);
    const QPointF at(box->width() - 2, box->height() / 2);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &dropped);
}

TEST_F(DigitsOnly, TypedKeysGetInOneByOne)
{
    struct Case
    {
        const char *typed;
        const char *shown;
    };
    const Case cases[] = {{"12", "12"}, {"a", ""}, {"-5", "5"}, {"1x2y3", "123"}, {"+ 7.0", "70"}, {"２", ""}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        box->clear();
        typeKeys(box.get(), QString::fromUtf8(c.typed));
        EXPECT_EQ(box->text(), QString::fromUtf8(c.shown));
    }
}

// A text that arrives whole gets in whole or not at all.
TEST_F(DigitsOnly, WholeTextsGetInOnlyWhenAllDigits)
{
    struct Way
    {
        const char *name;
        std::function<void(QLineEdit *, const QString &)> enter;
    };
    const Way ways[] = {
        {"composed", compose}, {"Ctrl+V", pasteByKey}, {"context menu", pasteByMenu}, {"dropped", drop},
    };
    struct Case
    {
        const char *before;
        const char *entered;
        const char *after;
    };
    // The cursor stands at the end of the text before.
    const Case cases[] = {
        {"", "12", "12"},   {"20", "10", "2010"}, {"7", "a", "7"},  {"7", "1a", "7"},
        {"", "-5", ""},     {"", "２", ""},       {"1", " 2", "1"}, {"", "7.0", ""},
        {"12", "年", "12"}, {"", "0123456789", "0123456789"},
    };
    for (const Way &way : ways) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << way.name << ": " << c.before << " + " << c.entered);
            box->setText(QString::fromUtf8(c.before));
            box->end(false);
            way.enter(box.get(), QString::fromUtf8(c.entered));
            EXPECT_EQ(box->text(), QString::fromUtf8(c.after));
        }
    }
}

TEST_F(DigitsOnly, DeletingStaysFree)
{
    box->setText(QStringLiteral("2010"));
    box->end(false);
    QTest::keyClick(box.get(), Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("201"));
    box->home(false);
    QTest::keyClick(box.get(), Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral("01"));
    box->selectAll();
    QTest::keyClick(box.get(), Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QString());
}

} // namespace
