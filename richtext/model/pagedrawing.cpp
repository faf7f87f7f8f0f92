#include "pagedrawing.h"

#include "filewriting.h"
#include "layoutunits.h"
#include "richdocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPdfWriter>
#include <QBuffer>
#include <QPainter>
#include <QPaintDevice>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <cmath>
#include <memory>

namespace postavo::richtext {

namespace {

bool breaksBefore(const QTextFormat& format)
{
    return format.intProperty(QTextFormat::PageBreakPolicy) & QTextFormat::PageBreak_AlwaysBefore;
}

// The top of a paragraph including its space before: a page starts there.
double blockTop(const QTextDocument& doc, const QTextBlock& block)
{
    const QRectF r = doc.documentLayout()->blockBoundingRect(block);
    return r.top() - block.blockFormat().topMargin() * kScaledLengthFactor;
}

// Laid out at `width` twips with word wrap, for drawing at a width other than the document's.
std::unique_ptr<QTextDocument> wrappedCopy(const QTextDocument& doc, double width)
{
    std::unique_ptr<QTextDocument> copy(doc.clone());
    prepareDocument(copy.get());
    QTextOption option = copy->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    copy->setDefaultTextOption(option);
    copy->setTextWidth(width);
    return copy;
}

int spanIndex(const QList<PageSpan>& spans, int position)
{
    int index = 0;
    for (int i = 0; i < spans.size(); ++i)
        if (spans[i].start <= position)
            index = i;
    return index;
}

} // namespace

QList<PageSpan> pageSpans(const QTextDocument& doc)
{
    QList<PageSpan> spans;
    QAbstractTextDocumentLayout* layout = doc.documentLayout();
    bool firstItem = true;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        QTextFrame* frame = it.currentFrame();
        const QTextBlock block = frame ? QTextBlock() : it.currentBlock();
        const bool breaks = frame ? breaksBefore(frame->frameFormat()) : breaksBefore(block.blockFormat());
        if (!firstItem && !breaks)
            continue;
        const double top = frame ? layout->frameBoundingRect(frame).top() : blockTop(doc, block);
        if (firstItem) {
            // The first paragraph's space before counts on the first page too. A break before
            // it makes no empty page (there is no page before the first to end).
            PageSpan p;
            p.start = 0;
            p.top = std::min(0.0, top);
            spans.append(p);
            firstItem = false;
            continue;
        }
        spans.last().bottom = top;
        PageSpan p;
        p.start = frame ? frame->firstPosition() - 1 : block.position();
        p.top = top;
        spans.append(p);
    }
    if (spans.isEmpty())
        spans.append(PageSpan());
    // Qt lays large documents out a piece at a time; the last page's end needs all of it.
    layout->blockBoundingRect(doc.lastBlock());
    spans.last().bottom = std::max(spans.last().top, layout->documentSize().height());
    return spans;
}

QList<int> pageStarts(const RichDocument& document)
{
    QList<int> starts;
    const QList<PageSpan> spans = pageSpans(*document.document());
    for (int i = 0; i < spans.size(); ++i)
        starts.append(i == 0 ? 0 : spans[i].start);
    return starts;
}

int pageCount(const RichDocument& document)
{
    return int(pageSpans(*document.document()).size());
}

int pageOfPosition(const RichDocument& document, int position)
{
    const QList<PageSpan> spans = pageSpans(*document.document());
    int index = 0;
    for (int i = 1; i < spans.size(); ++i)
        if (spans[i].start <= position)
            index = i;
    return index;
}

bool pageOverflows(const RichDocument& document, int pageIndex)
{
    const QList<PageSpan> spans = pageSpans(*document.document());
    if (pageIndex < 0 || pageIndex >= spans.size())
        return false;
    return spans[pageIndex].bottom - spans[pageIndex].top > document.pageLayout().textHeight() + 0.5;
}

