#include "widgets/qt_prompts.h"

#include "widgets/wait_form.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace quvela::widgets {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString captionOrTitle(const GbkString &caption)
{
    return caption.empty() ? QApplication::applicationName() : gbk::toQString(caption);
}

class QtWaitWindow final : public WaitWindow
{
public:
    explicit QtWaitWindow(const QString &message) : m_form(ShowWaitForm(message)) {}
    ~QtWaitWindow() override { delete m_form.data(); }

private:
    QPointer<TWaitForm> m_form; // the system may have closed and deleted it already
};

} // namespace

QWidget *QtPrompts::parentWindow()
{
    return QApplication::activeWindow();
}

Answer QtPrompts::askYesNo(const GbkString &text, const GbkString &caption, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), captionOrTitle(caption), gbk::toQString(text),
                    QMessageBox::Yes | QMessageBox::No, parentWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtPrompts::message(const GbkString &text, const GbkString &caption, MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), captionOrTitle(caption), gbk::toQString(text), QMessageBox::Ok,
                    parentWindow());
    box.exec();
}

void QtPrompts::showError(const GbkString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Quvela"), gbk::toQString(text), QMessageBox::Ok,
                    parentWindow());
    box.exec();
}

GbkString QtPrompts::chooseOpenFile(const GbkString &title, const GbkString &initialFolder)
{
    QFileDialog dialog(parentWindow(), gbk::toQString(title), gbk::toQString(initialFolder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Workbooks first; the second filter lets a clerk reach a roster saved under an odd name.
    dialog.setNameFilters({QStringLiteral("Excel 工作簿 (*.xlsx *.xls)"), QStringLiteral("所有文件 (*)")});
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_lastFile = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    return gbk::fromQString(m_lastFile);
}

std::unique_ptr<WaitWindow> QtPrompts::showWait(const GbkString &message)
{
    return std::make_unique<QtWaitWindow>(gbk::toQString(message));
}

} // namespace quvela::widgets
