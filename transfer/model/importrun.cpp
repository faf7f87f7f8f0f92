#include "importrun.h"

#include "engine/recordengine.h"

namespace postavo::transfer {

ImportResult runStagedImport(AddressTable& target, ImportSource& source, TransferProgress& progress)
{
    ImportResult r;
    StagedImport stage(target);
    auto fail = [&](ImportResult::Outcome outcome, const QString& cause) {
        stage.abandon();
        r.outcome = outcome;
        r.cause = cause;
        r.notes = source.notes();
        return r;
    };
    progress.setStoppable(true);
    QString error;
    if (!stage.begin(&error))
        return fail(ImportResult::Outcome::WriteError, error);
    if (!source.prepare(progress, &error))
        return fail(ImportResult::Outcome::ReadError, error);

    progress.setStatus(QStringLiteral("Importing records"));
    progress.setPosition(0);
    AddressRecordWriter& w = stage.writer();
    int shown = 0;
    for (;;) {
        w.start();
        const ImportSource::Step step = source.next(w, &error);
        if (step == ImportSource::Step::End)
            break;
        if (step == ImportSource::Step::Failed)
            return fail(ImportResult::Outcome::ReadError, error);
        try {
            w.post();
        } catch (const std::exception& e) {
            const std::uint64_t stored = w.stored();   // the writer goes with the stage
            fail(ImportResult::Outcome::WriteError, describeFailure(e));
            r.imported = stored;
            return r;
        }
        ++r.imported;
        const int p = source.percent(r.imported);
        if (p != shown)
            progress.setPosition(shown = p);
        if (progress.stopRequested()) {
            r.outcome = ImportResult::Outcome::Cancelled;
            break;
        }
    }
    try {
        w.flush();
    } catch (const std::exception& e) {
        const std::uint64_t stored = w.stored();
        fail(ImportResult::Outcome::WriteError, describeFailure(e));
        r.imported = stored;
        return r;
    }
    r.cutValues = w.cutValues();
    r.notes = source.notes();

    if (r.imported > 0) {
        // The tags are part of the import: only a copy with all of them replaces the file.
        progress.setStatus(QStringLiteral("Rebuilding Indexes "));
        progress.setStoppable(false);
        progress.setPosition(0);
        RunningTotalProgress bar(kImportProgressDivisor);
        int last = -1;
        const bool built = stage.buildTags(
            [&](int p) {
                const int pos = bar.report(p);
                if (pos != last)
                    progress.setPosition(last = pos);
            },
            &error);
        if (!built || !stage.commit(&error)) {
            const std::uint64_t imported = r.imported;
            fail(ImportResult::Outcome::WriteError, error);
            r.imported = imported;
            return r;
        }
    }
    progress.setPosition(0);
    progress.setStatus(QString());
    progress.setStoppable(true);
    return r;
}

QString importClosingMessage(const ImportResult& r, ImportKind kind)
{
    const QString n = QString::number(r.imported);
    QStringList lines;
    switch (r.outcome) {
    case ImportResult::Outcome::ReadError:
    case ImportResult::Outcome::WriteError:
        if (kind == ImportKind::Text)
            lines << (r.outcome == ImportResult::Outcome::ReadError
                          ? QStringLiteral("Unknown error reading ASCII file after importing ") + n + QStringLiteral(" records.")
                          : QStringLiteral("Unknown error writing to data file after importing ") + n
                              + QStringLiteral(" records."));
        else
            lines << QStringLiteral("Unknown error while importing.");
        if (!r.cause.isEmpty())
            lines << r.cause;
        lines << QStringLiteral("The import was taken back: the address file is as it was before.");
        return lines.join(QStringLiteral("\r\n"));
    case ImportResult::Outcome::Cancelled:
        lines << QStringLiteral("Import cancelled after importing ") + n + QStringLiteral(" records.");
        break;
    case ImportResult::Outcome::Complete:
        lines << QStringLiteral("Import complete. Imported ") + n + QStringLiteral(" records.");
        break;
    }
    if (r.cutValues > 0)
        lines << QStringLiteral("%1 values were longer than their fields and were cut to the field's width.")
                     .arg(r.cutValues);
    lines << r.notes;
    return lines.join(QStringLiteral("\r\n"));
}

std::string memoWithTrailingBlankRule(std::string_view text)
{
    // The length counts the lines joined by CR LF: a lone LF counts as two characters, and a
    // line break that ends the text starts no further line.
    std::size_t length = 0;
    std::size_t end = text.size();
    if (end >= 2 && text.substr(end - 2) == "\r\n")
        end -= 2;
    else if (end >= 1 && (text[end - 1] == '\n' || text[end - 1] == '\r'))
        end -= 1;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\r' && i + 1 < end && text[i + 1] == '\n') {
            length += 2;
            ++i;
        } else if (text[i] == '\n' || text[i] == '\r') {
            length += 2;
        } else {
            ++length;
        }
    }
    std::string out(text);
    if (length > 0 && length % 4 == 0)
        out.insert(end, 1, ' ');
    return out;
}

} // namespace postavo::transfer
