// Fuzz target: any bytes as a banded report's file. Reading may tell of problems; anything that
// crashes, hangs or reads out of bounds is a fault. Whatever was read (settings brought into
// their ranges) must write back in a form that reads again without a problem to the same
// settings, and must print a few records in a bounded number of pages.

#include "bandedreportprint.h"
#include "designhost.h"
#include "devices.h"
#include "labelobjectfiler.h"
#include "layoutstream.h"
#include "printcanvas.h"
#include "reportfile.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>

using namespace postavo;
using namespace postavo::reports;

namespace {

void ensureApplication()
{
    static QGuiApplication* app = nullptr;
    if (app)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_report_file";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
}

struct Bands {
    QObject owner;
    design::ObjectList header{&owner}, detail{&owner}, footer{&owner};
    ~Bands()
    {
        for (design::ObjectList* b : {&header, &detail, &footer})
            b->freeAllObjects();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureApplication();
    Bands first;
    ReportVars vars = ReportVars::defaults(96);
    const ReportFileRead read = readReportBytes(QByteArray(reinterpret_cast<const char*>(data), int(size)), first.header,
                                                first.detail, first.footer, &vars, 96);
    if (!read.objectsComplete)
        return 0;

    // Written again and read back: nothing to tell, the same settings.
    QByteArray bytes;
    for (design::ObjectList* b : {&first.header, &first.detail, &first.footer})
        bytes += design::TGLabelObjectFiler::objectListBytes(b->designObjects());
    design::LayoutWriter w;
    design::TGLabelObjectFiler::writeSettings(w, vars.toSettings(96));
    bytes += w.bytes();
    Bands second;
    ReportVars again = ReportVars::defaults(96);
    const ReportFileRead reread = readReportBytes(bytes, second.header, second.detail, second.footer, &again, 96);
    if (!reread.problems.isEmpty() || !(again == vars))
        std::abort();

    // Three records with a memo of four short lines print in a bounded number of pages, whatever
    // the settings say, unless the report is refused for its paper. A memo font too large for the
    // page may break every word into single letters, each line on a page of its own: a record
    // takes at most its detail page, one page per letter or line break, and one more.
    const QSizeF paper = paperInches(vars.paper(96));
    if (!bandedReportProblem(vars, 96, paper.width(), paper.height()).isEmpty())
        return 0;
    printing::RecordingDevice doc(paper, 300);
    printing::TPrintCanvas canvas;
    canvas.setDevice(&doc);
    ReportRecord r;
    r.memo = QStringLiteral("one\ntwo\nthree\nfour");
    ListRecords records({r, r, r});
    TUserDefinedReportPrint print(first.header, first.detail, first.footer, vars, 96);
    bool stop = false;
    canvas.execute({}, [&](printing::TPrintCanvas& c) { print.print(c, records, {true}, stop); });
    if (doc.pageCount() > 3 * (1 + int(r.memo.size()) + 1) + 1)
        std::abort();
    return 0;
}
