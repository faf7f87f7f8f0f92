#include "layoutunits.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextFrameFormat>
#include <QTextTable>

namespace postavo::richtext {

namespace {

// Measures only: nothing is ever painted on it.
class TwipDevice : public QPaintDevice {
public:
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return kTwipsPerInch;
        case PdmWidth:
            return 22 * kTwipsPerInch;
        case PdmHeight:
            return 22 * kTwipsPerInch;
        case PdmWidthMM:
        case PdmHeightMM:
            return 559;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }
};

// Lays nothing out.
class SuspendedLayout : public QAbstractTextDocumentLayout {
public:
    explicit SuspendedLayout(QTextDocument* document) : QAbstractTextDocumentLayout(document) {}
    void draw(QPainter*, const PaintContext&) override {}
    int hitTest(const QPointF&, Qt::HitTestAccuracy) const override { return -1; }
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override { return {}; }
    QRectF frameBoundingRect(QTextFrame*) const override { return {}; }
    QRectF blockBoundingRect(const QTextBlock&) const override { return {}; }

protected:
    void documentChanged(int, int, int) override {}
};

} // namespace

void suspendLayout(QTextDocument* document)
{
    document->setDocumentLayout(new SuspendedLayout(document));
}

void resumeLayout(QTextDocument* document)
{
    if (dynamic_cast<SuspendedLayout*>(document->documentLayout()))
        document->setDocumentLayout(nullptr);
    prepareDocument(document);
}

QPaintDevice* layoutDevice()
{
    static TwipDevice device;
    return &device;
}

void prepareDocument(QTextDocument* document)
{
    document->documentLayout()->setPaintDevice(layoutDevice());
    document->setUseDesignMetrics(true);
    document->setDocumentMargin(0);
    QTextFrameFormat root = document->rootFrame()->frameFormat();
    root.setMargin(0);
    root.setPadding(0);
    root.setBorder(0);
    document->rootFrame()->setFrameFormat(root);
}

void keepSpaceAfterTables(QTextDocument* document)
{
    QTextTable* table = nullptr;
    for (auto it = document->rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto* t = qobject_cast<QTextTable*>(it.currentFrame())) {
            table = t;
            continue;
        }
        if (table && it.currentBlock().isValid()) {
            const double space = it.currentBlock().blockFormat().topMargin();
            QTextTableFormat f = table->format();
            if (f.bottomMargin() != space) {
                f.setBottomMargin(space);
                table->setFormat(f);
            }
        }
        table = nullptr;
    }
}

} // namespace postavo::richtext
