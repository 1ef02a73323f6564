// Prompts of the headless command: every question is answered Yes, messages go to
// standard error as UTF-8, the file choice is the one given on the command line.
#pragma once

#include "common/prompts.h"

namespace quvela::cli {

class BatchPrompts : public Prompts
{
public:
    explicit BatchPrompts(GbkString workbook = {}) : m_workbook(std::move(workbook)) {}
    void setWorkbook(GbkString workbook) { m_workbook = std::move(workbook); }

    Answer askYesNo(const GbkString &text, const GbkString &caption, MessageIcon icon) override;
    void message(const GbkString &text, const GbkString &caption, MessageIcon icon) override;
    void showError(const GbkString &text) override;
    GbkString chooseOpenFile(const GbkString &title, const GbkString &initialFolder) override;
    std::unique_ptr<WaitWindow> showWait(const GbkString &message) override;

    // Whether a message or an error was shown (the action then ends with status 1
    // unless it reports success itself).
    bool errorShown() const { return m_errorShown; }

private:
    GbkString m_workbook;
    bool m_errorShown = false;
};

} // namespace quvela::cli
