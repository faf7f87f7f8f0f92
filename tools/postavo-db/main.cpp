// postavo-db: inspect, check and repair xBase tables from the command line.
#include "address_commands.h"
#include "record_text_command.h"
#include "addressschema.h"
#include "maintenance_commands.h"
#include "cp1252.h"
#include "recordengine.h"
#include "transfer_commands.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

using namespace postavo::engine;

namespace {

const char* kUsage =
    "usage: postavo-db COMMAND FILE [options]\n"
    "  info FILE                         header, fields, counts, tags\n"
    "  dump FILE [--order TAG] [--filter EXPR] [--deleted] [--recno]\n"
    "                                    records as CSV in that order\n"
    "  check FILE                        table, memo and index consistency (exit 1 on a problem)\n"
    "  reindex FILE                      rebuild the tags (an address file's 26 from its definition)\n"
    "  pack FILE                         remove deleted records\n"
    "  recover FILE                      adopt whole records left past the header's count, drop a\n"
    "                                    partial record after them, rebuild the index\n"
    "  count FILE --filter EXPR          number of matching records\n"
    "  seek FILE --order TAG KEY...      find each key in that tag\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string toTerminal(std::string_view cp1252) { return postavo::fromCp1252(cp1252).toStdString(); }
std::string fromTerminal(const std::string& utf8) { return postavo::toCp1252(QString::fromStdString(utf8)); }

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string r = "\"";
    for (char c : text) {
        if (c == '"')
            r += '"';
        r += c;
    }
    return r + "\"";
}

std::string fieldText(Table& t, const DbfField& f)
{
    switch (f.type) {
    case 'M': case 'G': case 'P': return t.getMemo(f.name);
    case 'L': {
        const char c = t.getString(f.name)[0];
        return c == ' ' || c == '?' ? "" : std::string(1, t.getLogical(f.name) ? 'T' : 'F');
    }
    case 'I': case 'Y': case 'B': {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", f.type == 'I' ? 0 : f.type == 'Y' ? 4 : int(f.decimals), t.getNumber(f.name));
        return buf;
    }
    case 'T': return t.getDateString(f.name);
    case 'N': case 'F': {
        const std::string s = t.getTrimString(f.name);
        const std::size_t start = s.find_first_not_of(' ');
        return start == std::string::npos ? std::string() : s.substr(start);
    }
    default: return t.getTrimString(f.name);
    }
}

void printRecord(Table& t, bool withRecno)
{
    std::string line;
    if (withRecno)
        line = std::to_string(t.recNo());
    bool first = !withRecno;
    for (const DbfField& f : t.fields()) {
        if (f.type == '0')
            continue;  // Visual FoxPro's hidden null flags
        if (!first)
            line += ',';
        first = false;
        line += csvField(toTerminal(fieldText(t, f)));
    }
    std::cout << line << '\n';
}

void printHeaderLine(Table& t, bool withRecno)
{
    std::string line = withRecno ? "RECNO" : "";
    bool first = !withRecno;
    for (const DbfField& f : t.fields()) {
        if (f.type == '0')
            continue;
        if (!first)
            line += ',';
        first = false;
        line += f.name;
    }
    std::cout << line << '\n';
}

struct Options {
    std::string order, filter;
    bool deleted = false, recno = false;
    std::vector<std::string> rest;
};

Options parseOptions(int argc, char** argv, int from)
{
    Options o;
    for (int i = from; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw UsageError(a + " needs a value");
            return argv[++i];
        };
        if (a == "--order")
            o.order = value();
        else if (a == "--filter")
            o.filter = fromTerminal(value());
        else if (a == "--deleted")
            o.deleted = true;
        else if (a == "--recno")
            o.recno = true;
        else if (a.size() > 2 && a.compare(0, 2, "--") == 0)
            throw UsageError("unknown option " + a);
        else
            o.rest.push_back(a);
    }
    return o;
}

void selectOrder(Table& t, const std::string& tag)
{
    if (tag.empty())
        return;
    const int n = t.orderNumber(tag);
    if (n == 0)
        throw EngineError(EngineError::Kind::Usage, t.path(), "no tag " + tag);
    t.setOrder(n);
}

