#include "zipcount.h"

#include "addressfile.h"
#include "cp1252.h"
#include "engine/recordengine.h"

namespace postavo::reports {

void ZipCount::addKey(std::string_view key)
{
    if (key.empty()) {
        ++blank_;
        return;
    }
    if (isFiveDigitZipKey(key)) {
        valid_.add(key);
        return;
    }
    thread_local std::string probe;
    probe.assign(key);
    auto it = others_.find(probe);
    if (it == others_.end())
        others_.emplace(probe, TallyRecord{1});
    else
        ++it->second.count;
}

void ZipCount::clear()
{
    valid_.clear();
    others_.clear();
    blank_ = 0;
}

std::int64_t ZipCount::total() const
{
    std::int64_t n = valid_.total() + blank_;
    for (const auto& [key, tally] : others_)
        n += tally.count;
    return n;
}

QString ZipCount::groupedNumber(std::int64_t n, const QLocale& locale)
{
    const bool negative = n < 0;
    QString digits = QString::number(negative ? -n : n);
    QString sep = locale.groupSeparator();
    if (sep.isEmpty())
        sep = QStringLiteral(",");
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, sep);
    return negative ? QStringLiteral("-") + digits : digits;
}

QString ZipCount::reportLine(const QString& key, std::int64_t count, const QLocale& locale)
{
    return key.left(10).leftJustified(10, QLatin1Char(' ')) + groupedNumber(count, locale);
}

QStringList ZipCount::reportLines(const QLocale& locale) const
{
    QStringList lines;
    for (int d = 0; d < 10; ++d)
        for (const auto& [key, tally] : valid_.sorted(d))
            lines << reportLine(fromCp1252(key), tally.count, locale);
    lines << QString() << QString();
    for (const auto& [key, tally] : sortedTallies(others_))
        lines << reportLine(fromCp1252(key), tally.count, locale);
    if (blank_ > 0)
        lines << reportLine(QStringLiteral("BLANK"), blank_, locale);
    return lines;
}

CountOutcome countZipCodes(AddressTable& table, ZipCount* count, const ZipCountProgress& progress, QString* error)
{
    engine::Table* t = table.engineTable();
    if (!t) {
        if (error)
            *error = QStringLiteral("No address file is open.");
        return CountOutcome::Failed;
    }
    auto status = [&](const QString& text) {
        if (progress.status)
            progress.status(text);
    };
    const QString order = table.order();
    const quint32 recno = table.recNo();
    CountOutcome outcome = CountOutcome::Completed;
    table.setOrder(QString());
    try {
        const int zip = t->fieldIndex("ZIP");
        if (zip < 0)
            throw engine::EngineError(engine::EngineError::Kind::Usage, t->path(), "the file has no ZIP field");
        const engine::DbfField field = t->fields()[std::size_t(zip)];
        t->setTurboRead(true);
        status(QStringLiteral("Reading database records..."));
        t->goTop();
        while (!t->eof()) {
            const char* p = reinterpret_cast<const char*>(t->recordData()) + field.offset;
            count->addZip(std::string_view(p, field.length));
            t->skip(1);
            const std::uint32_t at = t->recNo();
            if (at % 100 == 0 && progress.status && !t->eof())
                status(QStringLiteral("Reading record ") + QString::number(at));
            if (progress.keepGoing && !progress.keepGoing()) {
                outcome = CountOutcome::Cancelled;
                break;
            }
        }
        t->setTurboRead(false);
        if (outcome == CountOutcome::Completed)
            status(QStringLiteral("Sorting Zip Codes..."));
    } catch (const engine::EngineError& e) {
        t->setTurboRead(false);
        if (error)
            *error = fromCp1252(std::string_view(e.what()));
        outcome = CountOutcome::Failed;
    }
    table.setOrder(order);
    if (recno > 0)
        table.goTo(recno);
    return outcome;
}

} // namespace postavo::reports
