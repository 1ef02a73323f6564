// Prompts shown with Qt's message boxes, file dialog and the wait window. One object
// serves the whole run, so that the file dialog remembers the name chosen before.
#pragma once

#include "common/prompts.h"

#include <QString>

class QWidget;

namespace quvela::widgets {

class QtPrompts final : public Prompts
{
public:
    QtPrompts() = default;

    Answer askYesNo(const GbkString &text, const GbkString &caption, MessageIcon icon) override;
    void message(const GbkString &text, const GbkString &caption, MessageIcon icon) override;
    void showError(const GbkString &text) override;
    GbkString chooseOpenFile(const GbkString &title, const GbkString &initialFolder) override;
    std::unique_ptr<WaitWindow> showWait(const GbkString &message) override;

private:
    static QWidget *parentWindow();
    QString m_lastFile;
};

} // namespace quvela::widgets
