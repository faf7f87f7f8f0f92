// Times the maintenance passes on a generated address file (23 fields, 26 tags, made as in
// bench_engine): the state and zip check, the three exact duplicate kinds, the similar kind, and
// a case conversion of three fields. Each pass runs as its window runs it (subset index
// included) with a progress step that is called as the window's would be.
//
// usage: bench_utilities [--dir FOLDER] [--keep] [--reuse] [--only PHASES] [N]   (default 1000000)
// PHASES names some of state, exact, similar, convert (for example "exact,convert").
// --reuse starts from a file a --keep run left in the folder.
#include "addressfile.h"
#include "bulkedits.h"
#include "duplicatecheck.h"
#include "nearduplicates.h"
#include "recordengine.h"
#include "shippedcatalogues.h"
#include "shippedtables.h"
#include "statezipcheck.h"

#include <QDir>
#include <QFile>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

using namespace postavo;
using namespace postavo::engine;

namespace {

struct Rng {
    std::uint64_t s;
    std::uint32_t next()
    {
        s = s * 6364136223846793005ull + 1442695040888963407ull;
        return std::uint32_t(s >> 33);
    }
    std::uint32_t below(std::uint32_t n) { return next() % n; }
};

const char* kLast[] = {"Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis", "Rodriguez",
                       "Martinez", "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor",
                       "Moore", "Jackson", "Martin", "Lee", "Perez", "Thompson", "White", "Harris"};
const char* kFirst[] = {"James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael", "Linda", "William",
                        "Elizabeth", "David", "Barbara", "Richard", "Susan", "Joseph", "Jessica"};
const char* kStreet[] = {"Main", "Oak", "Maple", "N Cedar", "Elm", "Park", "Second", "Washington", "Lake", "Hill",
                         "Church", "Mill", "Pine", "Walnut", "Spring", "Ridge", "River", "Forest", "Sunset", "Union"};
const char* kSuffix[] = {"Street", "Avenue", "Road", "Lane", "St", "Blvd", "Dr", "Court", "Way", "Place"};

struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    const char* text() const
    {
        static char s[64];
        std::snprintf(s, sizeof s, "%8.3f s  (cpu %7.3f s)",
                      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
                      double(std::clock() - cpu) / CLOCKS_PER_SEC);
        return s;
    }
};

// Records mostly right: 97 % of them have a state with a zip of its own, 2 % repeat an earlier
// record (some with a nickname or a spelled-out street), 1 % are deleted.
void generate(const std::string& path, std::uint32_t n, const QList<CszRow>& states)
{
    std::vector<FieldSpec> fields;
    for (const AddressFieldDef& f : addressFields())
        fields.push_back({f.name, f.type, f.defaultWidth, 0});
    Table::create(path, fields);
    auto t = Table::open(path, OpenMode::Exclusive);
    Rng rng{n};
    for (std::uint32_t i = 1; i <= n; ++i) {
        t->appendBlank();
        const bool copy = i > 100 && rng.below(50) == 0;
        Rng& r = rng;
        const std::uint32_t person = copy ? i - 1 - r.below(std::min<std::uint32_t>(i - 1, 5000)) : i;
        Rng p{person};
        const std::string last = std::string(kLast[p.below(25)]) + std::to_string(p.below(400000));
        const std::string first = kFirst[p.below(16)];
        const std::string street = std::to_string(1 + p.below(99999)) + " " + kStreet[p.below(20)] + " " +
                                   kSuffix[p.below(10)];
        const CszRow& st = states[qsizetype(p.below(std::uint32_t(states.size()) - 13))];  // US rows
        std::string zip = st.lowZip.toStdString();
        if (p.below(33) == 0)
            zip = std::to_string(10000 + p.below(89999));  // a wrong one
        t->replace("LNAME", last);
        t->replace("FNAME", copy && r.below(3) == 0 ? first.substr(0, 3) : first);
        t->replace("STREET", copy && r.below(3) == 0 ? street + " Apt 1" : street);
        t->replace("CITY", "Springfield");
        t->replace("STATE", st.state.toStdString());
        t->replace("ZIP", zip);
        t->replace("COUNTRY", "USA");
        t->replace("PHONE", "555-" + std::to_string(1000000 + r.below(8999999)));
        t->replace("ORG", "Org " + std::to_string(r.below(20000)));
        t->replaceLogical("ISDEL", false);
        if (i % 100 == 7) {
            t->replaceLogical("ISDEL", true);
            t->deleteRecord();
        }
    }
    t->commit();
    std::vector<TagSpec> tags;
    for (const AddressTagDef& d : addressTags())
        tags.push_back({d.name, d.key});
    t->indexTags(tags);
    t->close();
}

