// The column dialog "参数设置": what it shows for a stored map, its layout, the range of
// its fields, the clash messages and what "确定" and "取消" store.
#include "xj_window_fixture.h"

#include "widgets/spin_edit.h"
#include "xj/ui/para_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quvela;
using namespace quvela::test;
using xj::TParaForm;

namespace {

const std::string kDefaultMap = "01020304050607080910111213141516171819202122232425262728293031323334353637383940";
const std::string kStoredDefault = "0102030405060708091011121314151617181920212223242526272829303132";

class ParaFormTest : public XjWindowTest
{
protected:
    IniFile settingsFile{dir / "xjgz.ini"};
    std::unique_ptr<TParaForm> dialog;

    TParaForm &openDialog(const std::string &map = kDefaultMap)
    {
        xjcs.ColumnMap = gbk::fromUtf8(map);
        dialog = std::make_unique<TParaForm>(settingsFile, prompts);
        return *dialog;
    }

    std::vector<int> values() const
    {
        std::vector<int> v;
        for (int k = 1; k <= 32; ++k)
            v.push_back(dialog->spin(k)->value());
        return v;
    }
};

TEST_F(ParaFormTest, ShowsEachStoredColumnLessOne)
{
    struct Case
    {
        std::string map;
        std::vector<int> firstValues;
        int restFrom; // fields from here to 32 show their own number less one
    };
    const Case cases[] = {
        {kDefaultMap, {0, 1, 2, 3}, 5},
        {"0302" + kDefaultMap.substr(4), {2, 1, 2, 3}, 5},
        {"99270110" + kDefaultMap.substr(8), {98, 26, 0, 9}, 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.map);
        openDialog(c.map);
        const std::vector<int> v = values();
        for (std::size_t i = 0; i < c.firstValues.size(); ++i)
            EXPECT_EQ(v[i], c.firstValues[i]);
        for (int k = c.restFrom; k <= 32; ++k)
            EXPECT_EQ(v[std::size_t(k - 1)], k - 1);
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ParaFormTest, BrokenStoredPieceIsReportedAndZeroesTheRest)
{
    std::string map = kDefaultMap;
    map.replace(10, 2, "x6"); // field 6
    openDialog(map);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "error");
    EXPECT_EQ(gbk::toUtf8(prompts.shown[0].text), "'x6' is not a valid integer value");
    const std::vector<int> v = values();
    EXPECT_EQ(std::vector<int>(v.begin(), v.begin() + 5), (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(std::vector<int>(v.begin() + 5, v.end()), std::vector<int>(27, 0));
}

TEST_F(ParaFormTest, LayoutOfTheFields)
{
    struct Field
    {
        const char *spin;
        const char *label;
    };
    const Field fields[32] = {
        {"spXH", "序号："},         {"spXM", "姓名："},          {"spXB", "性别："},
        {"spCSNY", "出生年月："},   {"spGZNY", "工作年月："},    {"spTSNY", "推算年月："},
        {"spNDKH", "年度考核："},   {"spZW", "职务："},          {"spRZNY", "任职时间："},
        {"spHEJI1", "合计1："},     {"spGWDJ1", "岗位等级1："},  {"spGWGZ1", "岗位金额1："},
        {"spXJDJ1", "薪级等级1："}, {"spXJGZ1", "薪级金额1："},  {"spBF101", "提高10％1："},
        {"spQTGZ1", "其它工资1："}, {"spHEJI2", "合计2："},      {"spGWDJ2", "岗位等级2："},
        {"spGWGZ2", "岗位金额2："}, {"spXJDJ2", "薪级等级2："},  {"spXJGZ2", "薪级金额2："},
        {"spBF102", "提高10％2："}, {"spQTGZ2", "其它工资2："},  {"spZZHJ", "增资合计："},
        {"spZZXJ", "增资薪级："},   {"spZZ10", "增资10％："},    {"spZZQT", "增资其它："},
        {"spBFGZ", "补发工资："},   {"spBZ", "备注："},          {"spZWLB", "职务类别："},
        {"spSFTZ", "是否增资："},   {"spWHCD", "文化程度："},
    };
    TParaForm &d = openDialog();
    EXPECT_EQ(d.windowTitle(), QStringLiteral("参数设置"));
    EXPECT_EQ(d.objectName(), QStringLiteral("ParaForm"));
    const QList<QLabel *> labels = d.findChildren<QLabel *>();
    for (int k = 1; k <= 32; ++k) {
        SCOPED_TRACE(k);
        const Field &f = fields[k - 1];
        widgets::SpinEdit *spin = d.spin(k);
        EXPECT_EQ(spin->objectName(), QString::fromUtf8(f.spin));
        const int row = (k - 1) % 16;
        EXPECT_EQ(spin->geometry(), QRect(k <= 16 ? 112 : 368, 52 + 24 * row, 65, 19));
        EXPECT_EQ(spin->minimum(), 0);
        EXPECT_EQ(spin->maximum(), 98);
        QLabel *label = nullptr;
        for (QLabel *l : labels)
            if (l->buddy() == spin)
                label = l;
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text(), QString::fromUtf8(f.label));
        // Right-aligned against its field, the whole text visible.
        EXPECT_TRUE(label->alignment() & Qt::AlignRight);
        EXPECT_LE(label->geometry().right(), spin->x());
        EXPECT_GE(spin->x() - label->geometry().right(), 1);
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        // A two-digit value fits the field.
        EXPECT_GE(spin->findChild<QLineEdit *>()->width(), spin->fontMetrics().horizontalAdvance(QStringLiteral("98")));
    }
    EXPECT_EQ(d.okButton()->objectName(), QStringLiteral("Button1"));
    EXPECT_EQ(d.okButton()->text(), QStringLiteral("确定"));
    EXPECT_EQ(d.okButton()->geometry(), QRect(280, 448, 66, 25));
    EXPECT_EQ(d.cancelButton()->objectName(), QStringLiteral("Button2"));
    EXPECT_EQ(d.cancelButton()->text(), QStringLiteral("取消"));
    EXPECT_EQ(d.cancelButton()->geometry(), QRect(368, 448, 66, 25));

    QLabel *heading = nullptr, *hint = nullptr;
    for (QLabel *l : labels) {
        if (l->text() == QStringLiteral("打印项列号设置"))
            heading = l;
        if (l->text() == QStringLiteral("（A=0,B=1,C=2......）"))
            hint = l;
    }
    ASSERT_TRUE(heading && hint);
    EXPECT_EQ(heading->pos(), QPoint(32, 16));
    EXPECT_EQ(heading->font().pixelSize(), 24);
    EXPECT_EQ(hint->pos(), QPoint(200, 24));
    EXPECT_EQ(d.font().pixelSize(), 12);
    // Everything inside the dialog.
    for (QWidget *w : d.findChildren<QWidget *>())
        if (w->parentWidget() == &d) {
            EXPECT_TRUE(d.rect().contains(w->geometry())) << w->objectName().toStdString();
        }
}

TEST_F(ParaFormTest, FocusStartsOnTheFirstField)
{
    TParaForm &d = openDialog();
    d.show();
    QApplication::processEvents();
    EXPECT_EQ(d.focusWidget(), d.spin(1));
    d.reject();
}

TEST_F(ParaFormTest, FieldsStayWithinTwoDigitColumns)
{
    struct Case
    {
        const char *typed;
        int value;
    };
    // A keystroke that would leave the range is dropped, as in the digit boxes.
    const Case cases[] = {{"98", 98}, {"99", 9}, {"150", 15}, {"0", 0}, {"-3", 3}, {"7", 7}, {"a1", 1}};
    TParaForm &d = openDialog();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        QLineEdit *edit = d.spin(32)->findChild<QLineEdit *>();
        edit->selectAll();
        typeText(edit, QString::fromUtf8(c.typed));
        d.spin(32)->interpretText();
        QTest::keyClick(edit, Qt::Key_Tab);
        EXPECT_EQ(d.spin(32)->value(), c.value);
    }
    // Set from code, too, the value stays within the range.
    d.spin(32)->setValue(120);
    EXPECT_EQ(d.spin(32)->value(), 98);
    d.spin(32)->setValue(-1);
    EXPECT_EQ(d.spin(32)->value(), 0);
}

TEST_F(ParaFormTest, OkStoresTheTwoDigitMap)
{
    struct Case
    {
        int field, value;
        const char *piece; // at field's place in the stored map
    };
    const Case cases[] = {{32, 8, "09"}, {32, 9, "10"}, {32, 98, "99"}, {1, 40, "41"}, {16, 0, "01"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.field << "=" << c.value);
        TParaForm &d = openDialog();
        // Move the field that already held the value out of the way.
        for (int k = 1; k <= 32; ++k)
            if (k != c.field && d.spin(k)->value() == c.value)
                d.spin(k)->setValue(c.field - 1);
        d.spin(c.field)->setValue(c.value);
        d.okButton()->click();
        EXPECT_EQ(d.result(), QDialog::Accepted);
        const std::string stored = iniValue("xjRow");
        ASSERT_EQ(stored.size(), 64u);
        EXPECT_EQ(stored.substr(std::size_t(2 * (c.field - 1)), 2), c.piece);
        EXPECT_EQ(gbk::toUtf8(xjcs.ColumnMap), stored);
    }
    // Unchanged default: the 64-byte map without the pieces the tool never reads.
    openDialog().okButton()->click();
    EXPECT_EQ(iniValue("xjRow"), kStoredDefault);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ParaFormTest, ClashesAreReportedInFieldOrderAndNothingIsStored)
{
    struct Case
    {
        std::vector<std::pair<int, int>> set; // field, value
        std::vector<std::string> messages;
        int focus;
    };
    const Case cases[] = {
        {{{8, 5}, {9, 5}, {30, 5}, {6, 7}}, {"第 8 项与第 9 项列号重复！", "第 9 项与第 30 项列号重复！"}, 9},
        {{{1, 31}}, {"第 1 项与第 32 项列号重复！"}, 1},
        {{{3, 0}, {32, 9}}, {"第 1 项与第 3 项列号重复！", "第 10 项与第 32 项列号重复！"}, 10},
        {{{2, 0}, {3, 0}, {4, 0}},
         {"第 1 项与第 2 项列号重复！", "第 2 项与第 3 项列号重复！", "第 3 项与第 4 项列号重复！"}, 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.messages.front());
        setIni("xjRow", kDefaultMap);
        TParaForm &d = openDialog();
        d.show();
        for (auto [field, value] : c.set)
            d.spin(field)->setValue(value);
        prompts.shown.clear();
        d.okButton()->click();
        EXPECT_EQ(shownTexts(), c.messages);
        EXPECT_TRUE(d.isVisible());
        EXPECT_NE(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.focusWidget(), d.spin(c.focus));
        EXPECT_EQ(iniValue("xjRow"), kDefaultMap);
        EXPECT_EQ(gbk::toUtf8(xjcs.ColumnMap), kDefaultMap);
        d.reject();
    }
}

TEST_F(ParaFormTest, CancelStoresNothing)
{
    setIni("xjRow", "0302");
    TParaForm &d = openDialog("0302" + kDefaultMap.substr(4));
    d.spin(5)->setValue(60);
    d.spin(1)->setValue(70);
    d.cancelButton()->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(iniValue("xjRow"), "0302");
    EXPECT_EQ(gbk::toUtf8(xjcs.ColumnMap), "0302" + kDefaultMap.substr(4));
}

TEST_F(ParaFormTest, UnwritableSettingsFileKeepsTheDialogOpen)
{
    // A folder in the settings file's place cannot be replaced by a file.
    std::filesystem::create_directory(dir / "xjgz.ini");
    TParaForm &d = openDialog();
    d.show();
    d.spin(32)->setValue(40);
    d.okButton()->click();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].kind, "error");
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(gbk::toUtf8(xjcs.ColumnMap), kDefaultMap);
    d.reject();
}

} // namespace
