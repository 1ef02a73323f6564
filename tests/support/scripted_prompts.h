// Prompts for tests: answers come from a script, everything shown is recorded.
#pragma once

#include "common/prompts.h"

#include <deque>
#include <string>
#include <vector>

namespace quvela::test {

class ScriptedPrompts : public Prompts
{
public:
    struct Shown
    {
        std::string kind;   // "ask", "message", "error", "file", "wait"
        GbkString text;     // GBK, as the operation passed it; a file choice's initial folder
        GbkString caption;  // a file choice's dialog title
        MessageIcon icon = MessageIcon::None;
    };

    std::deque<Answer> answers;        // for askYesNo; Yes when the script runs out
    std::deque<GbkString> fileChoices; // for chooseOpenFile; a cancel keeps the last name
    std::vector<Shown> shown;
    int waitWindowsOpen = 0;

    Answer askYesNo(const GbkString &text, const GbkString &caption, MessageIcon icon) override;
    void message(const GbkString &text, const GbkString &caption, MessageIcon icon) override;
    void showError(const GbkString &text) override;
    GbkString chooseOpenFile(const GbkString &title, const GbkString &initialFolder) override;
    std::unique_ptr<WaitWindow> showWait(const GbkString &message) override;

    // The texts shown, as UTF-8, in order (questions, messages and errors only).
    std::vector<std::string> textsUtf8() const;

private:
    GbkString m_lastFile;
};

} // namespace quvela::test
