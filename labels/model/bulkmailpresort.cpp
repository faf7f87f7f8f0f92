#include "bulkmailpresort.h"

#include "adctable.h"
#include "addressfile.h"
#include "engine/engine_error.h"
#include "engine/recordengine.h"
#include "filewriting.h"
#include "programfolder.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <map>

namespace postavo::labels {

namespace {

using Entry = std::pair<std::string, TallyRecord>;

// "All of them if it is shorter": the first three characters of a key.
std::string_view prefixOf(std::string_view key)
{
    return key.substr(0, std::min<std::size_t>(key.size(), 3));
}

} // namespace

bool isHeadingLine(std::string_view line)
{
    return line.find(kHeadingMark) != std::string_view::npos;
}

std::vector<std::string> presortLines(const ZipTallyLists& tallies)
{
    std::vector<std::string> out, threeDigit, remainder;
    for (int digit = 0; digit < 10; ++digit) {
        std::vector<Entry> list = tallies.sorted(digit);

        // 5-digit packages: one key of 10 pieces or more.
        std::vector<Entry> left;
        left.reserve(list.size());
        for (Entry& e : list) {
            if (e.second.count >= kPackageMinimum) {
                out.push_back("** 5-digit " + e.first);
                out.push_back(e.first);
            } else {
                left.push_back(std::move(e));
            }
        }

        // 3-digit packages: neighbouring keys of one prefix that add up to 10 pieces or more.
        for (std::size_t from = 0; from < left.size();) {
            const std::string_view prefix = prefixOf(left[from].first);
            std::size_t to = from;
            std::int64_t pieces = 0;
            while (to < left.size() && prefixOf(left[to].first) == prefix) {
                pieces += left[to].second.count;
                ++to;
            }
            if (pieces >= kPackageMinimum) {
                threeDigit.push_back("** 3-digit " + std::string(prefix));
                for (std::size_t i = from; i < to; ++i)
                    threeDigit.push_back(left[i].first);
            } else {
                for (std::size_t i = from; i < to; ++i)
                    remainder.push_back(left[i].first);
            }
            from = to;
        }
    }

    // ADC groups: each remaining key goes to the first row whose prefix text holds its prefix.
    // The row of each prefix is looked up once; the groups come out in the table's order with
    // their keys in the order of the remainder, as walking the table row by row gives them.
    std::map<std::string, int, std::less<>> rowOfPrefix;
    std::vector<std::vector<std::string>> byRow(kAdcRowCount);
    std::vector<std::string> unknown;
    for (std::string& key : remainder) {
        const std::string_view prefix = prefixOf(key);
        auto it = rowOfPrefix.find(prefix);
        if (it == rowOfPrefix.end())
            it = rowOfPrefix.emplace(std::string(prefix), adcRowFor(prefix)).first;
        if (it->second < 0)
            unknown.push_back(std::move(key));
        else
            byRow[size_t(it->second)].push_back(std::move(key));
    }

    out.insert(out.end(), std::make_move_iterator(threeDigit.begin()), std::make_move_iterator(threeDigit.end()));
    for (int row = 0; row < kAdcRowCount; ++row) {
        if (byRow[size_t(row)].empty())
            continue;
        out.push_back(std::string("** ADC ") + adcTable()[size_t(row)].name);
        for (std::string& key : byRow[size_t(row)])
            out.push_back(std::move(key));
    }
    if (!unknown.empty()) {
        out.emplace_back("** Unknown");
        for (std::string& key : unknown)
            out.push_back(std::move(key));
    }
    return out;
}

QString presortFilePath(const QString& programFolder)
{
    QString dir = programFolder.isEmpty() ? ProgramFolder::path() : programFolder;
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return resolveFileName(dir + QLatin1String(kPresortFileName));
}

QByteArray presortFileBytes(const std::vector<std::string>& lines)
{
    QByteArray bytes;
    std::size_t size = 0;
    for (const std::string& l : lines)
        size += l.size() + 2;
    bytes.reserve(qsizetype(size));
    for (const std::string& l : lines) {
        bytes.append(l.data(), qsizetype(l.size()));
        bytes.append("\r\n", 2);
    }
    return bytes;
}

bool writePresortFile(const QString& path, const std::vector<std::string>& lines, QString* error)
{
    const QByteArray bytes = presortFileBytes(lines);
    QString reason;
    if (!replaceFileWith(path, bytes, &reason)) {
        if (error)
            *error = QStringLiteral("The presort file %1 could not be written: %2")
                         .arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    return true;
}

bool readPresortFile(const QString& path, std::vector<std::string>* lines, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("The presort file %1 could not be read: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    lines->clear();
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        if (stop > from && bytes[stop - 1] == '\r')
            --stop;
        lines->emplace_back(bytes.constData() + from, size_t(stop - from));
        from = end + 1;
    }
    return true;
}

BulkMailPresort::Result BulkMailPresort::run(const QString& outPath, QString* error)
{
    auto fail = [error](const QString& message) {
        if (error)
            *error = message;
        return Result::Failed;
    };
    tallies_.clear();
    lines_.clear();
    counted_ = skipped_ = 0;
    engine::Table* t = table_.engineTable();
    const int zipField = t ? t->fieldIndex("ZIP") : -1;
    if (!t || zipField < 0)
        return fail(QStringLiteral("The address file has no ZIP field to presort by."));
    const engine::DbfField& zip = t->fields()[size_t(zipField)];

    table_.setOrder(QString());
    bool cancelled = false;
    try {
        t->setTurboRead(true);
        t->goTop();
        say(QStringLiteral("Reading database records..."));
        while (!t->eof()) {
            const std::string_view value(reinterpret_cast<const char*>(t->recordData() + zip.offset), zip.length);
            const std::string_view key = zipKey(value);
            if (zipKeyInRange(key)) {
                tallies_.add(key);
                ++counted_;
            } else {
                ++skipped_;
            }
            t->skip(1);
            if (!t->eof() && t->recNo() % 100 == 0)
                say(QStringLiteral("Reading record ") + QString::number(t->recNo()));
            if (keepGoing && !keepGoing()) {
                cancelled = true;
                break;
            }
        }
        t->setTurboRead(false);
    } catch (const engine::EngineError& e) {
        t->setTurboRead(false);
        return fail(QStringLiteral("The address file could not be read: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    if (cancelled)
        return Result::Cancelled;

    say(QStringLiteral("Sorting Zip Codes..."));
    lines_ = presortLines(tallies_);
    QString message;
    if (!writePresortFile(outPath, lines_, &message))
        return fail(message);
    return Result::Done;
}

} // namespace postavo::labels
