// Standard error of quvela-batch carries Quvela's own messages and nothing else, also
// where the desktop session's runtime folder is not set (cron, ssh, containers).
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct BatchRun
{
    std::vector<std::string> args; // after --dir; "@" stands for the program folder
    int exitCode;
    const char *err; // exactly
};

struct Case
{
    const char *name;
    std::vector<BatchRun> runs; // in one program folder, in order
};

TEST(BatchStandardError, HoldsOnlyQuvelasOwnText)
{
    const std::string roster = QUVELA_SOURCE_DIR "/examples/xj-roster.xlsx";
    const Case cases[] = {
        {"workbook shown", {{{"workbook", "show", "--workbook", roster, "--rows", "7-7"}, 0, ""}}},
        {"stopped with a message",
         {{{"xj", "import", "--workbook", "/nonexistent/a.xlsx", "--rows", "7-8"}, 1, "请选择EXCEL数据表格！\n"},
          {{"xj", "adjust"}, 1, "无调资数据 ！\n"}}},
        // Printing starts the fonts and the PDF writer as well.
        {"forms printed",
         {{{"xj", "import", "--workbook", roster, "--rows", "7-8"}, 0, ""},
          {{"xj", "print", "--pdf", "@/forms.pdf"}, 0, ""}}},
    };
    for (const bool runtimeFolderSet : {false, true}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (runtimeFolderSet ? " (runtime folder set)" : ""));
            QTemporaryDir dir;
            QTemporaryDir runtime;
            ASSERT_TRUE(dir.isValid() && runtime.isValid());
            QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
            if (runtimeFolderSet)
                env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
            for (const BatchRun &run : c.runs) {
                SCOPED_TRACE(run.args[1]);
                QStringList args{QStringLiteral("--dir"), dir.path()};
                for (const std::string &a : run.args)
                    args << QString::fromStdString(a).replace(QLatin1Char('@'), dir.path());
                QProcess process;
                process.setProcessEnvironment(env);
                process.start(QStringLiteral(QUVELA_BINARY_DIR "/bin/quvela-batch"), args);
                ASSERT_TRUE(process.waitForFinished(60000));
                ASSERT_EQ(process.exitStatus(), QProcess::NormalExit);
                EXPECT_EQ(process.exitCode(), run.exitCode);
                EXPECT_EQ(process.readAllStandardError().toStdString(), run.err);
            }
        }
    }
}

} // namespace
