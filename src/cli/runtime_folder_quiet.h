// Starting Qt's GUI application looks for a sandbox marker in the user's runtime folder
// and, when XDG_RUNTIME_DIR is unset (cron, ssh without a login session, a container),
// warns about it on standard error. The headless command needs no runtime folder, and
// its standard error is for its own messages: while this object lives, that one
// warning is dropped and every other message passes as before.
#pragma once

#include <QtGlobal>

namespace quvela::cli {

class RuntimeFolderQuiet
{
public:
    RuntimeFolderQuiet();
    ~RuntimeFolderQuiet();
    RuntimeFolderQuiet(const RuntimeFolderQuiet &) = delete;
    RuntimeFolderQuiet &operator=(const RuntimeFolderQuiet &) = delete;

private:
    QtMessageHandler m_previous;
};

} // namespace quvela::cli
