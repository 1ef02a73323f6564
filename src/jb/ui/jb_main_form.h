// The JB tool window: the roster of the selected mode in the workbook view, the mode
// buttons and the boxes of that mode, the forms of its flagged rows.
#pragma once

#include "roster_tools/ui/roster_tool_window.h"

class QButtonGroup;
class QGroupBox;
class QPushButton;

namespace quvela::jb {

class TJbMainForm final : public roster::RosterToolWindow
{
    Q_OBJECT

public:
    // Loads jbcs from gwyjbgz.ini in the program folder. prompts serves every question
    // and message of the window; it must outlive it.
    explicit TJbMainForm(Prompts &prompts, QWidget *parent = nullptr);

    QGroupBox *modeButtons() const { return m_rgJbgz; }
    // The index of the selected mode button, -1 when none is.
    int selectedMode() const;
    // A click on mode button index, as the user makes it.
    void selectMode(int index);

protected:
    GbkString &workbookFile() override;
    std::string workbookKey() const override;
    std::unique_ptr<roster::RosterForms> makeForms() override;
    void SaveSettings() override;

private:
    void buildModeButtons();
    void showModeSettings();
    void rgJbgzClick();

    QGroupBox *m_rgJbgz = nullptr;
    QButtonGroup *m_modes = nullptr;
    QPushButton *btnPara = nullptr;
};

} // namespace quvela::jb
