// Times label printing and the bulk-mail presort on generated address files.
//
// Labels: a 3 x 10 letter sheet whose labels hold an address block and a POSTNET code (ZIP+4 with
// delivery point), printed for every record to a PDF file by `postavo-batch labels` (wall time
// and peak memory of the whole process), and in this process phase by phase so that the time per
// label splits into reading the record, composing the label, drawing it on the canvas and
// writing the PDF.
// Presort: `postavo-batch presort` over a file of a million records.
//
// usage: bench_label_print [--dir FOLDER] [--reuse] [--no-phases] [--presort N] [--no-presort] [N...]
//        (default label counts 10000 100000; presort of 1000000 records)
// --reuse keeps the generated address files in the folder and starts from them next time;
// --no-phases times only the whole batch run.
#include "addressfile.h"
#include "addressschema.h"
#include "canvasdevice.h"
#include "devices.h"
#include "labellayoutcatalogue.h"
#include "labelsetup.h"
#include "labelsurface.h"
#include "multilineobjects.h"
#include "postnetbarcode.h"
#include "printcanvas.h"
#include "printers.h"
#include "recordengine.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace postavo;

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

const char* kLast[] = {"SMITH", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis", "Rodriguez",
                       "Martinez", "Hernandez", "Lopez", "Gonzalez", "Wilson", "Anderson", "Thomas", "Taylor",
                       "Moore", "Jackson", "Martin", "Lee", "Perez", "Thompson", "White", "Harris"};
const char* kFirst[] = {"James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael", "Linda", "William",
                        "Elizabeth", "David", "Barbara", "Richard", "Susan", "Joseph", "Jessica"};
const char* kCity[] = {"Springfield", "Boston", "Austin", "Denver", "Portland", "Madison", "Salem", "Dover"};
const char* kState[] = {"MA", "TX", "CO", "OR", "WI", "NH", "NY", "NJ", "CA", "FL"};

std::string digits(std::uint32_t v, int n)
{
    std::string s = std::to_string(v);
    return std::string(size_t(std::max(0, n - int(s.size()))), '0') + s;
}

// An address list as mailing lists are: names, a street with a house number, city, state and a
// ZIP+4 code; one record in 200 without a usable zip code.
void fillRecord(engine::Table& t, std::uint32_t i, Rng& rng)
{
    t.replace("LNAME", std::string(kLast[i % 25]) + std::to_string(i % 9973));
    t.replace("FNAME", kFirst[rng.below(16)]);
    t.replace("MIDDLE", std::string(1, char('A' + rng.below(26))));
    t.replace("PREFIX", rng.below(2) ? "Mr." : "Ms.");
    if (rng.below(3) == 0)
        t.replace("TITLE", "Manager");
    if (rng.below(3) == 0)
        t.replace("ORG", "Org " + std::to_string(rng.below(20000)));
    t.replace("STREET", std::to_string(1 + rng.below(9998)) + " Main Street");
    if (rng.below(4) == 0)
        t.replace("STREET2", "Suite " + std::to_string(rng.below(900)));
    t.replace("CITY", kCity[rng.below(8)]);
    t.replace("STATE", kState[rng.below(10)]);
    if (i % 200 == 0)
        t.replace("ZIP", i % 400 == 0 ? "" : "K1A 0B1");
    else
        t.replace("ZIP", digits(rng.below(100000), 5) + "-" + digits(rng.below(10000), 4));
    t.replace("COUNTRY", "USA");
    t.replace("PHONE", "555-" + std::to_string(1000000 + rng.below(8999999)));
    t.replaceLogical("ISDEL", false);
}

struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double elapsed() const { return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(); }
};

void makeAddressFile(const std::string& path, std::uint32_t n, bool reuse)
{
    if (reuse && std::filesystem::exists(path))
        return;
    Stopwatch sw;
    engine::Table::create(path, addressFieldSpecs());
    auto t = engine::Table::open(path, engine::OpenMode::Exclusive);
    Rng rng{n};
    for (std::uint32_t i = 1; i <= n; ++i) {
        t->appendBlank();
        fillRecord(*t, i, rng);
    }
    t->commit();
    t->indexTags(addressTagSpecs());
    t->close();
    std::printf("  (generated %u records with their 26 tags in %.1f s)\n", n, sw.elapsed());
}

// The sheet: 3 x 10 on letter, labels wide enough for an 11-digit POSTNET code (2.821 inches).
labels::LabelSheetDefinition benchSheet()
{
    labels::LabelSheetDefinition d = labels::asUserDefined(labels::newLayoutDefaults());
    d.lblWidth = 2.83f;
    d.horizPitch = 2.83f;
    d.leftMarg = 0.01f;
    d.lblHeight = 1.0f;
    d.vertPitch = 1.0f;
    d.topMarg = 0.5f;
    return d;
}

