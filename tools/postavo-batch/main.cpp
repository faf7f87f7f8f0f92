// postavo-batch COMMAND [ARGS]: the program's outputs from the command line.
#include "commands.h"

#include <QGuiApplication>
#include <cstdio>

namespace {

void usage(QTextStream& err)
{
    err << "usage: postavo-batch COMMAND [ARGS]\n\ncommands:\n";
    for (const auto& c : postavo::batch::commands())
        err << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts and PDF output need a GUI application, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        usage(args.isEmpty() ? err : out);
        return args.isEmpty() ? postavo::batch::kExitUsage : postavo::batch::kExitOk;
    }
    const QString name = args.takeFirst();
    for (const auto& c : postavo::batch::commands())
        if (name == QLatin1String(c.name)) {
            postavo::batch::CommandContext ctx{args, out, err};
            return c.run(ctx);
        }
    err << "Unknown command \"" << name << "\".\n";
    usage(err);
    return postavo::batch::kExitUsage;
}
