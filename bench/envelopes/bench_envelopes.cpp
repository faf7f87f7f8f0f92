// bench_envelopes [N] [--dir FOLDER] [--keep]: N envelopes (10 000 by default) of a business
// layout (return address, address block, POSTNET, FIM, Intelligent Mail barcode) printed from an
// address file of N generated records into a PDF file, as the envelope window and the batch tool
// do it. Prints the time, the resident memory every tenth of the way, and where the time goes:
// the same job without the PDF file (the canvas's operations thrown away), and the walk over the
// records alone.
#include "addressfields.h"
#include "addressfile.h"
#include "benchmeasure.h"
#include "canvasdevice.h"
#include "datasurface.h"
#include "devices.h"
#include "envelopejob.h"
#include "fimbarcode.h"
#include "intelligentmailbarcode.h"
#include "multilineobjects.h"
#include "postnetbarcode.h"
#include "printcanvas.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace postavo;
using namespace postavo::envelopes;
using namespace postavo::bench;

namespace {

bool makeRecords(const QString& path, int n)
{
    QuietUi ui;
    if (!CreateAddressFile(path, defaultFieldLengths(), ui))
        return false;
    AddressTable t;
    if (!t.open(path))
        return false;
    static const char* first[] = {"Ada", "Charles", "Grace", "Alan", "Edsger", "Barbara", "Donald", "Frances"};
    static const char* last[] = {"Lovelace", "Babbage", "Hopper", "Turing", "Dijkstra", "Liskov", "Knuth", "Allen"};
    static const char* city[] = {"Springfield", "Boston", "Arlington", "Portland", "Madison", "Austin"};
    static const char* state[] = {"IL", "MA", "VA", "OR", "WI", "TX"};
    for (int i = 0; i < n; ++i) {
        if (!t.insert())
            return false;
        t.setValue(QStringLiteral("FNAME"), QString::fromLatin1(first[i % 8]));
        t.setValue(QStringLiteral("LNAME"), QString::fromLatin1(last[(i / 8) % 8]));
        t.setValue(QStringLiteral("STREET"), QStringLiteral("%1 Main St Apt %2").arg(100 + i % 900).arg(i % 40));
        t.setValue(QStringLiteral("CITY"), QString::fromLatin1(city[i % 6]));
        t.setValue(QStringLiteral("STATE"), QString::fromLatin1(state[i % 6]));
        t.setValue(QStringLiteral("ZIP"), QStringLiteral("%1-%2").arg(10000 + (i * 37) % 89999, 5, 10, QLatin1Char('0'))
                                              .arg(1000 + i % 8999, 4, 10, QLatin1Char('0')));
        if (!t.post())
            return false;
    }
    t.close();
    return true;
}

void addLayout(design::DesignHost& s)
{
    using namespace postavo::design;
    auto* from = new TGMultiLineLabel;
    from->Items = {QStringLiteral("Postavo Mailing Co."), QStringLiteral("400 Return Lane"), QStringLiteral("Portland OR 97201")};
    from->setBounds(24, 24, 240, 60);
    s.insertObject(from);
    auto* to = new TGDMultiLineAddressLabel;
    to->setBounds(384, 182, 360, 90);
    s.insertObject(to);
    auto* postnet = new TGPostNetBarCode;
    postnet->ZipCodeField = QStringLiteral("ZIP");
    postnet->AddressField = QStringLiteral("STREET");
    postnet->setBounds(384, 290, 270, 16);
    s.insertObject(postnet);
    auto* fim = new TGFIMBarCode;
    fim->setBounds(634, 0, 60, 54);
    s.insertObject(fim);
    auto* imb = new TGIntelligentMailBarCode;
    imb->ServiceType = QStringLiteral("700");
    imb->MailerIdentifier = QStringLiteral("123456");
    imb->SerialNumber = QStringLiteral("000000001");
    imb->ZipCodeField = QStringLiteral("ZIP");
    imb->AddressField = QStringLiteral("STREET");
    imb->setBounds(384, 320, 282, 14);
    s.insertObject(imb);
}

// Takes every operation and keeps none: the job's cost without the PDF file.
class DiscardDevice : public printing::CanvasDevice {
public:
    double dpiX() const override { return 1200; }
    double dpiY() const override { return 1200; }
    QSizeF pageSize() const override { return {9.5, 4.125}; }
    bool begin(const printing::JobInfo&, QString*) override { return true; }
    void newPage() override { ++pages; }
    void draw(const printing::CanvasOp&) override { ++ops; }
    void end() override {}
    void abort() override {}
    long pages = 1, ops = 0;
};

struct Outcome {
    double seconds = 0;
    double cpu = 0;
    int printed = 0;
    std::vector<long> memory; // resident kB every tenth of the way
};

Outcome runJob(AddressTable& table, printing::CanvasDevice& device, int n)
{
    QObject owner;
    design::DataSurface surface(&owner);
    addLayout(surface);
    surface.setDataset(&table);
    EnvelopeJob job;
    job.records = RecordChoice::All;
    EnvelopeRun run(surface, table, job);
    QString notice, error;
    Outcome o;
    if (!run.position(0, &notice, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return o;
    }
    printing::TPrintCanvas canvas;
    canvas.setDevice(&device);
    const bool stop = false;
    int seen = 0;
    const int tenth = std::max(1, n / 10);
    QElapsedTimer t;
    t.start();
    const double cpu0 = cpuSeconds();
    canvas.execute([](printing::TPrintCanvas&) {},
                   [&](printing::TPrintCanvas& c) {
                       run.run(c, stop, [&] {
                           if (++seen % tenth == 0)
                               o.memory.push_back(residentKb());
                       });
                   });
    o.seconds = t.nsecsElapsed() / 1e9;
    o.cpu = cpuSeconds() - cpu0;
    o.printed = run.printed();
    return o;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString dir;
    const int at = args.indexOf(QStringLiteral("--dir"));
    if (at >= 0 && at + 1 < args.size()) {
        dir = args.at(at + 1);
        args.remove(at, 2);
    }
    const bool keep = args.removeAll(QStringLiteral("--keep")) > 0;
    const int n = args.isEmpty() ? 10000 : args.first().toInt();
    QTemporaryDir temp;
    if (dir.isEmpty())
        dir = temp.path();
    temp.setAutoRemove(!keep);
    QDir().mkpath(dir);
    const QString data = dir + QStringLiteral("/add0001.DBF");
    const QString pdf = dir + QStringLiteral("/envelopes.pdf");

    QElapsedTimer t;
    t.start();
    if (!QFileInfo::exists(data) && !makeRecords(data, n)) {
        std::fprintf(stderr, "cannot make %s\n", qPrintable(data));
        return 1;
    }
    std::printf("address file of %d records ready in %.2f s\n", n, t.nsecsElapsed() / 1e9);
    AddressTable table;
    QString error;
    if (!table.openShared(data, true, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const long before = residentKb();

    // The walk over the records alone.
    t.restart();
    const double walkCpu0 = cpuSeconds();
    int walked = 0;
    for (bool ok = table.first(); ok && table.hasRecord(); ok = table.next())
        walked += hasPostalAddress(table) ? 1 : 0;
    const double walk = t.nsecsElapsed() / 1e9;
    const double walkCpu = cpuSeconds() - walkCpu0;

    DiscardDevice discard;
    const Outcome noPdf = runJob(table, discard, n);

    const QPageLayout page(QPageSize(QPageSize::Envelope10), QPageLayout::Landscape, QMarginsF());
    printing::PdfFileDevice device(pdf, page);
    const Outcome full = runJob(table, device, n);

    std::printf("                            count    elapsed   processor\n");
    std::printf("records walked:             %6d  %6.3f s  %6.3f s\n", walked, walk, walkCpu);
    std::printf("envelopes, operations only: %6d  %6.3f s  %6.3f s  (%ld drawing operations)\n", noPdf.printed,
                noPdf.seconds, noPdf.cpu, discard.ops);
    std::printf("envelopes to PDF:           %6d  %6.3f s  %6.3f s  (%.0f envelopes/s elapsed), %lld bytes\n",
                full.printed, full.seconds, full.cpu, full.printed / std::max(full.seconds, 1e-9), QFileInfo(pdf).size());
    std::printf("processor time: records %.0f %%, objects and canvas %.0f %%, PDF writing %.0f %%\n",
                100 * walkCpu / full.cpu, 100 * (noPdf.cpu - walkCpu) / full.cpu, 100 * (full.cpu - noPdf.cpu) / full.cpu);
    std::printf("resident memory before: %ld kB; during the PDF job, every tenth:", before);
    for (long kb : full.memory)
        std::printf(" %ld", kb);
    std::printf(" kB\n");
    if (keep)
        std::printf("kept %s\n", qPrintable(dir));
    return full.printed == walked ? 0 : 1;
}
