// Every question, message, file choice and wait window of an operation goes through
// this interface, so that the operations run the same under windows, tests and the
// headless command.
#pragma once

#include "common/gbk.h"

#include <functional>
#include <memory>

namespace quvela {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Yes, No };

// The wait window of a long operation; destroying the object removes it.
class WaitWindow
{
public:
    virtual ~WaitWindow() = default;
};

class Prompts
{
public:
    virtual ~Prompts() = default;

    // A question with the buttons Yes and No.
    virtual Answer askYesNo(const GbkString &text, const GbkString &caption, MessageIcon icon) = 0;

    // A message with an OK button. An empty caption means the application title.
    virtual void message(const GbkString &text, const GbkString &caption = {},
                         MessageIcon icon = MessageIcon::None) = 0;

    // The application's standard error box.
    virtual void showError(const GbkString &text) = 0;

    // The file-open dialog of a roster workbook, titled title (empty: the dialog's own
    // title), listing workbooks first. Returns the name the dialog holds when it closes,
    // confirmed or not: after a cancel, the name chosen before in this run, or empty.
    virtual GbkString chooseOpenFile(const GbkString &title, const GbkString &initialFolder) = 0;

    // Shows the wait window (the default text when message is empty) until the result
    // is destroyed.
    virtual std::unique_ptr<WaitWindow> showWait(const GbkString &message) = 0;
};

// Runs work and returns its result. An error it raises is shown in the standard error
// box and gives false: the one place where an operation's error becomes that box.
bool runShowingErrors(Prompts &prompts, const std::function<bool()> &work);
// The same for an event handler, which has no result.
void runHandlerShowingErrors(Prompts &prompts, const std::function<void()> &handler);

} // namespace quvela
