#include "copyout.h"

#include "cp1252.h"
#include "engine/recordengine.h"
#include "stagedimport.h"
#include "vcard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <filesystem>

namespace postavo::transfer {

namespace fs = std::filesystem;
using engine::DbfField;

namespace {

constexpr std::array<const char*, 20> kTextFields = {"PREFIX", "FNAME", "MIDDLE", "LNAME",   "TITLE", "ORG",  "STREET",
                                                    "STREET2", "CITY", "STATE",  "ZIP",     "COUNTRY", "PHONE", "PHONE2",
                                                    "EMAIL",  "FAX",  "DATE",   "USER1",   "USER2", "CODES"};
constexpr std::size_t kWriteChunk = 1 << 20;

std::string_view trimmedField(const unsigned char* record, const DbfField& f)
{
    std::string_view s(reinterpret_cast<const char*>(record + f.offset), f.length);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

bool sameNameNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Files beside `path` whose name is its base name with `ext`, in any letter case.
std::vector<fs::path> siblingsAnyCase(const fs::path& path, const std::string& ext)
{
    std::vector<fs::path> out;
    const std::string wanted = path.stem().string() + "." + ext;
    std::error_code ec;
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    for (const auto& e : fs::directory_iterator(folder, ec))
        if (sameNameNoCase(e.path().filename().string(), wanted))
            out.push_back(e.path());
    return out;
}

// Walks the records `source` shows and hands each one's bytes to `each`; stops on request, at the
// end, or after `limit` records (0: no limit).
template <class Each>
void walk(engine::Table& source, std::uint32_t count, std::uint32_t limit, TransferProgress& progress,
          ExportResult& r, Each each)
{
    int shown = -1;
    progress.setPosition(0);
    for (source.goTop(); !source.eof(); source.skip(1)) {
        each(source.recordData());
        ++r.written;
        const int p = count ? int(std::min<std::uint64_t>(100, r.written * 100 / count)) : 100;
        if (p != shown)
            progress.setPosition(shown = p);
        if (limit && r.written >= limit)
            break;
        if (progress.stopRequested()) {
            r.stopped = true;
            break;
        }
    }
}

std::vector<const DbfField*> textFieldsOf(const engine::Table& t)
{
    std::vector<const DbfField*> out;
    for (const char* name : kTextFields) {
        const int i = t.fieldIndex(name);
        out.push_back(i >= 0 ? &t.fields()[std::size_t(i)] : nullptr);
    }
    return out;
}

// ---- text and vCard: a QSaveFile in the target's folder, committed when the copy ends

class SaveTarget {
public:
    explicit SaveTarget(const QString& path) : file_(path) {}
    bool open(QString* error)
    {
        // Unbuffered, with our own chunks: a buffered write reports success before the bytes reach
        // the file, and a write cut short when the buffer is flushed (a full disk, a file-size
        // limit) would then go unnoticed by the commit, which would put a truncated file in place.
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            *error = file_.errorString();
            return false;
        }
        return true;
    }
    void put(std::string& pending, bool force)
    {
        if (pending.size() < kWriteChunk && !force)
            return;
        if (!pending.empty() && file_.write(pending.data(), qint64(pending.size())) != qint64(pending.size()))
            throw std::runtime_error(file_.errorString().toStdString());
        pending.clear();
    }
    void commit()
    {
        if (!file_.flush() || !file_.commit())
            throw std::runtime_error(file_.errorString().toStdString());
    }
    void cancel() { file_.cancelWriting(); }

private:
    QSaveFile file_;
};

void copyText(engine::Table& source, std::uint32_t count, const QString& target, const ExportOptions& o,
              TransferProgress& progress, ExportResult& r)
{
    SaveTarget out(target);
    QString error;
    if (!out.open(&error))
        throw std::runtime_error(error.toStdString());
    try {
        const std::vector<const DbfField*> fields = textFieldsOf(source);
        std::string pending;
        if (o.encoding == TextEncoding::Utf8)
            pending = "\xEF\xBB\xBF";
        std::array<std::string_view, 20> values;
        walk(source, count, count, progress, r, [&](const unsigned char* rec) {
            for (std::size_t i = 0; i < fields.size(); ++i)
                values[i] = fields[i] ? trimmedField(rec, *fields[i]) : std::string_view();
            appendTextLine(pending, values, o);
            out.put(pending, false);
        });
        out.put(pending, true);
        out.commit();
    } catch (...) {
        out.cancel();
        throw;
    }
}

void copyVCards(engine::Table& source, std::uint32_t count, const QString& target, TransferProgress& progress,
                ExportResult& r)
{
    SaveTarget out(target);
    QString error;
    if (!out.open(&error))
        throw std::runtime_error(error.toStdString());
    try {
        std::vector<std::pair<QString, const DbfField*>> fields;
        for (const DbfField& f : source.fields())
            if (f.type == 'C')
                fields.push_back({QString::fromLatin1(f.name.c_str()), &f});
        const bool hasMemo = source.fieldIndex("MEMO") >= 0;
        std::string pending;
        walk(source, count, 0, progress, r, [&](const unsigned char* rec) {
            QMap<QString, QString> values;
            for (const auto& [name, f] : fields)
                values.insert(name, fromCp1252(trimmedField(rec, *f)));
            if (hasMemo)
                values.insert(QStringLiteral("MEMO"), fromCp1252(source.getMemo("MEMO")));
            pending += vcardFromRecord(values);
            out.put(pending, false);
        });
        out.put(pending, true);
        out.commit();
    } catch (...) {
        out.cancel();
        throw;
    }
}

// ---- DBF: built in a scratch folder beside the target, then put in its place

void placeTable(const fs::path& built, const fs::path& builtMemo, const fs::path& target)
{
    std::error_code ec;
    if (fs::exists(target, ec)) {
        // Table and memo change together (an interrupted replacement is finished at the next open).
        engine::Table::replaceTableFiles(target.string(), built.string(), builtMemo.empty() ? std::string() : builtMemo.string(),
                                         std::string());
    } else {
        // A memo file first, so that the table never appears without its memo.
        if (!builtMemo.empty())
            engine::replaceFile(builtMemo.string(), (target.parent_path() / builtMemo.filename()).string());
        engine::replaceFile(built.string(), target.string());
    }
    // An index of an earlier table of this name, in any letter case, would pair with the copy.
    for (const fs::path& cdx : siblingsAnyCase(target, "cdx"))
        fs::remove(cdx, ec);
    // So would a memo file of another letter case or kind.
    for (const char* ext : {"fpt", "dbt"})
        for (const fs::path& memo : siblingsAnyCase(target, ext))
            if (builtMemo.empty() || memo.filename() != builtMemo.filename())
                fs::remove(memo, ec);
}

void copyTable(engine::Table& source, std::uint32_t count, const QString& target, TransferProgress& progress,
               ExportResult& r)
{
    const fs::path targetPath(QFile::encodeName(QFileInfo(target).absoluteFilePath()).toStdString());
    const fs::path work = makeScratchFolder(targetPath.string(), ".postavo-export-");
    struct Cleanup {
        fs::path dir;
        ~Cleanup()
        {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    } cleanup{work};
    const fs::path built = work / targetPath.filename();
    source.copyStructure(built.string());
    std::string builtMemo;
    {
        auto t = engine::Table::open(built.string(), engine::OpenMode::Exclusive);
        if (t->header().memoKind() != engine::MemoKind::None)
            builtMemo = t->memoPath();
        // The text fields are copied as they stand; ISDEL and TAG stay empty.
        std::vector<std::pair<const DbfField*, const DbfField*>> pairs;
        for (const char* name : kTextFields) {
            const int from = source.fieldIndex(name), to = t->fieldIndex(name);
            if (from >= 0 && to >= 0)
                pairs.push_back({&source.fields()[std::size_t(from)], &t->fields()[std::size_t(to)]});
        }
        const bool memo = source.fieldIndex("MEMO") >= 0 && t->fieldIndex("MEMO") >= 0;
        const std::size_t length = t->header().recordLength;
        std::string block;   // whole records, written a block at a time
        auto writeBlock = [&] {
            t->appendRecords(reinterpret_cast<const unsigned char*>(block.data()), block.size() / length);
            block.clear();
        };
        walk(source, count, 0, progress, r, [&](const unsigned char* from) {
            const std::size_t at = block.size();
            block.append(length, ' ');
            auto* rec = reinterpret_cast<unsigned char*>(block.data() + at);
            for (const auto& [f, g] : pairs) {
                const std::size_t n = std::min<std::size_t>(f->length, g->length);
                std::memcpy(rec + g->offset, from + f->offset, n);
            }
            if (memo) {
                const std::string text = source.getMemo("MEMO");
                if (!text.empty())
                    t->storeMemo("MEMO", rec, memoWithTrailingBlankRule(text));
            }
            if (block.size() >= (1u << 20))
                writeBlock();
        });
        writeBlock();
        t->commit();
        t->close();
    }
    placeTable(built, builtMemo.empty() ? fs::path() : fs::path(builtMemo), targetPath);
}

} // namespace

const std::array<const char*, 20>& textExportFields() { return kTextFields; }

void appendTextLine(std::string& out, const std::array<std::string_view, 20>& values, const ExportOptions& o)
{
    const bool utf8 = o.encoding == TextEncoding::Utf8;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            out += ',';
        out += '"';
        const std::string_view v = values[i];
        if (!o.rfc4180 && !utf8) {
            out.append(v);
        } else {
            for (const char c : v) {
                if (o.rfc4180 && c == '"')
                    out += '"';
                if (utf8)
                    cp1252ToUtf8(std::string_view(&c, 1), out);
                else
                    out += c;
            }
        }
        out += '"';
    }
    out += "\r\n";
}

QString exportOverwriteQuestion(const QString& path)
{
    return path + QStringLiteral(" already exists.") + QStringLiteral("\r\n") + QStringLiteral("Do you want to overwrite it?");
}

TargetCheck checkExportTarget(const QString& path, ExportFormat format, const QString& addressPath, QString* message)
{
    const QFileInfo info(path);
    if (format == ExportFormat::Dbf && info.suffix().compare(QLatin1String("DBF"), Qt::CaseInsensitive) != 0) {
        *message = QStringLiteral("Must have a .DBF extension");
        return TargetCheck::WrongExtension;
    }
    if (!addressPath.isEmpty()
        && info.absoluteFilePath().compare(QFileInfo(addressPath).absoluteFilePath(), Qt::CaseInsensitive) == 0) {
        *message = QStringLiteral("Cannot copy a file to itself!");
        return TargetCheck::Self;
    }
    if (info.exists()) {
        *message = exportOverwriteQuestion(path);
        return TargetCheck::Exists;
    }
    message->clear();
    return TargetCheck::Ok;
}

QString exportFailureMessage(const ExportResult& r, const QString& target)
{
    QStringList lines;
    lines << QStringLiteral("There was an error copying");
    if (!r.cause.isEmpty())
        lines << r.cause;
    lines << (QFileInfo::exists(target) ? QStringLiteral("%1 was left as it was before.").arg(target)
                                        : QStringLiteral("Nothing was written to %1.").arg(target));
    return lines.join(QStringLiteral("\r\n"));
}

ExportResult copyRecordsOut(engine::Table& source, std::uint32_t count, const QString& target,
                            const ExportOptions& options, TransferProgress& progress)
{
    ExportResult r;
    progress.setStoppable(true);
    progress.setStatus(QStringLiteral("Copying to ") + target);
    try {
        switch (options.format) {
        case ExportFormat::Dbf: copyTable(source, count, target, progress, r); break;
        case ExportFormat::Text: copyText(source, count, target, options, progress, r); break;
        case ExportFormat::VCard: copyVCards(source, count, target, progress, r); break;
        }
    } catch (const std::exception& e) {
        r.failed = true;
        r.cause = describeFailure(e);
    }
    return r;
}

} // namespace postavo::transfer
