#include "app/main_form.h"

#include "app/tool_windows.h"
#include "common/errors.h"
#include "common/prompts.h"
#include "common/pub_func.h"
#include "common/settings_records.h"
#include "jb/ui/jb_main_form.h"
#include "jg/ui/jg_main_form.h"
#include "widgets/gradient_button.h"
#include "widgets/pixel_font.h"
#include "widgets/program_folder.h"
#include "xj/ui/xj_main_form.h"
#include "zw/ui/zw_main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QPainterPath>
#include <QScreen>

#include <exception>

namespace quvela::app {
namespace {

QLabel *titleLabel(const char *text, const char *name, const QRect &geometry, QWidget *parent)
{
    auto *label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(widgets::pixelFont("宋体", 31));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(p);
    return label;
}

widgets::GradientButton *toolButton(const char *text, const char *name, int top, int pixels,
                                    const QColor &face, QWidget *parent)
{
    auto *button = new widgets::GradientButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(64, top, 369, 30);
    button->setFont(widgets::pixelFont("楷体_GB2312", pixels));
    button->setTextColor(QColor(255, 0, 255));
    button->setFaceColor(face);
    return button;
}

} // namespace

TMainForm::TMainForm(Prompts &prompts, ShortcutWriter writeShortcutTo)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_prompts(prompts)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Quvela"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(widgets::pixelFont("宋体", 13));

    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, width(), height()), 10, 10);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));

    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(190, 235, 245));
    setPalette(p);
    setAutoFillBackground(true);

    m_Lb_bt = titleLabel("Quvela", "Lb_bt", QRect(52, 36, 404, 31), this);
    m_Label1 = titleLabel("辅助工具", "Label1", QRect(188, 84, 124, 31), this);

    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    m_btXJGZ = toolButton("事业单位薪级工资调整", "btXJGZ", 144, 23, QColor(192, 192, 192), this);
    m_btGWGZ = toolButton("事业单位岗位工资变动", "btGWGZ", 176, 23, buttonFace, this);
    m_btJBGZ = toolButton("机关工作人员级别工资滚动与正常升档", "btJBGZ", 208, 20, buttonFace, this);
    m_btZWGZ = toolButton("机关工作人员职务工资变动", "btZWGZ", 240, 23, buttonFace, this);

    m_XPButton1 = new widgets::GradientButton(QStringLiteral("退出"), this);
    m_XPButton1->setObjectName(QStringLiteral("XPButton1"));
    m_XPButton1->setGeometry(392, 328, 75, 30);
    m_XPButton1->setFont(widgets::pixelFont("楷体_GB2312", 17));
    // The Windows desktop colour of the default scheme.
    m_XPButton1->setTextColor(QColor(58, 110, 165));
    m_XPButton1->setBorderColor(QColor(128, 128, 0));
    m_XPButton1->setFaceColor(buttonFace);

    setTabOrder(m_btXJGZ, m_btGWGZ);
    setTabOrder(m_btGWGZ, m_btJBGZ);
    setTabOrder(m_btJBGZ, m_btZWGZ);
    setTabOrder(m_btZWGZ, m_XPButton1);

    connect(m_btXJGZ, &QPushButton::clicked, this, &TMainForm::btXJGZClick);
    connect(m_btGWGZ, &QPushButton::clicked, this, &TMainForm::btGWGZClick);
    connect(m_btJBGZ, &QPushButton::clicked, this, &TMainForm::btJBGZClick);
    connect(m_btZWGZ, &QPushButton::clicked, this, &TMainForm::btZWGZClick);
    connect(m_XPButton1, &QPushButton::clicked, this, &QWidget::close);

    writeShortcut(writeShortcutTo);

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TMainForm::writeShortcut(const ShortcutWriter &writer)
{
    const GbkString program = gbk::fromQString(QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
    try {
        const GbkString linkFile = LauncherLinkFile();
        if (writer)
            writer(program, {}, linkFile, "Quvela");
        else
            CreateShellLink(program, {}, linkFile, "Quvela");
    } catch (const QuvelaError &error) {
        m_prompts.showError(error.message());
    } catch (const std::exception &error) {
        m_prompts.showError(gbk::fromUtf8(error.what()));
    }
}

void TMainForm::showEvent(QShowEvent *event)
{
    xjcs.ProgramDir = gbk::fromQString(widgets::programFolder());
    QWidget::showEvent(event);
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // Closing the launcher ends the program, and every tool window with it.
    closeToolWindows();
    event->accept();
    QCoreApplication::quit();
}

void TMainForm::btXJGZClick()
{
    auto *window = new xj::TXjMainForm(m_prompts);
    xj::XjMainForm = window;
    adoptToolWindow(window);
    window->showMaximized();
}

void TMainForm::btGWGZClick()
{
    auto *window = new zw::TZwMainForm(m_prompts);
    zw::ZwMainForm = window;
    ZwMainForm = window;
    adoptToolWindow(window);
    window->showMaximized();
}

void TMainForm::btJBGZClick()
{
    auto *window = new jb::TJbMainForm(m_prompts);
    JbMainForm = window;
    adoptToolWindow(window);
    window->showMaximized();
}

void TMainForm::btZWGZClick()
{
    auto *window = new jg::TJgMainForm(m_prompts);
    JgMainForm = window;
    adoptToolWindow(window);
    window->showMaximized();
}

} // namespace quvela::app