bool makeProgramFolder(const QString& folder)
{
    QDir().mkpath(folder + "/sysdata");
    labels::LabelLayoutCatalogue catalogue(folder + "/sysdata/");
    QString error;
    if (!catalogue.open(&error))
        return false;
    if (catalogue.findByDescription("Bench address"))
        return true;
    labels::LabelSurface surface;
    auto* address = new design::TGDMultiLineAddressLabel;
    address->setBounds(8, 4, 250, 70);
    surface.insertObject(address);
    auto* bars = new design::TGPostNetBarCode;
    bars->ZipCodeField = "ZIP";
    bars->AddressField = "STREET";
    bars->BarCodeType = design::pnbc11Digit;
    bars->setBounds(0, 76, 271, 16);
    surface.insertObject(bars);
    labels::LabelLayoutRow row = catalogue.newLayout(benchSheet());
    row.description = "Bench address";
    if (!catalogue.save(row, surface, &error)) {
        std::fprintf(stderr, "bench_label_print: %s\n", qPrintable(error));
        return false;
    }
    return true;
}

// A target that takes every drawing and keeps nothing: what the label loop costs up to the
// device.
class NullDevice : public printing::CanvasDevice {
public:
    double dpiX() const override { return 1200; }
    double dpiY() const override { return 1200; }
    QSizeF pageSize() const override { return {8.5, 11}; }
    bool begin(const printing::JobInfo&, QString*) override { return true; }
    void newPage() override {}
    void draw(const printing::CanvasOp&) override { ++ops; }
    void end() override {}
    void abort() override {}
    long ops = 0;
};

struct ChildRun {
    double seconds = 0;
    double cpuSeconds = 0;  // user and system: what the run costs apart from a busy machine
    long maxRssKb = 0;
    int status = -1;
};

