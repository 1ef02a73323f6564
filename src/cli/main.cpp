// quvela-batch [--dir DIR] TOOL ACTION [options]: the tools' operations without a screen.
#include "cli/batch_command.h"
#include "cli/batch_prompts.h"
#include "cli/runtime_folder_quiet.h"
#include "common/errors.h"
#include "common/executable_path.h"
#include "report/font_setup.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>
#include <iostream>

using namespace quvela;
using namespace quvela::cli;

namespace {

void printUsage(std::ostream &out)
{
    out << "usage: quvela-batch [--dir DIR] TOOL ACTION [options]\n";
    for (const BatchCommand &c : commands())
        out << "  quvela-batch [--dir DIR] " << c.tool << ' ' << c.action
            << (c.usage[0] ? " " : "") << c.usage << '\n';
}

} // namespace

int main(int argc, char **argv)
{
    const auto exeDir = executableDir(argv[0]);
    report::prepareFontConfig(QString::fromStdString(exeDir.string()));
    // The renderer needs a GUI application for fonts; no window is ever shown.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    const RuntimeFolderQuiet quiet;
    QGuiApplication app(qtArgc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quvela"));
    report::installFontSubstitutions();

    std::vector<std::string> args(argv + 1, argv + argc);
    std::filesystem::path dir = exeDir;
    if (args.size() >= 2 && args[0] == "--dir") {
        dir = std::filesystem::absolute(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        printUsage(std::cout);
        return ExitOk;
    }
    if (args.size() < 2) {
        printUsage(std::cerr);
        return ExitUsage;
    }
    for (const BatchCommand &c : commands()) {
        if (args[0] != c.tool || args[1] != c.action)
            continue;
        BatchPrompts prompts;
        try {
            BatchContext context{dir, BatchOptions({args.begin() + 2, args.end()}), prompts};
            return c.run(context);
        } catch (const UsageError &e) {
            std::cerr << "quvela-batch: " << e.what() << '\n';
            printUsage(std::cerr);
            return ExitUsage;
        } catch (const QuvelaError &e) {
            std::cerr << gbk::toUtf8(e.message()) << '\n';
            return ExitStopped;
        } catch (const std::exception &e) {
            std::cerr << e.what() << '\n';
            return ExitStopped;
        }
    }
    std::cerr << "quvela-batch: unknown action: " << args[0] << ' ' << args[1] << '\n';
    printUsage(std::cerr);
    return ExitUsage;
}
