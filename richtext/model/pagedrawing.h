#pragma once
// Letter pages and drawing them.
//
// A page is the text from the start of the document, or from a page break, up to the next
// page break: pages end only at page breaks, and text below the bottom margin stays on its
// page (it runs on towards the paper's edge). A page is drawn onto any painter at any scale;
// the text is wrapped to the width of the rectangle it is drawn into.

#include <QList>
#include <QRectF>

class QPagedPaintDevice;
class QPainter;
class QString;
class QTextDocument;

namespace postavo::richtext {

class RichDocument;

struct PageSpan {
    int start = 0;       // document position where the page starts
    double top = 0;      // in twips of the document's own layout (wrapped to its page width)
    double bottom = 0;
};

// The pages of a document as laid out at its own page width, in order; never empty.
QList<PageSpan> pageSpans(const QTextDocument& document);
QList<int> pageStarts(const RichDocument& document);
int pageCount(const RichDocument& document);
// The page (from 0) holding a document position.
int pageOfPosition(const RichDocument& document, int position);
// Whether a page's text runs past the bottom margin.
bool pageOverflows(const RichDocument& document, int pageIndex);

// Draws the page that starts at `start` (or holds it) with its top-left text corner at
// `textRect`'s, `zoomPercent` of its size at the painter device's resolution, wrapped to
// `textRect`'s width. Returns the start position of the following page, or -1 when it is the
// last page.
int drawPage(QPainter* painter, const RichDocument& document, const QRectF& textRect,
             double zoomPercent, int start);

// The same with the scale given: device units per twip across and down (for painters whose
// device resolution is not what the drawing should use, such as a painter already scaled).
int drawPageScaled(QPainter* painter, const RichDocument& document, const QRectF& textRect,
                   double unitsPerTwipX, double unitsPerTwipY, int start);

// Draws the whole sheet of a page: white paper, and the page's text inside the margins.
// `paper` is the sheet's rectangle on the device; the scale follows from its width.
int drawSheet(QPainter* painter, const RichDocument& document, const QRectF& paper, int start);

// Draws every page of the document on a paged device (a PDF writer or a printer, already set to
// the document's paper) with the text at the margins, page after page. With `newPageFirst` the
// first page also starts a new device page (for the next of several documents). Returns the
// number of pages drawn.
int printDocument(QPainter* painter, QPagedPaintDevice* device, const RichDocument& document,
                  bool newPageFirst = false);

// The document as a PDF file of its own paper size: written whole or not at all.
bool writePdf(const RichDocument& document, const QString& path, QString* error);

} // namespace postavo::richtext