int info(const std::string& path)
{
    auto t = Table::open(path, OpenMode::ReadOnly);
    const DbfHeader& h = t->header();
    std::printf("file        %s\n", path.c_str());
    std::printf("version     0x%02X\n", h.version);
    std::printf("updated     %02u/%02u/%02u (yy/mm/dd)\n", h.year, h.month, h.day);
    std::printf("records     %u\n", h.recordCount);
    std::printf("header      %u bytes\n", h.headerLength);
    std::printf("record      %u bytes\n", h.recordLength);
    std::printf("flags       0x%02X\n", h.flags);
    std::printf("code page   0x%02X\n", h.codePage);
    std::uint32_t deleted = 0;
    for (std::uint32_t r = 1; r <= t->recCount(); ++r) {
        t->go(r);
        deleted += t->isDeleted();
    }
    std::printf("deleted     %u\n", deleted);
    if (h.memoKind() != MemoKind::None)
        std::printf("memo file   %s\n", t->memoPath().c_str());
    std::printf("fields      %zu\n", h.fields.size());
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        const DbfField& f = h.fields[i];
        std::printf("  %3zu %-10s %c %4u %2u  offset %u\n", i + 1, f.name.c_str(), f.type, f.length, f.decimals, f.offset);
    }
    if (t->hasIndex()) {
        std::printf("index       %s\n", t->indexPath().c_str());
        std::printf("tags        %zu\n", t->tagCount());
        for (std::size_t i = 1; i <= t->tagCount(); ++i) {
            const TagInfo& tag = t->tagInfo(i);
            std::printf("  %3zu %-10s key %s", i, tag.name.c_str(), toTerminal(tag.keyExpr).c_str());
            if (!tag.forExpr.empty())
                std::printf("  for %s", toTerminal(tag.forExpr).c_str());
            std::printf("  (%c %u%s%s, %zu keys)\n", char(tag.keyType), tag.keyLength, tag.descending ? " descending" : "",
                        tag.unique ? " unique" : "", t->index()->keyCount(i - 1));
        }
    } else {
        std::printf("tags        0\n");
    }
    return 0;
}

int dump(const std::string& path, const Options& o)
{
    auto t = Table::open(path, OpenMode::ReadOnly);
    t->setDeletedHidden(!o.deleted);
    selectOrder(*t, o.order);
    t->setQuery(o.filter);
    printHeaderLine(*t, o.recno);
    for (t->goTop(); !t->eof(); t->skip())
        printRecord(*t, o.recno);
    return 0;
}

int check(const std::string& path)
{
    auto t = Table::open(path, OpenMode::ReadOnly);
    const auto problems = t->check();
    for (const std::string& p : problems)
        std::cout << "PROBLEM " << p << '\n';
    if (problems.empty())
        std::cout << "OK " << path << ": " << t->recCount() << " records, " << t->tagCount() << " tags\n";
    return problems.empty() ? 0 : 1;
}

int count(const std::string& path, const Options& o)
{
    if (o.filter.empty())
        throw UsageError("count needs --filter EXPR");
    auto t = Table::open(path, OpenMode::ReadOnly);
    t->setDeletedHidden(!o.deleted);
    t->setQuery(o.filter);
    std::cout << t->queryRecCount() << '\n';
    return 0;
}

int seek(const std::string& path, const Options& o)
{
    if (o.order.empty() || o.rest.empty())
        throw UsageError("seek needs --order TAG and at least one KEY");
    auto t = Table::open(path, OpenMode::ReadOnly);
    t->setDeletedHidden(!o.deleted);
    selectOrder(*t, o.order);
    const TagInfo& tag = t->tagInfo(std::size_t(t->order()));
    int missing = 0;
    for (const std::string& raw : o.rest) {
        std::string key = fromTerminal(raw);
        switch (tag.keyType) {
        case KeyType::Numeric: key = numericKey(std::strtod(key.c_str(), nullptr)); break;
        case KeyType::Date: key = dateKey(julianFromDtos(key)); break;
        case KeyType::Logical: {
            const bool yes = key == "T" || key == "t" || key == ".T.";
            key.assign(1, yes ? 'T' : 'F');
            break;
        }
        default: break;
        }
        if (t->seek(key)) {
            std::cout << "found " << raw << ": ";
            printRecord(*t, true);
        } else {
            std::cout << "not found " << raw << '\n';
            ++missing;
        }
    }
    return missing ? 1 : 0;
}

