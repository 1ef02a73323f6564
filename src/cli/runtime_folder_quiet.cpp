#include "cli/runtime_folder_quiet.h"

#include <QString>

namespace quvela::cli {
namespace {

QtMessageHandler g_passOn = nullptr;

void dropRuntimeFolderWarning(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (g_passOn)
        g_passOn(type, context, message);
}

} // namespace

RuntimeFolderQuiet::RuntimeFolderQuiet()
    : m_previous(qInstallMessageHandler(dropRuntimeFolderWarning))
{
    g_passOn = m_previous;
}

RuntimeFolderQuiet::~RuntimeFolderQuiet()
{
    qInstallMessageHandler(m_previous);
    g_passOn = nullptr;
}

} // namespace quvela::cli
