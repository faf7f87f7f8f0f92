#include "envelopedesign.h"

#include "composedtextobjects.h"
#include "designsurface.h"
#include "envelopecatalogue.h"
#include "fimbarcode.h"
#include "intelligentmailbarcode.h"
#include "multilineobjects.h"
#include "postnetbarcode.h"
#include "shapeobjects.h"

#include <cmath>

namespace postavo::envelopes {

using namespace postavo::design;

const std::vector<EnvelopeTool>& envelopeTools()
{
    static const std::vector<EnvelopeTool> tools = {
        {psPointing, "Selection tool", ""},
        {psLabel, "Text tool", ""},
        {psDataLabel, "Database Field tool", ""},
        {psMultiLineLabel, "Multi-line text tool", ""},
        {psAddressLabel, "Database Mailing Address tool", ""},
        {psRectangle, "Rectangle tool", ""},
        {psEllipse, "Ellipse tool", ""},
        {psRoundRectangle, "Round Rectangle tool", ""},
        {psLine, "Line Tool", ""},
        {psImage, "Clip Art Tool", ""},
        {psPostNetBarCode, "Postnet Barcode tool", ""},
        {psFIMBarCode, "FIM Barcode tool", "FIM"},
        {psIntelligentMailBarCode, "Intelligent Mail Barcode tool", "IMb"},
    };
    return tools;
}

QRect dropRect(const QRect& r)
{
    QRect out = r;
    if (out.width() < 25)
        out.setWidth(50);
    if (out.height() < 15)
        out.setHeight(15);
    return out;
}

TGGraphicControl* createEnvelopeObject(DesignSurface& surface, TLPanelState state, const QRect& dragged,
                                       const LayoutFont& font)
{
    const QRect r = dropRect(dragged);
    const bool hasData = surface.dataset() != nullptr;
    switch (state) {
    case psPointing:
        return nullptr;
    case psLabel: {
        auto* o = new TGPLabel;
        o->setCaption(QStringLiteral("<text>"));
        o->setFont(font);
        surface.placeObject(o, r);
        o->editDefault();
        o->growToFit();
        return o;
    }
    case psDataLabel: {
        auto* o = new TGPDLabel;
        o->DataFieldName = QStringLiteral("<field>");
        o->setFont(font);
        surface.placeObject(o, r);
        o->editField();
        o->growToFit();
        return o;
    }
    case psMultiLineLabel: {
        auto* o = new TGMultiLineLabel;
        o->Font = font;
        surface.placeObject(o, r);
        o->editText();
        o->fitToLines();
        return o;
    }
    case psAddressLabel: {
        auto* o = new TGDMultiLineAddressLabel;
        o->Font = font;
        surface.placeObject(o, r);
        if (hasData)
            o->refreshData();
        o->fitToLines();
        return o;
    }
    case psRectangle:
    case psEllipse:
    case psRoundRectangle: {
        auto* o = new TGLabelShapes;
        o->Shape = state == psRectangle ? stRectangle : state == psEllipse ? stEllipse : stRoundRect;
        surface.placeObject(o, r);
        return o;
    }
    case psLine: {
        auto* o = new TGLineShape;
        o->LineStyle = stVertical;
        surface.placeObject(o, r);
        return o;
    }
    case psImage: {
        auto* o = new TGImage;
        surface.placeObject(o, r);
        return o;
    }
    case psPostNetBarCode: {
        auto* o = new TGPostNetBarCode;
        o->ZipCodeField = QStringLiteral("ZIP");
        o->AddressField = QStringLiteral("STREET");
        surface.placeObject(o, r);
        if (hasData)
            o->refreshData();
        return o;
    }
    case psFIMBarCode: {
        auto* o = new TGFIMBarCode;
        surface.placeObject(o, r);
        return o;
    }
    case psIntelligentMailBarCode: {
        auto* o = new TGIntelligentMailBarCode;
        o->ZipCodeField = QStringLiteral("ZIP");
        o->AddressField = QStringLiteral("STREET");
        surface.placeObject(o, r);
        if (hasData)
            o->refreshData();
        o->editSettings();
        return o;
    }
    }
    return nullptr;
}

float zoomStep(float zoom, bool up)
{
    if (up && zoom <= 1.4f)
        return zoom + 0.1f;
    if (!up && zoom >= 0.6f)
        return zoom - 0.1f;
    return zoom;
}

QString zoomCaption(float zoom) { return QString::number(int(std::lround(double(zoom) * 100))) + QLatin1Char('%'); }

QString defaultFontCaption(const DefaultFont& f)
{
    QString caption = QStringLiteral("Default Font: %1, %2 pt ").arg(f.name).arg(f.size);
    if (f.bold)
        caption += QStringLiteral(", bold");
    if (f.italic)
        caption += QStringLiteral(", italic");
    return caption;
}

LayoutFont layoutFont(const DefaultFont& f)
{
    return LayoutFont::fromPoints(f.name, f.size, (f.bold ? fsBold : 0) | (f.italic ? fsItalic : 0));
}

DefaultFont defaultFontOf(const LayoutFont& f)
{
    DefaultFont d;
    d.name = f.name;
    d.size = f.points();
    d.bold = f.style & fsBold;
    d.italic = f.style & fsItalic;
    return d;
}

QString keptDescription(const QString& typed) { return typed.left(kDescriptionLength); }

} // namespace postavo::envelopes
