// postavo-batch label-sheet --folder PROGRAMFOLDER --layout DESCRIPTION --pdf OUT: the outline of
// every label of a layout's sheet with its position number, on the sheet's paper.
#include "commands.h"

#include "labellayoutcatalogue.h"
#include "programfolder.h"
#include "sheetoutline.h"

#include <QDir>
#include <QFileInfo>

namespace postavo::batch {

int runLabelSheet(CommandContext& ctx)
{
    Args args(ctx.args);
    bool missing = false;
    const QString folder = args.take(QStringLiteral("--folder"), &missing);
    const QString layout = args.take(QStringLiteral("--layout"), &missing);
    const QString pdf = args.take(QStringLiteral("--pdf"), &missing);
    if (missing || !args.rest().isEmpty() || folder.isEmpty() || layout.isEmpty() || pdf.isEmpty()) {
        ctx.err << "usage: postavo-batch label-sheet --folder PROGRAMFOLDER --layout DESCRIPTION --pdf OUT\n";
        return kExitUsage;
    }
    if (!QFileInfo(folder).isDir()) {
        ctx.err << "There is no folder " << folder << ".\n";
        return kExitFailed;
    }
    const QString sysdata = resolveFileName(QDir(folder).absolutePath() + QStringLiteral("/sysdata/"));
    // Reading must not create a catalogue where there is none.
    if (!QFileInfo::exists(resolveFileName(sysdata + QStringLiteral("LABEL.DBF")))) {
        ctx.err << "There are no label layouts in " << folder << " (no sysdata/LABEL.DBF).\n";
        return kExitFailed;
    }
    labels::LabelLayoutCatalogue catalogue(sysdata);
    QString message;
    if (!catalogue.open(&message)) {
        ctx.err << message << "\n";
        return kExitFailed;
    }
    const std::optional<labels::LabelLayoutRow> row = catalogue.findByDescription(layout);
    if (!row) {
        ctx.err << "There is no label layout \"" << layout << "\". Layouts:";
        for (const labels::LabelLayoutRow& r : catalogue.rows())
            ctx.err << " \"" << r.description << "\"";
        ctx.err << "\n";
        return kExitFailed;
    }
    catalogue.close();
    QString error;
    if (!labels::writeSheetOutlinePdf(row->sheet, pdf, &error)) {
        ctx.err << "The label sheet of \"" << row->description << "\" cannot be printed: " << error << "\n";
        return kExitFailed;
    }
    ctx.out << "Wrote " << pdf << " (" << row->sheet.positionCount() << " labels, " << row->sheet.sheetName() << ")\n";
    return kExitOk;
}

} // namespace postavo::batch
