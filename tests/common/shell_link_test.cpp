#include "common/errors.h"
#include "common/pub_func.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quvela;

#ifndef Q_OS_WIN

namespace {

// A home folder of our own whose user-dirs.dirs names a Chinese desktop folder, as a
// Chinese-language desktop installation does.
class ShellLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        m_savedHome = qgetenv("HOME");
        m_savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qunsetenv("XDG_CONFIG_HOME");
        ASSERT_TRUE(QDir(m_home.path()).mkpath(QStringLiteral(".config")));
        QFile dirs(m_home.filePath(QStringLiteral(".config/user-dirs.dirs")));
        ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
        dirs.write("# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/\xE6\xA1\x8C\xE9\x9D\xA2\"\n");
        dirs.close();
        m_desktop = m_home.filePath(QStringLiteral("桌面"));
    }

    void TearDown() override
    {
        qputenv("HOME", m_savedHome);
        if (m_savedConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", m_savedConfig);
    }

    QStringList desktopEntries() const
    {
        return QDir(m_desktop).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_home;
    QString m_desktop;
    QByteArray m_savedHome;
    QByteArray m_savedConfig;
};

const GbkString kTarget = gbk::fromUtf8("/opt/工资 工具/quvela");

} // namespace

TEST_F(ShellLinkTest, WritesALauncherIntoTheDesktopFolder)
{
    ASSERT_TRUE(QDir().mkpath(m_desktop));
    CreateShellLink(kTarget, {}, gbk::fromUtf8("C:\\Documents and Settings\\All Users\\桌面\\Quvela.lnk"),
                    "Quvela");

    ASSERT_EQ(desktopEntries(), QStringList{QStringLiteral("Quvela.desktop")});
    QFile entry(QDir(m_desktop).filePath(QStringLiteral("Quvela.desktop")));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n"))) << text.toStdString();
    for (const char *line : {"Type=Application\n", "Name=Quvela\n", "Comment=Quvela\n",
                             "Exec=\"/opt/工资 工具/quvela\"\n", "Path=/opt/工资 工具\n"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line << "\n" << text.toStdString();
    EXPECT_TRUE(entry.permissions() & QFile::ExeOwner);
}

TEST_F(ShellLinkTest, ReplacesTheLauncherAtEveryStartWithoutLeavingTemporaries)
{
    ASSERT_TRUE(QDir().mkpath(m_desktop));
    const QString file = QDir(m_desktop).filePath(QStringLiteral("Quvela.desktop"));
    {
        QFile old(file);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("stale launcher of an earlier start, longer than the new one will be ................"
                  "..............................................................................\n");
    }
    CreateShellLink(kTarget, gbk::fromUtf8("--dir \"/srv/工资\" 100%"), "Quvela.LNK", "Quvela");
    CreateShellLink(kTarget, gbk::fromUtf8("--dir \"/srv/工资\" 100%"), "Quvela.LNK", "Quvela");

    EXPECT_EQ(desktopEntries(), QStringList{QStringLiteral("Quvela.desktop")});
    QFile entry(file);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_FALSE(text.contains(QStringLiteral("stale")));
    // Each argument quoted on its own; a "%" doubled so that it is no field code.
    EXPECT_TRUE(text.contains(QStringLiteral("Exec=\"/opt/工资 工具/quvela\" \"--dir\" \"/srv/工资\" \"100%%\"\n")))
        << text.toStdString();
}

TEST_F(ShellLinkTest, TargetsWithReservedCharactersAreEscaped)
{
    ASSERT_TRUE(QDir().mkpath(m_desktop));
    CreateShellLink(gbk::fromUtf8("/opt/a\"b$c\\d/quvela"), {}, "Quvela.lnk", gbk::fromUtf8("工资\n工具"));
    QFile entry(QDir(m_desktop).filePath(QStringLiteral("Quvela.desktop")));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    // Quoting rules of Exec first (\" \$ \\), then the string escapes of the file (\\).
    EXPECT_TRUE(text.contains(QStringLiteral("Exec=\"/opt/a\\\\\"b\\\\$c\\\\\\\\d/quvela\"\n")))
        << text.toStdString();
    // A line break in the description cannot start a line of its own.
    EXPECT_TRUE(text.contains(QStringLiteral("Comment=工资\\n工具\n"))) << text.toStdString();
}

TEST_F(ShellLinkTest, SkippedSilentlyWithoutADesktopFolder)
{
    EXPECT_NO_THROW(CreateShellLink(kTarget, {}, "Quvela.lnk", "Quvela"));
    EXPECT_FALSE(QFileInfo::exists(m_desktop));
    EXPECT_EQ(QDir(m_home.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{});
}

TEST_F(ShellLinkTest, LinkFileMustEndInLnk)
{
    ASSERT_TRUE(QDir().mkpath(m_desktop));
    for (const char *accepted : {"Quvela.lnk", "Quvela.LNK", "Quvela.Lnk", "/some/where/Quvela.lNk"}) {
        EXPECT_NO_THROW(CreateShellLink(kTarget, {}, accepted, "Quvela")) << accepted;
        EXPECT_EQ(desktopEntries(), QStringList{QStringLiteral("Quvela.desktop")}) << accepted;
        QFile::remove(QDir(m_desktop).filePath(QStringLiteral("Quvela.desktop")));
    }
    for (const char *rejected : {"Quvela.txt", "Quvela", "Quvela.lnk.bak", "Quvela.lnk/", "dir.lnk/Quvela",
                                 "Quvela.lnkx", "Quvelalnk", ""}) {
        try {
            CreateShellLink(kTarget, {}, rejected, "Quvela");
            ADD_FAILURE() << "accepted " << rejected;
        } catch (const QuvelaError &error) {
            EXPECT_EQ(error.message(), gbk::fromUtf8("快捷方式的扩展名必须是'LNK'!")) << rejected;
        }
        EXPECT_EQ(desktopEntries(), QStringList{}) << rejected;
    }
}

TEST_F(ShellLinkTest, LauncherLinkFileLiesInTheDesktopFolder)
{
    ASSERT_TRUE(QDir().mkpath(m_desktop));
    EXPECT_EQ(gbk::toQString(LauncherLinkFile()), QDir(m_desktop).filePath(QStringLiteral("Quvela.lnk")));
}

#endif
