#include "support/scripted_prompts.h"

namespace quvela::test {
namespace {

class CountedWait : public WaitWindow
{
public:
    explicit CountedWait(int &open) : m_open(open) { ++m_open; }
    ~CountedWait() override { --m_open; }

private:
    int &m_open;
};

} // namespace

Answer ScriptedPrompts::askYesNo(const GbkString &text, const GbkString &caption, MessageIcon icon)
{
    shown.push_back({"ask", text, caption, icon});
    if (answers.empty())
        return Answer::Yes;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedPrompts::message(const GbkString &text, const GbkString &caption, MessageIcon icon)
{
    shown.push_back({"message", text, caption, icon});
}

void ScriptedPrompts::showError(const GbkString &text)
{
    shown.push_back({"error", text, {}, MessageIcon::Error});
}

GbkString ScriptedPrompts::chooseOpenFile(const GbkString &title, const GbkString &initialFolder)
{
    shown.push_back({"file", initialFolder, title, MessageIcon::None});
    if (!fileChoices.empty()) {
        // An empty scripted choice stands for a cancel: the dialog keeps the last name.
        if (!fileChoices.front().empty())
            m_lastFile = fileChoices.front();
        fileChoices.pop_front();
    }
    return m_lastFile;
}

std::unique_ptr<WaitWindow> ScriptedPrompts::showWait(const GbkString &message)
{
    shown.push_back({"wait", message, {}, MessageIcon::None});
    return std::make_unique<CountedWait>(waitWindowsOpen);
}

std::vector<std::string> ScriptedPrompts::textsUtf8() const
{
    std::vector<std::string> out;
    for (const Shown &s : shown)
        if (s.kind == "ask" || s.kind == "message" || s.kind == "error")
            out.push_back(gbk::toUtf8(s.text));
    return out;
}

} // namespace quvela::test
