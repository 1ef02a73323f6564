// The desktop shortcut written at every start of the program.
#include "common/pub_func.h"

#include "common/errors.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <objbase.h>
#include <shlobj.h>
#include <windows.h>
#else
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#endif

#include <string>

namespace quvela {
namespace {

constexpr std::string_view kLinkName = "Quvela.lnk";

// Offset just past the last folder separator of a GBK path, stepping over whole
// characters: 0x5C ("\") is also a valid second byte of a GBK character.
std::size_t fileNameStart(std::string_view path)
{
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < path.size();) {
        const std::size_t length = gbk::charLength(path, pos);
        if (length == 1 && (path[pos] == '\\' || path[pos] == '/'))
            start = pos + 1;
        pos += length;
    }
    return start;
}

// Offset of the dot that opens the extension of the file name, or npos.
std::size_t extensionStart(std::string_view path)
{
    const std::size_t nameStart = fileNameStart(path);
    const std::size_t dot = path.rfind('.');
    return dot == std::string_view::npos || dot < nameStart ? std::string_view::npos : dot;
}

void requireLnkExtension(std::string_view linkFile)
{
    const std::size_t dot = extensionStart(linkFile);
    if (dot == std::string_view::npos || gbk::toUpperAscii(linkFile.substr(dot)) != ".LNK")
        throw QuvelaError(gbk::fromUtf8("快捷方式的扩展名必须是'LNK'!"));
}

#ifdef Q_OS_WIN

std::wstring wide(const GbkString &text) { return gbk::toPath(text).wstring(); }

#else

// The desktop folder the user's session names (XDG_DESKTOP_DIR in user-dirs.dirs, else
// ~/Desktop); empty when it does not exist or is the home folder itself, which
// xdg-user-dirs uses to say the user has no desktop.
QString desktopFolder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return {};
    if (QDir(folder).canonicalPath() == QDir(QDir::homePath()).canonicalPath())
        return {};
    return folder;
}

// A value of type "string" in a desktop entry.
QString escapeEntryValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (c == u' ' && i == 0)
            out += QStringLiteral("\\s");
        else
            out += c;
    }
    return out;
}

// One argument of the Exec key, quoted so that blanks and reserved characters in a
// program path survive; "%" is doubled since a single one opens a field code.
QString quoteExecArgument(const QString &argument)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        if (c == u'%')
            out += u'%';
        out += c;
    }
    out += u'"';
    return out;
}

QByteArray desktopEntry(const QString &name, const QString &target, const QString &arguments,
                        const QString &description)
{
    QStringList exec{quoteExecArgument(target)};
    for (const QString &argument : QProcess::splitCommand(arguments))
        exec << quoteExecArgument(argument);
    const QString workingFolder = QFileInfo(target).absolutePath();

    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Version=1.0\n");
    text += QStringLiteral("Name=") + escapeEntryValue(name) + u'\n';
    if (!description.isEmpty())
        text += QStringLiteral("Comment=") + escapeEntryValue(description) + u'\n';
    text += QStringLiteral("Exec=") + escapeEntryValue(exec.join(u' ')) + u'\n';
    text += QStringLiteral("Path=") + escapeEntryValue(workingFolder) + u'\n';
    text += QStringLiteral("Terminal=false\n");
    return text.toUtf8();
}

#endif

} // namespace

#ifdef Q_OS_WIN

void CreateShellLink(const GbkString &target, const GbkString &arguments,
                     const GbkString &linkFile, const GbkString &description)
{
    requireLnkExtension(linkFile);

    const HRESULT initialised = OleInitialize(nullptr);
    struct OleScope
    {
        bool active;
        ~OleScope()
        {
            if (active)
                OleUninitialize();
        }
    } scope{SUCCEEDED(initialised)};

    IShellLinkW *link = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IShellLinkW, reinterpret_cast<void **>(&link));
    if (FAILED(hr) || !link)
        throw QuvelaError(gbk::fromUtf8("无法创建快捷方式对象。"));
    IPersistFile *file = nullptr;
    hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file));
    if (FAILED(hr) || !file) {
        link->Release();
        throw QuvelaError(gbk::fromUtf8("无法创建快捷方式对象。"));
    }

    const std::wstring targetPath = wide(target);
    std::wstring folder = gbk::toPath(target).parent_path().wstring();
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    // As with the shell's own shortcuts, a link that cannot be saved is simply absent.
    link->SetPath(targetPath.c_str());
    link->SetArguments(wide(arguments).c_str());
    link->SetWorkingDirectory(folder.c_str());
    link->SetDescription(wide(description).c_str());
    file->Save(wide(linkFile).c_str(), FALSE);

    file->Release();
    link->Release();
}

GbkString LauncherLinkFile()
{
    wchar_t folder[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, 0, folder)))
        return gbk::fromPath(std::filesystem::path(folder) / std::string(kLinkName));
    return gbk::fromUtf8("C:\\Documents and Settings\\All Users\\桌面\\") + GbkString(kLinkName);
}

#else

void CreateShellLink(const GbkString &target, const GbkString &arguments,
                     const GbkString &linkFile, const GbkString &description)
{
    requireLnkExtension(linkFile);

    const QString folder = desktopFolder();
    if (folder.isEmpty())
        return;
    const std::string_view link(linkFile);
    const std::string_view stem =
        link.substr(fileNameStart(link), extensionStart(link) - fileNameStart(link));
    const QString name = gbk::toQString(stem);
    const QString entryFile = QDir(folder).filePath(name + QStringLiteral(".desktop"));

    QSaveFile file(entryFile);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(desktopEntry(name, gbk::toQString(target), gbk::toQString(arguments),
                            gbk::toQString(description)));
    if (!file.commit())
        return;
    // Desktops only start launchers that are marked executable.
    QFile::setPermissions(entryFile, QFile::permissions(entryFile) | QFile::ExeOwner
                                         | QFile::ExeGroup | QFile::ExeOther);
}

GbkString LauncherLinkFile()
{
    QString folder = desktopFolder();
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/Desktop");
    return gbk::fromQString(QDir(folder).filePath(gbk::toQString(kLinkName)));
}

#endif

} // namespace quvela