int drawPageScaled(QPainter* painter, const RichDocument& document, const QRectF& textRect,
                   double unitsPerTwipX, double unitsPerTwipY, int start)
{
    if (!painter || unitsPerTwipX <= 0 || unitsPerTwipY <= 0 || !std::isfinite(unitsPerTwipX)
        || !std::isfinite(unitsPerTwipY))
        return -1;
    const QTextDocument* doc = document.document();
    double width = textRect.width() / unitsPerTwipX;
    // A rectangle within a couple of device units of the page's text width is that width:
    // rounding of the rectangle must not move a line's end.
    const double pageWidth = document.pageLayout().textWidth();
    if (std::abs(width - pageWidth) <= 2.5 / unitsPerTwipX + 0.5)
        width = pageWidth;
    std::unique_ptr<QTextDocument> copy;
    if (width != doc->textWidth() || !document.wordWrap()) {
        copy = wrappedCopy(*doc, std::max(1.0, width));
        doc = copy.get();
    }
    // Page starts refer to positions, which a copy shares with the document.
    const QList<PageSpan> spans = pageSpans(*doc);
    const int index = spanIndex(spans, start);
    const PageSpan& page = spans[index];

    painter->save();
    painter->translate(textRect.topLeft());
    painter->scale(unitsPerTwipX, unitsPerTwipY);
    painter->translate(0, -page.top);
    const double huge = 1e7;
    const QRectF clip(-huge, page.top, 2 * huge, std::max(0.0, page.bottom - page.top));
    painter->setClipRect(clip, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    // The layout leaves out paragraphs outside this rectangle; paragraphs of the pages before
    // and after only touch the page's edges, so half a twip keeps them out (a PDF would
    // otherwise carry their text, clipped but still there to be copied).
    context.clip = clip.adjusted(0, 0.5, 0, -0.5);
    context.palette.setColor(QPalette::Text, Qt::black);
    doc->documentLayout()->draw(painter, context);
    painter->restore();
    return index + 1 < spans.size() ? spans[index + 1].start : -1;
}

int drawPage(QPainter* painter, const RichDocument& document, const QRectF& textRect,
             double zoomPercent, int start)
{
    if (!painter || !painter->device())
        return -1;
    const double sx = painter->device()->logicalDpiX() / double(kTwipsPerInch) * zoomPercent / 100.0;
    const double sy = painter->device()->logicalDpiY() / double(kTwipsPerInch) * zoomPercent / 100.0;
    return drawPageScaled(painter, document, textRect, sx, sy, start);
}

int drawSheet(QPainter* painter, const RichDocument& document, const QRectF& paper, int start)
{
    const PageLayout& p = document.pageLayout();
    const double s = paper.width() / p.paperWidth;
    painter->fillRect(paper, Qt::white);
    const QRectF text(paper.left() + p.marginLeft * s, paper.top() + p.marginTop * s, p.textWidth() * s,
                      p.textHeight() * s);
    painter->save();
    painter->setClipRect(paper, Qt::IntersectClip);
    const int next = drawPageScaled(painter, document, text, s, s, start);
    painter->restore();
    return next;
}

int printDocument(QPainter* painter, QPagedPaintDevice* device, const RichDocument& document, bool newPageFirst)
{
    const PageLayout& p = document.pageLayout();
    const double sx = device->logicalDpiX() / double(kTwipsPerInch);
    const double sy = device->logicalDpiY() / double(kTwipsPerInch);
    const QRectF text(p.marginLeft * sx, p.marginTop * sy, p.textWidth() * sx, p.textHeight() * sy);
    int pages = 0;
    int start = 0;
    do {
        if (pages > 0 || newPageFirst)
            device->newPage();
        start = drawPageScaled(painter, document, text, sx, sy, start);
        ++pages;
    } while (start > 0);
    return pages;
}

bool writePdf(const RichDocument& document, const QString& path, QString* error)
{
    // Drawn in memory, then written to a new file that replaces the old one only when whole.
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    bool ok = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("Postavo"));
        writer.setPageLayout(document.pageLayout().toQPageLayout());
        QPainter painter;
        if (painter.begin(&writer)) {
            printDocument(&painter, &writer, document);
            ok = painter.end();
        }
    }
    QString reason = QStringLiteral("the pages could not be drawn");
    if (ok)
        ok = replaceFileWith(path, pdf, &reason);
    if (!ok && error)
        *error = QStringLiteral("The PDF file \"%1\" cannot be written: %2").arg(path, reason);
    return ok;
}

} // namespace postavo::richtext
