#pragma once
// What the report tests share: address files made of given rows, a run printed to a real PDF
// file, and the PDF's words page by page with the baselines the print canvas used.
#include "canvasops.h"
#include "pdfreading.h"

#include <QMap>
#include <QString>
#include <functional>
#include <vector>

namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::testing::rpt {

using Row = QMap<QString, QString>;

// An address file `name` in `dir` holding `rows`; its path, or empty when it could not be made.
QString makeRecords(const QString& dir, const QString& name, const std::vector<Row>& rows);

// Runs `body` on a Letter page PDF file; false when the job failed. `pages` gets the page count.
bool printToPdf(const QString& path, const std::function<void(printing::TPrintCanvas&)>& body, int* pages = nullptr);

// The words of every page, in reading order.
std::vector<std::vector<PdfWord>> pdfPages(const QString& pdf);
// The words of a page whose text is `text`, top to bottom.
std::vector<const PdfWord*> wordsNamed(const std::vector<PdfWord>& page, const QString& text);
const PdfWord* firstNamed(const std::vector<PdfWord>& page, const QString& text);
// The word's left edge and its baseline in inches, for a word printed in `font`.
double leftInches(const PdfWord& w);
double baselineInches(const PdfWord& w, const printing::CanvasFont& font);
double rightInches(const PdfWord& w);

printing::CanvasFont font(const QString& face, double points, bool bold = false, bool italic = false);

} // namespace postavo::testing::rpt
