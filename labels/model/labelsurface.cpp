#include "labelsurface.h"

#include "composedtextobjects.h"
#include "layoutdocument.h"
#include "multilineobjects.h"
#include "postnetbarcode.h"
#include "programfolder.h"
#include "shapeobjects.h"
#include "textobjects.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace postavo::labels {

using namespace postavo::design;

namespace {

struct ToolRow {
    TLPanelState state;
    const char* name;
    const char* hint;
};

const ToolRow kTools[kToolCount] = {
    {psPointing, "psPointing", "Selection tool"},
    {psLabel, "psLabel", "Text tool"},
    {psCounterLabel, "psCounterLabel", "Counter tool"},
    {psSymbolLabel, "psSymbolLabel", "Symbol tool"},
    {psDataLabel, "psDataLabel", "Database Field tool"},
    {psMultiLineLabel, "psMultiLineLabel", "Multi-line text tool"},
    {psMultiLineDataLabel, "psMultiLineDataLabel", "Database Memo Field tool"},
    {psAddressLabel, "psAddressLabel", "Database Mailing Address tool"},
    {psRectangle, "psRectangle", "Rectangle tool"},
    {psEllipse, "psEllipse", "Ellipse tool"},
    {psRoundRectangle, "psRoundRectangle", "Round Rectangle tool"},
    {psLine, "psLine", "Line Tool"},
    {psImage, "psImage", "Clip Art Tool"},
    {psPostNetBarCode, "psPostNetBarCode", "Postnet Barcode tool"},
};

// The smallest rectangle a tool places into, in units at 100 % zoom: a click without a drag
// still gives an object one can see and grab.
constexpr int kNarrowBelow = 25;
constexpr int kNarrowWidth = 50;
constexpr int kLowBelow = 15;

// The dragged rectangle in units at 100 % zoom, widened and heightened as above.
QRect placementRect(const QRect& dragged, float zoom)
{
    const double z = zoom > 0 ? double(zoom) : 1.0;
    int left = roundHalfEven(dragged.left() / z);
    int top = roundHalfEven(dragged.top() / z);
    int width = roundHalfEven(dragged.width() / z);
    int height = roundHalfEven(dragged.height() / z);
    if (width < kNarrowBelow)
        width = kNarrowWidth;
    if (height < kLowBelow)
        height = kLowBelow;
    return QRect(left, top, width, height);
}

TGGraphicControl* makeObject(TLPanelState state, const LayoutFont& font)
{
    switch (state) {
    case psLabel: {
        auto* o = new TGPLabel;
        o->setFont(font);
        o->setCaption(QStringLiteral("<text>"));
        return o;
    }
    case psCounterLabel: {
        auto* o = new TGCounterLabel;
        o->setFont(font);
        o->TextBefore.clear();
        o->TextAfter.clear();
        o->setStartingNumber(1000);
        return o;
    }
    case psSymbolLabel: return new TGSymbolLabel;
    case psDataLabel: {
        auto* o = new TGPDLabel;
        o->setFont(font);
        o->DataFieldName = QStringLiteral("<field>");
        o->setCaption(QStringLiteral("<field>"));
        return o;
    }
    case psMultiLineLabel: {
        auto* o = new TGMultiLineLabel;
        o->Font = font;
        return o;
    }
    case psMultiLineDataLabel: {
        auto* o = new TGDMultiLineLabel;
        o->Font = font;
        o->DataFieldName = QStringLiteral("Memo");
        o->DataFieldDescript = QStringLiteral("MEMO");
        return o;
    }
    case psAddressLabel: {
        auto* o = new TGDMultiLineAddressLabel;
        o->Font = font;
        return o;
    }
    case psRectangle:
    case psEllipse:
    case psRoundRectangle: {
        auto* o = new TGLabelShapes;
        o->Shape = state == psRectangle ? stRectangle : state == psEllipse ? stEllipse : stRoundRect;
        return o;
    }
    case psLine: {
        auto* o = new TGLineShape;
        o->LineStyle = 1;
        return o;
    }
    case psImage: return new TGImage;
    case psPostNetBarCode: {
        auto* o = new TGPostNetBarCode;
        o->ZipCodeField = QStringLiteral("ZIP");
        o->AddressField = QStringLiteral("STREET");
        return o;
    }
    case psPointing: break;
    }
    return nullptr;
}

// A block sized to no lines at all (no record to show yet) would be invisible and lost at the
// next save: it keeps one line's height.
void fitMultiLine(TGMultiLineBaseLabel* o)
{
    o->fitToLines();
    const int line = o->screenLineHeight();
    if (o->height() < line)
        o->setHeight(line);
}

} // namespace

