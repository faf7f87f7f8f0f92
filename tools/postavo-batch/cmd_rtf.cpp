// postavo-batch rtf: a letter file's pages drawn to PDF, written back through the program's RTF
// writer, or its plain text, so that a letter can be checked without the window.
#include "commands.h"

#include "filewriting.h"
#include "pagedrawing.h"
#include "picturedecoder.h"
#include "pictures.h"
#include "richdocument.h"

namespace postavo::batch {

namespace {

// Metafiles in letters are played by the program's picture decoder.
class DesignMetafiles : public richtext::pictures::PictureDecoder {
public:
    QImage decode(richtext::pictures::Kind kind, const QByteArray& data, QSize pixels, QString* error) const override
    {
        if (kind != richtext::pictures::Kind::WindowsMetafile) {
            if (error)
                *error = QStringLiteral("enhanced metafiles cannot be played");
            return {};
        }
        return design::pictures::renderMetafile(data, pixels, error);
    }
};

bool writeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QString reason;
    if (replaceFileWith(path, bytes, &reason))
        return true;
    *error = QStringLiteral("The file \"%1\" cannot be written: %2").arg(path, reason);
    return false;
}

} // namespace

int runRtf(CommandContext& ctx)
{
    Args args(ctx.args);
    bool missing = false;
    const QString pdf = args.take(QStringLiteral("--pdf"), &missing);
    const QString rtf = args.take(QStringLiteral("--rtf"), &missing);
    const QString text = args.take(QStringLiteral("--text"), &missing);
    const int outputs = int(!pdf.isEmpty()) + int(!rtf.isEmpty()) + int(!text.isEmpty());
    if (missing || outputs != 1 || args.rest().size() != 1) {
        ctx.err << "usage: postavo-batch rtf IN.rtf (--pdf OUT.pdf | --rtf OUT.rtf | --text OUT.txt)\n";
        return kExitUsage;
    }
    static const DesignMetafiles metafiles;
    richtext::pictures::setPictureDecoder(&metafiles);

    richtext::RichDocument doc;
    QString error;
    richtext::RtfReadReport report;
    if (!doc.loadFile(args.rest().first(), &error, &report)) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    if (!report.clean())
        ctx.err << report.text() << "\n";

    bool ok = true;
    if (!pdf.isEmpty()) {
        ok = richtext::writePdf(doc, pdf, &error);
        if (ok)
            ctx.out << richtext::pageCount(doc) << " page(s) written to " << pdf << "\n";
    } else if (!rtf.isEmpty()) {
        ok = writeFile(rtf, doc.saveRtf(), &error);
    } else {
        ok = writeFile(text, doc.plainText(true).toUtf8() + '\n', &error);
    }
    if (!ok) {
        ctx.err << error << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace postavo::batch
