// Checks that the tool windows' tests make alike: the controls of a panel at their
// places, the tab chain, the help pane.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QTest>
#include <QTextBrowser>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

namespace quvela::test {

struct PanelPlace
{
    const char *name;
    QRect geometry;
    const char *text; // a button's or label's text; null: not checked
    const char *hint; // null: no tooltip
};

// Each control is a child of panel at its place, not hidden, with its text and its hint.
inline void expectPanelPlaces(const QWidget &window, const QWidget *panel, std::span<const PanelPlace> places)
{
    for (const PanelPlace &p : places) {
        const QWidget *w = window.findChild<QWidget *>(QString::fromUtf8(p.name));
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->parentWidget(), panel) << p.name;
        EXPECT_EQ(w->geometry(), p.geometry) << p.name;
        EXPECT_FALSE(w->isHidden()) << p.name;
        if (p.text) {
            if (auto *b = qobject_cast<const QPushButton *>(w)) {
                EXPECT_EQ(b->text(), QString::fromUtf8(p.text)) << p.name;
            }
            if (auto *l = qobject_cast<const QLabel *>(w)) {
                EXPECT_EQ(l->text(), QString::fromUtf8(p.text)) << p.name;
            }
        }
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(p.hint ? p.hint : "")) << p.name;
    }
}

// The controls named in expected, in the order tabbing reaches them once round the chain
// from first; the parts inside a control (the date picker's own box) are passed over.
inline std::vector<std::string> tabOrderFrom(QWidget *first, const std::vector<std::string> &expected)
{
    std::vector<std::string> reached;
    QWidget *w = first;
    do {
        const std::string name = w->objectName().toStdString();
        if (std::find(expected.begin(), expected.end(), name) != expected.end()
            && std::find(reached.begin(), reached.end(), name) == reached.end())
            reached.push_back(name);
        w = w->nextInFocusChain();
    } while (w && w != first);
    return reached;
}

// Shown at size, the window's help pane starts hidden; a click on "btnHelp" where it
// stands shows it 100 pixels high, a second one hides it.
inline void expectHelpPaneToggles(QWidget &window, QSize size)
{
    window.resize(size);
    window.show();
    QApplication::processEvents();
    QApplication::processEvents();
    auto *help = window.findChild<QTextBrowser *>(QStringLiteral("helpBrowser"));
    auto *button = window.findChild<QPushButton *>(QStringLiteral("btnHelp"));
    ASSERT_NE(help, nullptr);
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(help->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->height(), 100);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(help->isVisible());
}

} // namespace quvela::test
