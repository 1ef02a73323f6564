#include "cli/batch_prompts.h"

#include <iostream>

namespace quvela::cli {

Answer BatchPrompts::askYesNo(const GbkString &, const GbkString &, MessageIcon)
{
    return Answer::Yes;
}

void BatchPrompts::message(const GbkString &text, const GbkString &, MessageIcon icon)
{
    if (icon == MessageIcon::Error)
        m_errorShown = true;
    std::cerr << gbk::toUtf8(text) << '\n';
}

void BatchPrompts::showError(const GbkString &text)
{
    m_errorShown = true;
    std::cerr << gbk::toUtf8(text) << '\n';
}

GbkString BatchPrompts::chooseOpenFile(const GbkString &, const GbkString &)
{
    return m_workbook;
}

std::unique_ptr<WaitWindow> BatchPrompts::showWait(const GbkString &)
{
    return std::make_unique<WaitWindow>();
}

} // namespace quvela::cli