// Runs a program with its output kept in `log`, as a child process: its wall time and peak
// resident memory.
ChildRun runChild(const std::vector<std::string>& argv, const std::string& log)
{
    ChildRun r;
    std::fflush(stdout);
    Stopwatch sw;
    const pid_t pid = ::fork();
    if (pid == 0) {
        FILE* f = std::freopen(log.c_str(), "w", stdout);
        (void)f;
        ::dup2(STDOUT_FILENO, STDERR_FILENO);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    r.seconds = sw.elapsed();
    r.maxRssKb = usage.ru_maxrss;
    r.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                   + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string batchTool()
{
    return (QCoreApplication::applicationDirPath() + "/postavo-batch").toStdString();
}

void labelsBench(const std::string& dir, std::uint32_t n, bool reuse, bool phases)
{
    std::printf("== %u labels\n", n);
    const std::string data = dir + "/LABELS" + std::to_string(n) + ".DBF";
    makeAddressFile(data, n, reuse);
    const QString folder = QString::fromStdString(dir) + "/program";
    if (!makeProgramFolder(folder))
        return;
    const std::string pdf = dir + "/labels" + std::to_string(n) + ".pdf";

    // The whole run as the batch tool makes it.
    const ChildRun whole = runChild({batchTool(), "labels", "--folder", folder.toStdString(), "--layout",
                                     "Bench address", "--data", data, "--pdf", pdf},
                                    dir + "/labels.log");
    if (whole.status != 0) {
        std::printf("postavo-batch labels failed (%d); see %s/labels.log\n", whole.status, dir.c_str());
        return;
    }
    std::printf("postavo-batch labels to PDF  %8.3f s (CPU %.3f s, %.1f us/label)  peak %6.1f MB  PDF %6.1f MB\n",
                whole.seconds, whole.cpuSeconds, whole.cpuSeconds / n * 1e6, whole.maxRssKb / 1024.0,
                double(std::filesystem::file_size(pdf)) / (1024.0 * 1024.0));

    if (!phases) {
        std::filesystem::remove(pdf);
        return;
    }
    // Phase by phase in this process.
    AddressTable table;
    QString error;
    if (!table.openShared(QString::fromStdString(data), true, &error)) {
        std::printf("%s\n", qPrintable(error));
        return;
    }
    table.setExtraFields(true);
    table.setFilter("!ISDEL");
    table.setOrder("LNAME");
    labels::LabelLayoutCatalogue catalogue(folder + "/sysdata/");
    catalogue.open(&error);
    const labels::LabelLayoutRow layout = *catalogue.findByDescription("Bench address");
    struct QuietUi : labels::LabelRunUi {
        void showInformation(const QString& t) override { std::printf("  message: %s\n", qPrintable(t)); }
        bool askYesNo(const QString&, const QString&) override { return true; }
    } ui;
    labels::LabelSetup setup(table, catalogue, ui, folder);
    const QStringList used = {"PREFIX", "FNAME", "MIDDLE", "LNAME", "TITLE", "ORG", "STREET", "STREET2",
                              "CITY", "STATE", "ZIP", "COUNTRY"};

    auto timeRun = [&](printing::CanvasDevice* device) {
        auto run = setup.prepareRun(layout, nullptr);
        printing::TPrintCanvas canvas;
        canvas.setDevice(device);
        const bool stop = false;
        Stopwatch sw;
        canvas.execute(nullptr, [&](printing::TPrintCanvas& c) { run->printer().printLabels(c, stop); });
        return sw.elapsed();
    };

    // Reading: move record by record in the run's order and read what the layout shows.
    double reading = 0;
    {
        auto run = setup.prepareRun(layout, nullptr);
        engine::Table* t = table.engineTable();
        qsizetype chars = 0;
        Stopwatch sw;
        for (; !t->eof(); t->skip(1))
            for (const QString& f : used)
                chars += table.value(f).size();
        reading = sw.elapsed();
        (void)chars;
    }
    // Composing: the layout's objects filled from each record (address lines, POSTNET digits).
    double composing = 0;
    {
        auto run = setup.prepareRun(layout, nullptr);
        engine::Table* t = table.engineTable();
        run->surface().setPrinting(true);
        Stopwatch sw;
        for (; !t->eof(); t->skip(1))
            run->surface().refreshObjects();
        composing = sw.elapsed();
    }
    NullDevice null;
    const double drawing = timeRun(&null);
    const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF());
    printing::PdfFileDevice pdfDevice(QString::fromStdString(pdf), letter);
    const double writing = timeRun(&pdfDevice);
    const double us = 1e6 / n;
    std::printf("in process: read %.3f s, +compose %.3f s, +draw %.3f s (%ld canvas ops), +PDF %.3f s\n", reading,
                composing, drawing, null.ops, writing);
    std::printf("per label:  reading %6.1f us | composing %6.1f us | drawing %6.1f us | PDF writing %6.1f us\n",
                reading * us, std::max(0.0, composing - reading) * us, std::max(0.0, drawing - composing) * us,
                std::max(0.0, writing - drawing) * us);
    table.close();
    std::filesystem::remove(pdf);
}

void presortBench(const std::string& dir, std::uint32_t n, bool reuse)
{
    std::printf("== presort of %u records\n", n);
    const std::string data = dir + "/PRESORT" + std::to_string(n) + ".DBF";
    makeAddressFile(data, n, reuse);
    const std::string out = dir + "/PRESORT.PSL";
    const ChildRun r = runChild({batchTool(), "presort", "--data", data, "--out", out}, dir + "/presort.log");
    if (r.status != 0) {
        std::printf("postavo-batch presort failed (%d); see %s/presort.log\n", r.status, dir.c_str());
        return;
    }
    std::vector<std::string> lines;
    QString error;
    labels::readPresortFile(QString::fromStdString(out), &lines, &error);
    std::printf("postavo-batch presort        %8.3f s (CPU %.3f s)  peak %6.1f MB  file %zu lines\n", r.seconds,
                r.cpuSeconds, r.maxRssKb / 1024.0, lines.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure as soon as it is known
    std::string dir = std::filesystem::temp_directory_path().string() + "/bench_label_print";
    std::vector<std::uint32_t> sizes;
    std::uint32_t presortSize = 1000000;
    bool reuse = false;
    bool phases = true;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString a = args[i];
        if (a == "--dir" && i + 1 < args.size())
            dir = args[++i].toStdString();
        else if (a == "--reuse")
            reuse = true;
        else if (a == "--presort" && i + 1 < args.size())
            presortSize = args[++i].toUInt();
        else if (a == "--no-phases")
            phases = false;
        else if (a == "--no-presort")
            presortSize = 0;
        else
            sizes.push_back(a.toUInt());
    }
    if (sizes.empty())
        sizes = {10000, 100000};
    std::filesystem::create_directories(dir);
    try {
        for (std::uint32_t n : sizes)
            labelsBench(dir, n, reuse, phases);
        if (presortSize > 0)
            presortBench(dir, presortSize, reuse);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_label_print: %s\n", e.what());
        return 1;
    }
    return 0;
}
