// Times the report runs on generated address files (23 fields, 26 tags, deterministic data):
//   report  built-in report 1 over N records to a PDF file (default 100 000 records), with the
//           time split into reading the records, laying out the pages (canvas without a target)
//           and writing the PDF, and the resident memory sampled as the pages stream out;
//   report4 built-in report 4 with memos and codes over the same file;
//   zip     the zip code count over M records (default 1 000 000), reading pass and sort apart.
//
// usage: bench_reports [--dir FOLDER] [--keep] [--only PHASE[,PHASE...]] [--report N] [--zip M]
// --keep leaves the generated files (BENCHRPTn.DBF ...) and the PDFs in the folder; a file
// already there from an earlier --keep is used again.
#include "addressfields.h"
#include "addressfile.h"
#include "builtinreports.h"
#include "canvasdevice.h"
#include "devices.h"
#include "engine/recordengine.h"
#include "filters.h"
#include "printcanvas.h"
#include "reportjobs.h"
#include "zipcount.h"
#include "zipreport.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

using namespace postavo;
using namespace postavo::reports;

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

const char* kLast[] = {"SMITH", "Johnson", "Williams", "brown", "Jones", "Garcia", "Miller", "Davis", "Rodriguez",
                       "Martinez", "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor",
                       "Moore", "Jackson", "Martin", "Lee", "Perez", "Thompson", "White", "Harris"};
const char* kFirst[] = {"James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael", "Linda", "William",
                        "Elizabeth", "David", "Barbara", "Richard", "Susan", "Joseph", "Jessica"};
const char* kCity[] = {"Springfield", "Boston", "Austin", "Denver", "Portland", "Madison", "Salem", "Dover"};
const char* kState[] = {"MA", "TX", "CO", "OR", "WI", "NH", "NY", "NJ", "CA", "FL"};

struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    double wallSeconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double cpuSeconds() const { return double(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

void line(const char* what, const Stopwatch& w)
{
    std::printf("  %-44s %8.3f s  (cpu %7.3f s)\n", what, w.wallSeconds(), w.cpuSeconds());
    std::fflush(stdout);
}

long residentKb()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// An address file of n records like those of the record engine's benchmark, with a memo on every
// 20th record (every 200th a long one) and zips of every kind the count tells apart.
void generate(const std::string& path, std::uint32_t n)
{
    namespace fs = std::filesystem;
    if (fs::exists(path))
        return;
    Stopwatch w;
    std::vector<engine::FieldSpec> fields;
    for (const auto& f : addressFields())
        fields.push_back({f.name, f.type, f.type == 'L' ? 1 : f.defaultWidth, 0});
    engine::Table::create(path, fields);
    auto t = engine::Table::open(path, engine::OpenMode::Exclusive);
    Rng rng{n};
    for (std::uint32_t i = 1; i <= n; ++i) {
        t->appendBlank();
        t->replace("LNAME", std::string(kLast[i % 25]) + std::to_string(i % 9973));
        t->replace("FNAME", kFirst[rng.below(16)]);
        t->replace("MIDDLE", std::string(1, char('A' + rng.below(26))));
        t->replace("PREFIX", rng.below(2) ? "Mr." : "Ms.");
        t->replace("TITLE", "Title " + std::to_string(rng.below(500)));
        t->replace("ORG", "Organization " + std::to_string(rng.below(20000)));
        t->replace("STREET", std::to_string(rng.below(9999)) + " Main Street");
        t->replace("CITY", kCity[rng.below(8)]);
        t->replace("STATE", kState[rng.below(10)]);
        const std::uint32_t kind = rng.below(100);
        std::string zip = std::to_string(10000 + rng.below(89999));
        if (kind == 0)
            zip.clear();
        else if (kind == 1)
            zip = "K1A 0B1";
        else if (kind < 10)
            zip += "-" + std::to_string(1000 + rng.below(8999));
        t->replace("ZIP", zip);
        t->replace("COUNTRY", "USA");
        t->replace("DATE", std::to_string(19500101 + rng.below(700000)));
        t->replace("PHONE", "555-" + std::to_string(1000000 + rng.below(8999999)));
        if (rng.below(3) == 0)
            t->replace("FAX", "555-" + std::to_string(1000000 + rng.below(8999999)));
        t->replace("EMAIL", "user" + std::to_string(i) + "@example.com");
        static const char* codes[] = {"ABC", "XYZ", "c", "QRS", "", "CD"};
        t->replace("CODES", codes[rng.below(6)]);
        t->replaceLogical("ISDEL", false);
        if (i % 20 == 0) {
            std::string memo = "Memo of record " + std::to_string(i) + ": called about the renewal.";
            if (i % 200 == 0)
                for (int k = 0; k < 30; ++k)
                    memo += " Follow-up number " + std::to_string(k) + " noted, with a few more words to wrap.";
            t->replace("MEMO", memo);
        }
    }
    t->commit();
    std::vector<engine::TagSpec> tags;
    for (const auto& tag : addressTags())
        tags.emplace_back(tag.name, tag.key);
    t->indexTags(tags);
    t->close();
    std::printf("  generated %u records in %s (%.1f s)\n", n, path.c_str(), w.wallSeconds());
}

// A canvas target that lays nothing out anywhere: what remains is the canvas's own work.
class NullDevice : public printing::CanvasDevice {
public:
    double dpiX() const override { return 1200; }
    double dpiY() const override { return 1200; }
    QSizeF pageSize() const override { return QSizeF(8.5, 11); }
    bool begin(const printing::JobInfo&, QString*) override { return true; }
    void newPage() override { ++pages; }
    void draw(const printing::CanvasOp&) override { ++ops; }
    void end() override {}
    void abort() override {}
    long pages = 1, ops = 0;
};

void runBuiltIn(const std::string& dir, const std::string& data, int report, bool memoAndCodes, bool keep)
{
    std::printf("== built-in report %d%s over %s\n", report, memoAndCodes ? " with memos and codes" : "", data.c_str());
    AddressTable table;
    QString error;
    if (!table.openShared(QString::fromStdString(data), true, &error)) {
        std::printf("cannot open: %s\n", qPrintable(error));
        return;
    }
    table.setFilter(appliedFilterExpression(QString()));
    BuiltInReportOptions options;
    options.report = report;
    options.title = defaultReportTitle(report);
    options.printMemo = memoAndCodes;
    options.printCodes = memoAndCodes;
    const bool stop = false;

    {
        Stopwatch w;
        BuiltInReportJob job(table, options, {RecordChoice::All, false});
        job.prepare({});
        TableRecords records(table, memoAndCodes);
        long n = 0;
        for (; !records.atEnd(); records.next()) {
            (void)records.current();
            ++n;
        }
        char what[96];
        std::snprintf(what, sizeof what, "reading %ld records in LNAME order", n);
        line(what, w);
    }
    {
        Stopwatch w;
        BuiltInReportJob job(table, options, {RecordChoice::All, false});
        job.prepare({});
        NullDevice device;
        printing::TPrintCanvas canvas;
        canvas.setDevice(&device);
        canvas.execute({}, [&](printing::TPrintCanvas& c) { job.body(c, stop); });
        char what[96];
        std::snprintf(what, sizeof what, "read + lay out %ld pages (%ld drawings)", device.pages, device.ops);
        line(what, w);
    }
    const std::string pdf = dir + "/BENCHRPT-report" + std::to_string(report) + (memoAndCodes ? "-memo" : "") + ".pdf";
    {
        const long before = residentKb();
        long at10 = 0, peak = 0, count = 0;
        Stopwatch w;
        BuiltInReportJob job(table, options, {RecordChoice::All, false});
        job.prepare({});
        const long total = long(table.visibleCount());
        printing::PdfFileDevice device(QString::fromStdString(pdf),
                                       QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
        printing::TPrintCanvas canvas;
        canvas.setDevice(&device);
        canvas.execute({}, [&](printing::TPrintCanvas& c) {
            job.body(c, stop, [&] {
                if (++count % 1000 == 0) {
                    const long kb = residentKb();
                    peak = std::max(peak, kb);
                    if (at10 == 0 && count >= total / 10)
                        at10 = kb;
                }
            });
        });
        char what[96];
        std::snprintf(what, sizeof what, "read + lay out + PDF, %d pages", canvas.pageNumber());
        line(what, w);
        std::printf("  resident memory: %ld MB before, %ld MB after 10%% of the records, %ld MB peak; PDF %.1f MB\n",
                    before / 1024, at10 / 1024, peak / 1024, QFileInfo(QString::fromStdString(pdf)).size() / 1048576.0);
    }
    if (!keep)
        QFile::remove(QString::fromStdString(pdf));
}

void runZip(const std::string& data, bool keep, const std::string& dir)
{
    std::printf("== zip code count over %s\n", data.c_str());
    AddressTable table;
    QString error;
    if (!table.openShared(QString::fromStdString(data), true, &error)) {
        std::printf("cannot open: %s\n", qPrintable(error));
        return;
    }
    table.setFilter(appliedFilterExpression(QString()));
    for (int round = 0; round < 2; ++round) {
        ZipCount count;
        Stopwatch w;
        countZipCodes(table, &count, {});
        line(round == 0 ? "reading pass (first, cold cache)" : "reading pass (again)", w);
        Stopwatch s;
        const QStringList lines = count.reportLines();
        line("sorting and report lines", s);
        std::printf("  %lld records: %zu zip codes, %zu other keys, %lld blank; %lld lines\n",
                    static_cast<long long>(count.total()), count.valid().keyCount(), count.others().size(),
                    static_cast<long long>(count.blank()), static_cast<long long>(lines.size()));
        if (round == 1) {
            Stopwatch p;
            const std::string pdf = dir + "/BENCHRPT-zip.pdf";
            printing::PdfFileDevice device(QString::fromStdString(pdf),
                                           QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()));
            printing::TPrintCanvas canvas;
            canvas.setDevice(&device);
            const bool stop = false;
            canvas.execute({}, [&](printing::TPrintCanvas& c) { printZipReport(c, lines, stop); });
            char what[96];
            std::snprintf(what, sizeof what, "printing the counts, %d pages", canvas.pageNumber());
            line(what, p);
            if (!keep)
                QFile::remove(QString::fromStdString(pdf));
        }
    }
    // The filtered pass: a condition on another field too.
    table.setFilter(appliedFilterExpression(QStringLiteral("\"C\"$UPPER(CODES)")));
    ZipCount count;
    Stopwatch w;
    countZipCodes(table, &count, {});
    char what[96];
    std::snprintf(what, sizeof what, "reading pass under a filter (%lld match)", static_cast<long long>(count.total()));
    line(what, w);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::string dir = std::filesystem::temp_directory_path().string();
    bool keep = false;
    std::uint32_t reportSize = 100000, zipSize = 1000000;
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--dir" && i + 1 < argc)
            dir = argv[++i];
        else if (a == "--keep")
            keep = true;
        else if (a == "--report" && i + 1 < argc)
            reportSize = std::uint32_t(std::strtoul(argv[++i], nullptr, 10));
        else if (a == "--zip" && i + 1 < argc)
            zipSize = std::uint32_t(std::strtoul(argv[++i], nullptr, 10));
        else if (a == "--only" && i + 1 < argc) {
            const QStringList list = QString::fromLocal8Bit(argv[++i]).split(QLatin1Char(','));
            for (const QString& p : list)
                only.push_back(p.toStdString());
        } else {
            std::fprintf(stderr, "usage: bench_reports [--dir FOLDER] [--keep] [--only report,report4,zip] "
                                 "[--report N] [--zip M]\n");
            return 2;
        }
    }
    auto wanted = [&](const char* p) { return only.empty() || std::find(only.begin(), only.end(), p) != only.end(); };
    auto fileFor = [&](std::uint32_t n) { return dir + "/BENCHRPT" + std::to_string(n) + ".DBF"; };
    std::vector<std::string> made;
    try {
        if (wanted("report") || wanted("report4")) {
            const std::string data = fileFor(reportSize);
            const bool existed = std::filesystem::exists(data);
            generate(data, reportSize);
            if (!existed)
                made.push_back(data);
            if (wanted("report"))
                runBuiltIn(dir, data, 1, false, keep);
            if (wanted("report4"))
                runBuiltIn(dir, data, 4, true, keep);
        }
        if (wanted("zip")) {
            const std::string data = fileFor(zipSize);
            const bool existed = std::filesystem::exists(data);
            generate(data, zipSize);
            if (!existed)
                made.push_back(data);
            runZip(data, keep, dir);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_reports: %s\n", e.what());
        return 1;
    }
    if (!keep)
        for (const std::string& data : made)
            // Memo and index files under either case of their extension.
            for (const char* ext : {".DBF", ".FPT", ".CDX", ".fpt", ".cdx"})
                std::filesystem::remove(data.substr(0, data.size() - 4) + ext);
    return 0;
}