PassStep counting(quint64* calls)
{
    return [calls](const PassProgress&) {
        ++*calls;
        return true;
    };
}

} // namespace

int main(int argc, char** argv)
{
    std::string dir = std::filesystem::temp_directory_path().string();
    std::uint32_t n = 1000000;
    bool keep = false, reuse = false;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--dir" && i + 1 < argc)
            dir = argv[++i];
        else if (a == "--keep")
            keep = true;
        else if (a == "--reuse")
            reuse = true;
        else if (a == "--only" && i + 1 < argc)
            only = argv[++i];
        else
            n = std::uint32_t(std::stoul(a));
    }
    const QString csv = QStringLiteral(POSTAVO_DATA_DIR "/csz.csv");
    const ShippedRead<CszRow> states = readCszCsv(csv);
    if (!states.ok()) {
        std::fprintf(stderr, "%s\n", states.error.toLocal8Bit().constData());
        return 1;
    }
    const std::string path = dir + "/UTIL" + std::to_string(n) + ".DBF";
    const std::string pristine = dir + "/UTIL" + std::to_string(n) + "-pristine";
    namespace fs = std::filesystem;
    std::printf("== %u records\n", n);
    if (!(reuse && fs::exists(pristine + ".DBF"))) {
        Stopwatch w;
        generate(path, n, states.rows);
        std::printf("generate with 26 tags           %s\n", w.text());
        for (const char* ext : {".DBF", ".fpt", ".cdx"}) {
            fs::remove(pristine + ext);
            fs::copy_file(path.substr(0, path.size() - 4) + ext, pristine + ext);
        }
    } else {
        for (const char* ext : {".DBF", ".fpt", ".cdx"}) {
            fs::remove(path.substr(0, path.size() - 4) + ext);
            fs::copy_file(pristine + ext, path.substr(0, path.size() - 4) + ext);
        }
    }

    AddressTable table;
    QString error;
    if (!table.open(QString::fromStdString(path), &error)) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return 1;
    }
    table.setFilter(QStringLiteral("!ISDEL"));
    const QString folder = QString::fromStdString(dir);
    const QString sysdata = folder + QStringLiteral("/bench-sysdata");
    QDir().mkpath(sysdata);
    QFile::remove(sysdata + "/CSZ.DBF");
    QFile::remove(sysdata + "/CSZ.cdx");
    buildShippedTables(QStringLiteral(POSTAVO_DATA_DIR), sysdata, &error);

    auto wanted = [&](const char* phase) { return only.empty() || only.find(phase) != std::string::npos; };
    quint64 calls = 0;
    if (wanted("state")) {
        StateZipCheck check(table, sysdata);
        Stopwatch w;
        QString message;
        check.run(false, counting(&calls), &message);
        std::printf("state and zip check (%zu found) %s  %llu steps %s\n", check.outcome().found.size(), w.text(),
                    calls, message.toLocal8Bit().constData());
        check.close();
    }
    for (DuplicateKind kind : {DuplicateKind::LastFirst, DuplicateKind::LastFirstInitial, DuplicateKind::Street,
                               DuplicateKind::Similar}) {
        if (!wanted(kind == DuplicateKind::Similar ? "similar" : "exact"))
            continue;
        calls = 0;
        table.setOrder(QStringLiteral("LNAME"));
        DuplicateCheck check(table, folder);
        Stopwatch w;
        QString message;
        check.run(kind, 30, counting(&calls), &message);
        std::printf("duplicates %-28s %s  %zu pairs, %llu steps\n",
                    duplicates::kindCaption(kind).remove('&').toLocal8Bit().constData(), w.text(),
                    check.outcome().pairs.size(), calls);
        check.close();
    }
    if (wanted("convert")) {
        calls = 0;
        Stopwatch w;
        // The last step comes when every record is posted; what follows waits for the disk.
        double passed = 0;
        const BulkOutcome o = convertCaseOfRecords(
            table, {QStringLiteral("LNAME"), QStringLiteral("FNAME"), QStringLiteral("CITY")}, CaseConversion::Upper,
            false, [&](const PassProgress& p) {
                ++calls;
                if (p.done >= p.total)
                    passed = std::chrono::duration<double>(std::chrono::steady_clock::now() - w.wall).count();
                return true;
            });
        std::printf("convert case of 3 fields         %s  %llu of %llu changed, %llu steps; posted after %.3f s\n",
                    w.text(), o.changed, o.visited, calls, passed);
    }
    table.close();
    if (!keep)
        for (const char* ext : {".DBF", ".fpt", ".cdx"})
            fs::remove(path.substr(0, path.size() - 4) + ext);
    return 0;
}
