// The JG tool window: the roster workbook above, the settings and the print buttons of the
// duty-change forms below.
#pragma once

#include "roster_tools/ui/roster_tool_window.h"

#include <QPointer>

namespace quvela::jg {

class TJgMainForm final : public roster::RosterToolWindow
{
    Q_OBJECT

public:
    // Loads jgcs from gwyzwgz.ini in the program folder and shows it in the boxes.
    // prompts must outlive the window.
    explicit TJgMainForm(Prompts &prompts, QWidget *parent = nullptr);

protected:
    GbkString &workbookFile() override;
    std::string workbookKey() const override;
    std::unique_ptr<roster::RosterForms> makeForms() override;
    void SaveSettings() override;

private:
    void FormCreate();
    void placeControls();
};

} // namespace quvela::jg