QString toolHint(TLPanelState state)
{
    return QLatin1String(kTools[std::clamp(int(state), 0, kToolCount - 1)].hint);
}

QString toolName(TLPanelState state)
{
    return QLatin1String(kTools[std::clamp(int(state), 0, kToolCount - 1)].name);
}

const QList<QByteArray>& labelObjectClasses()
{
    static const QList<QByteArray> c = {"TGLineShape",      "TGPostNetBarCode",  "TGImage",
                                        "TGLabelShapes",    "TGPLabel",          "TGPDLabel",
                                        "TGCounterLabel",   "TGSymbolLabel",     "TGMultiLineLabel",
                                        "TGDMultiLineLabel", "TGDMultiLineAddressLabel"};
    return c;
}

bool isLabelObjectClass(const QByteArray& className)
{
    for (const QByteArray& c : labelObjectClasses())
        if (c.compare(className, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

TLabelShapeType outlineForShape(const QString& shapeCode)
{
    const QString c = shapeCode.trimmed().toUpper();
    if (c == QLatin1String("SR"))
        return lsRectangle;
    if (c == QLatin1String("EL"))
        return lsEllipse;
    return lsRoundRect;
}

QSize labelSurfaceSize(const LabelSheetDefinition& d, double ppi)
{
    return QSize(roundHalfEven(double(d.lblWidth) * ppi), roundHalfEven(double(d.lblHeight) * ppi));
}

bool labelTooNarrowForPostnet(const LabelSheetDefinition& d)
{
    return d.lblWidth < kPostnetMinLabelWidth;
}

QImage loadArtwork(const QString& art, const QString& folder)
{
    const QString base = art.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    if (base.isEmpty() || folder.isEmpty())
        return {};
    // Names only: a stored ART value must not lead out of the picture folder.
    if (base.contains(QLatin1Char('/')) || base.contains(QLatin1Char('\\')) || base.contains(QLatin1String("..")))
        return {};
    const QString dir = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const char* ext : {".PNG", ".BMP"}) {
        const QString path = resolveFileName(dir + base + QLatin1String(ext));
        if (QFileInfo(path).isFile()) {
            QImage image(path);
            if (!image.isNull())
                return image;
        }
    }
    return {};
}

QImage artworkBackground(const QImage& art, QSize labelSize)
{
    if (labelSize.isEmpty())
        return {};
    QImage out(labelSize, QImage::Format_RGB32);
    out.fill(Qt::white);
    if (art.isNull())
        return out;
    const QImage src = art.convertToFormat(QImage::Format_ARGB32);
    const int w = std::min(src.width(), labelSize.width());
    const int h = std::min(src.height(), labelSize.height());
    const QRgb grey = qRgb(192, 192, 192);
    for (int y = 0; y < h; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = in[x];
            // A transparent pixel shows the white behind it.
            const bool white = qAlpha(p) == 0 || (qRed(p) == 255 && qGreen(p) == 255 && qBlue(p) == 255);
            line[x] = white ? qRgb(255, 255, 255) : grey;
        }
    }
    return out;
}

// ---- LabelSurfaceRules ----

LabelSurfaceRules::LabelSurfaceRules(DesignSurface& surface)
    : surface_(surface)
{
    font = LayoutFont::fromPoints(QStringLiteral("Arial"), 10);
}

void LabelSurfaceRules::setPanelState(TLPanelState state)
{
    state_ = state;
    surface_.setPointing(state == psPointing);
}

TGGraphicControl* LabelSurfaceRules::createObjectInRect(const QRect& r)
{
    TGGraphicControl* o = makeObject(state_, font);
    if (!o)
        return nullptr;
    surface_.placeObject(o, placementRect(r, surface_.zoom()));
    switch (state_) {
    case psLabel: {
        auto* t = static_cast<TGPLabel*>(o);
        t->editDefault();
        t->growToFit();
        break;
    }
    case psCounterLabel: static_cast<TGCounterLabel*>(o)->growToFit(); break;
    case psSymbolLabel: static_cast<TGSymbolLabel*>(o)->editSymbol(); break;
    case psDataLabel: {
        auto* t = static_cast<TGPDLabel*>(o);
        t->editField();
        t->refreshData();
        t->growToFit();
        break;
    }
    case psMultiLineLabel: {
        auto* t = static_cast<TGMultiLineLabel*>(o);
        t->editText();
        fitMultiLine(t);
        break;
    }
    case psAddressLabel: {
        auto* t = static_cast<TGDMultiLineAddressLabel*>(o);
        t->refreshData();
        fitMultiLine(t);
        break;
    }
    default: break;
    }
    // Objects that show the record show its values from the start.
    if (surface_.dataset())
        o->refreshData();
    o->repaint();
    return o;
}

bool LabelSurfaceRules::sizeFromDefinition(const LabelSheetDefinition& d, double ppi)
{
    const float zoom = surface_.zoom();
    if (zoom != 1.0f)
        surface_.setZoom(1.0f);
    const QSize size = labelSurfaceSize(d, ppi);
    const QString shape = d.lblShape.trimmed().toUpper();
    const bool same = size == QSize(surface_.hostWidth(), surface_.hostHeight()) && size == appliedSize_
                      && shape == appliedShape_;
    if (!same) {
        surface_.Shape = outlineForShape(shape);
        surface_.setSurfaceSize(size.width(), size.height());
        appliedSize_ = size;
        appliedShape_ = shape;
        surface_.repaintObject(nullptr);
    }
    if (zoom != 1.0f)
        surface_.setZoom(zoom);
    return !same;
}

// ---- LabelSurface ----

LabelSurface::LabelSurface(QObject* owner)
    : DataSurface(owner, 252, 96), rules_(*this)
{
    DrawOutline = true;
}

// ---- layout files ----

LabelLayoutFileCheck checkLabelLayoutFile(const QString& path)
{
    LabelLayoutFileCheck c;
    const QString name = QFileInfo(path).fileName();
    if (!QFileInfo::exists(path)) {
        c.state = LabelLayoutFileState::Missing;
        c.message = QStringLiteral("Label definition file has been removed from the sysdata directory");
        return c;
    }
    LayoutDocument doc;
    QString error;
    if (!readLayoutDocument(path, &doc, &error)) {
        c.state = LabelLayoutFileState::Damaged;
        c.message = QStringLiteral("The label layout file %1 cannot be read: %2").arg(name, error);
        return c;
    }
    if (doc.isReport) {
        c.state = LabelLayoutFileState::Foreign;
        c.message = QStringLiteral("The label layout file %1 holds a report, not a label.").arg(name);
        return c;
    }
    QStringList foreign;
    for (const TGGraphicControl* o : doc.bands[0]->designObjects())
        if (!isLabelObjectClass(o->className()) && !foreign.contains(QString::fromLatin1(o->className())))
            foreign << QString::fromLatin1(o->className());
    c.objectCount = doc.bands[0]->objectCount();
    if (!foreign.isEmpty()) {
        c.state = LabelLayoutFileState::Foreign;
        c.message = QStringLiteral("The label layout file %1 holds objects a label cannot hold (%2).")
                        .arg(name, foreign.join(QStringLiteral(", ")));
        return c;
    }
    c.state = LabelLayoutFileState::Sound;
    return c;
}

LabelLayoutFileCheck loadLabelLayout(DesignSurface& surface, const QString& path)
{
    LabelLayoutFileCheck c = checkLabelLayoutFile(path);
    if (!c.sound())
        return c;
    surface.deleteAllObjects();
    if (!surface.loadObjects(path)) {
        // Read a moment ago; it changed under our feet.
        surface.deleteAllObjects();
        c.state = LabelLayoutFileState::Damaged;
        c.message = QStringLiteral("The label layout file %1 cannot be read: %2")
                        .arg(QFileInfo(path).fileName(), surface.lastError());
    }
    return c;
}

} // namespace postavo::labels
