#include "stagedimport.h"

#include "addressschema.h"
#include "engine/recordengine.h"

#include <QFile>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <system_error>
#include <unistd.h>

namespace postavo::transfer {

namespace fs = std::filesystem;
using engine::EngineError;

namespace {

const std::string kPrefix = ".postavo-import-";

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Scratch folders of imports that were stopped part way (their process is gone): what they
// hold is not the address file's state, so they go.
void removeAbandonedScratch(const fs::path& folder, const std::string& prefix)
{
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder.empty() ? fs::path(".") : folder, ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(prefix, 0) != 0)
            continue;
        const long pid = std::atol(name.c_str() + prefix.size());
        if (pid > 0 && pid != long(::getpid()) && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            fs::remove_all(e.path(), ec);
    }
}

} // namespace

fs::path makeScratchFolder(const std::string& file, const std::string& prefix)
{
    const fs::path folder = fs::path(file).parent_path();
    removeAbandonedScratch(folder, prefix);
    static std::atomic<int> serial{0};
    const fs::path work = (folder.empty() ? fs::path(".") : folder)
        / (prefix + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    fs::remove_all(work);
    fs::create_directories(work);
    return work;
}

// ---------------------------------------------------------------- writer

AddressRecordWriter::AddressRecordWriter(engine::Table& table) : table_(table)
{
    const auto& defs = addressFields();
    fields_.assign(defs.size(), nullptr);
    for (std::size_t i = 0; i < defs.size(); ++i) {
        const int at = table.fieldIndex(defs[i].name);
        if (at >= 0)
            fields_[i] = &table.fields()[std::size_t(at)];
    }
    blank_.assign(table.header().recordLength, ' ');
    record_ = blank_;
}

int AddressRecordWriter::column(std::string_view field)
{
    const auto& defs = addressFields();
    for (std::size_t i = 0; i < defs.size(); ++i)
        if (sameName(defs[i].name, field))
            return int(i);
    return -1;
}

void AddressRecordWriter::start()
{
    record_ = blank_;
    memo_.clear();
    setLogical("ISDEL", false);
}

bool AddressRecordWriter::setText(int column, std::string_view bytes)
{
    if (column < 0 || std::size_t(column) >= fields_.size() || !fields_[std::size_t(column)])
        return false;
    const engine::DbfField& f = *fields_[std::size_t(column)];
    if (f.type == 'M') {
        setMemo(bytes);
        return false;
    }
    if (f.type == 'L') {
        const char c = bytes.empty() ? ' ' : bytes.front();
        setLogical(f.name, c == 'T' || c == 't' || c == 'Y' || c == 'y');
        return false;
    }
    char* p = record_.data() + f.offset;
    const std::size_t n = std::min<std::size_t>(bytes.size(), f.length);
    for (std::size_t i = 0; i < n; ++i) {
        const char c = bytes[i];
        p[i] = c == '\r' || c == '\n' ? ' ' : c;
    }
    std::memset(p + n, ' ', f.length - n);
    if (n < bytes.size() && bytes.substr(n).find_first_not_of(" \r\n") != std::string_view::npos) {
        ++cut_;
        return true;
    }
    return false;
}

bool AddressRecordWriter::setText(std::string_view field, std::string_view bytes)
{
    return setText(column(field), bytes);
}

void AddressRecordWriter::setLogical(std::string_view field, bool value)
{
    const int c = column(field);
    if (c < 0 || !fields_[std::size_t(c)])
        return;
    record_[fields_[std::size_t(c)]->offset] = value ? 'T' : 'F';
}

void AddressRecordWriter::setMemo(std::string_view bytes) { memo_.assign(bytes.data(), bytes.size()); }

void AddressRecordWriter::post()
{
    if (!memo_.empty())
        table_.storeMemo("MEMO", reinterpret_cast<unsigned char*>(record_.data()), memo_);
    waiting_ += record_;
    ++posted_;
    if (waiting_.size() >= kBlockBytes)
        flush();
}

void AddressRecordWriter::flush()
{
    if (waiting_.empty())
        return;
    table_.appendRecords(reinterpret_cast<const unsigned char*>(waiting_.data()), waiting_.size() / blank_.size());
    stored_ = posted_;
    waiting_.clear();
}

// ---------------------------------------------------------------- staging

StagedImport::StagedImport(AddressTable& target) : target_(target) {}

StagedImport::~StagedImport() { abandon(); }

QString StagedImport::scratchPrefix() { return QString::fromStdString(kPrefix); }

bool StagedImport::begin(QString* error)
{
    abandon();
    committed_ = false;
    engine::Table* live = target_.engineTable();
    if (!live) {
        if (error)
            *error = QStringLiteral("No address file is open.");
        return false;
    }
    try {
        targetPath_ = live->path();
        work_ = makeScratchFolder(targetPath_, kPrefix);
        // What a post of the target may still hold in memory goes to its files first.
        live->commit();
        const fs::path copy = work_ / fs::path(targetPath_).filename();
        fs::copy_file(targetPath_, copy);
        if (live->header().memoKind() != engine::MemoKind::None) {
            const std::string memo = live->memoPath();
            if (fs::exists(memo))
                fs::copy_file(memo, work_ / fs::path(memo).filename());
        }
        copy_ = engine::Table::open(copy.string(), engine::OpenMode::Exclusive);
        copy_->closeIndexes();  // records go in without index upkeep; the tags are built at the end
        copy_->setDeletedHidden(false);
        writer_ = std::make_unique<AddressRecordWriter>(*copy_);
    } catch (const std::exception& e) {
        if (error)
            *error = describeFailure(e);
        abandon();
        return false;
    }
    return true;
}

bool StagedImport::buildTags(const std::function<void(int)>& progress, QString* error)
{
    if (!copy_)
        return false;
    try {
        writer_->flush();
        const std::string index = copy_->indexPath();
        copy_->closeIndexes();
        engine::removeFileIfExists(index);
        if (progress)
            copy_->setProgressHook(progress);
        copy_->indexTags(addressTagSpecs());
        copy_->setProgressHook({});
    } catch (const std::exception& e) {
        copy_->setProgressHook({});
        if (error)
            *error = describeFailure(e);
        return false;
    }
    return true;
}

bool StagedImport::commit(QString* error)
{
    if (!copy_)
        return false;
    try {
        const std::string table = copy_->path();
        const bool hasMemo = copy_->header().memoKind() != engine::MemoKind::None;
        const std::string memo = hasMemo ? copy_->memoPath() : std::string();
        const std::string index = copy_->hasIndex() ? copy_->indexPath() : std::string();
        writer_->flush();
        copy_->commit();
        copy_->close();
        writer_.reset();
        copy_.reset();
        target_.close();
        engine::Table::replaceTableFiles(targetPath_, table, memo, index);
        committed_ = true;
    } catch (const std::exception& e) {
        if (error)
            *error = describeFailure(e);
        abandon();
        return false;
    }
    abandon();  // the scratch folder is empty now; it goes too
    return true;
}

void StagedImport::abandon()
{
    writer_.reset();
    if (copy_) {
        try {
            copy_->close();
        } catch (...) {
            // Its files are thrown away with the folder.
        }
        copy_.reset();
    }
    if (!work_.empty()) {
        std::error_code ec;
        fs::remove_all(work_, ec);
        work_.clear();
    }
}

QString describeFailure(const std::exception& e)
{
    int code = 0;
    if (const auto* fsError = dynamic_cast<const fs::filesystem_error*>(&e))
        code = fsError->code().value();
    const std::string what = e.what();
    auto mentions = [&](int err) { return code == err || what.find(std::strerror(err)) != std::string::npos; };
    QString cause;
    if (mentions(ENOSPC) || mentions(EDQUOT))
        cause = QStringLiteral("The disk is full.");
    else if (mentions(EFBIG))
        cause = QStringLiteral("A file has grown past the size this system allows.");
    else if (mentions(EACCES) || mentions(EPERM) || mentions(EROFS))
        cause = QStringLiteral("The folder or file may not be written to.");
    const QString detail = QString::fromLocal8Bit(what.c_str());
    return cause.isEmpty() ? detail : cause + QLatin1Char(' ') + detail;
}

} // namespace postavo::transfer