// An address file's tags come from its definition, so they are rebuilt even when its index
// is damaged or gone. Another table's tags can only be read from its own index.
int reindex(const std::string& path)
{
    auto t = Table::open(path, OpenMode::Exclusive);
    if (postavo::hasAddressFields(t->fields())) {
        const std::string index = t->indexPath();
        const std::string damage = t->indexError();
        t->closeIndexes();
        removeFileIfExists(index);
        t->indexTags(postavo::addressTagSpecs());
        t->close();
        if (!damage.empty())
            std::cout << "replaced the damaged index (" << damage << ")\n";
        std::cout << "rebuilt " << postavo::kAddressTagCount << " address tags\n";
        return 0;
    }
    if (!t->indexError().empty()) {
        std::cerr << "postavo-db: " << path << ": the index cannot be read, so its tags cannot be rebuilt: "
                  << t->indexError() << '\n';
        return 1;
    }
    if (!t->hasIndex()) {
        std::cout << path << ": no index to rebuild\n";
        return 0;
    }
    const std::size_t before = t->tagCount();
    t->reindex();
    const std::size_t tags = t->tagCount();
    t->close();
    if (before == 0)
        std::cout << "the index held no tags: removed it\n";
    else
        std::cout << "rebuilt " << tags << " tags\n";
    return 0;
}

int recover(const std::string& path)
{
    const Table::Tail tail = Table::recover(path);
    if (tail.empty()) {
        std::cout << path << ": nothing past the last record\n";
        return 0;
    }
    std::cout << "adopted " << tail.wholeRecords << " records";
    if (tail.otherBytes)
        std::cout << ", dropped " << tail.otherBytes << " bytes of a partial record";
    std::cout << '\n';
    return 0;
}

int pack(const std::string& path)
{
    auto t = Table::open(path, OpenMode::Exclusive);
    const std::uint32_t before = t->recCount();
    t->pack();
    const std::uint32_t after = t->recCount();
    t->close();
    std::cout << "removed " << (before - after) << " deleted records, " << after << " remain\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc < 3)
            throw UsageError("missing command or file");
        const std::string command = argv[1];
        if (const int status = postavo::tools::runTransferCommand(command, argc, argv); status >= 0)
            return status;
        if (const int status = postavo::tools::runAddressCommand(command, argc, argv); status >= 0)
            return status;
        if (const int status = postavo::tools::runMaintenanceCommand(command, argc, argv); status >= 0)
            return status;
        if (const int status = postavo::tools::runRecordTextCommand(command, argc, argv); status >= 0)
            return status;
        const std::string file = argv[2];
        const Options o = parseOptions(argc, argv, 3);
        const bool takesKeys = command == "seek";
        if (!takesKeys && !o.rest.empty())
            throw UsageError("unexpected argument " + o.rest.front());
        if (command == "info") return info(file);
        if (command == "dump") return dump(file, o);
        if (command == "check") return check(file);
        if (command == "reindex") return reindex(file);
        if (command == "pack") return pack(file);
        if (command == "recover") return recover(file);
        if (command == "count") return count(file, o);
        if (command == "seek") return seek(file, o);
        throw UsageError("unknown command " + command);
    } catch (const UsageError& e) {
        std::cerr << "postavo-db: " << e.what() << '\n' << kUsage << postavo::tools::kAddressUsage << postavo::tools::kMaintenanceUsage << postavo::tools::kTransferUsage << postavo::tools::kRecordTextUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "postavo-db: " << e.what() << '\n';
        return 1;
    }
}
