// The ZW tool window: the roster workbook above the boxes of the post-change forms.
#pragma once

#include "roster_tools/ui/roster_tool_window.h"

#include <QPointer>

namespace quvela::zw {

class TZwMainForm final : public roster::RosterToolWindow
{
    Q_OBJECT

public:
    // prompts serves every question and message of the window; it must outlive it.
    explicit TZwMainForm(Prompts &prompts, QWidget *parent = nullptr);

protected:
    GbkString &workbookFile() override;
    std::string workbookKey() const override;
    std::unique_ptr<roster::RosterForms> makeForms() override;
    void SaveSettings() override;

private:
    void LoadSettings();
    void btnParaClick();

    QPushButton *btnPara = nullptr;
};

// The ZW window created last.
extern QPointer<TZwMainForm> ZwMainForm;

} // namespace quvela::zw
