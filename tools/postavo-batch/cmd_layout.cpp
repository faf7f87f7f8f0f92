// postavo-batch layout check|dump|resave: reads layout and report files with every object class
// known, lists their objects, and writes them back in the program's own form.
#include "commands.h"

#include "layoutdocument.h"

namespace postavo::batch {

int runLayout(CommandContext& ctx)
{
    using namespace postavo::design;
    const QStringList& a = ctx.args;
    const QString sub = a.value(0);
    if (sub == QLatin1String("render"))
        return runLayoutRender(ctx);
    const bool ok2 = a.size() == 2, ok3 = a.size() == 3;
    if (!((sub == QLatin1String("check") && ok2) || (sub == QLatin1String("dump") && ok2)
          || (sub == QLatin1String("resave") && ok3))) {
        ctx.err << "usage: postavo-batch layout check FILE | dump FILE | resave IN OUT\n";
        return kExitUsage;
    }
    LayoutDocument doc;
    QString error;
    if (!readLayoutDocument(a.at(1), &doc, &error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    if (sub == QLatin1String("check")) {
        ctx.out << "OK " << doc.objectCount() << "\n";
        return kExitOk;
    }
    if (sub == QLatin1String("dump")) {
        for (const QString& line : dumpLayoutDocument(doc))
            ctx.out << line << "\n";
        return kExitOk;
    }
    if (!writeLayoutDocument(doc, a.at(2), &error)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace postavo::batch
