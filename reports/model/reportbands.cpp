#include "reportbands.h"

#include "composedtextobjects.h"
#include "designsurface.h"
#include "multilineobjects.h"
#include "shapeobjects.h"
#include "textobjects.h"

#include <algorithm>

namespace postavo::reports {

using namespace postavo::design;

const std::array<ReportToolDef, 11>& reportTools()
{
    static const std::array<ReportToolDef, 11> tools = {{
        {psPointing, "Selection tool"},
        {psLabel, "Text tool"},
        {psLine, "Line Tool"},
        {psImage, "Clip Art Tool"},
        {psDataLabel, "Database Field tool"},
        {psDateTime, "Date Time Tool"},
        {psPageNumber, "Page Number Tool"},
        {psSymbolLabel, "Symbol tool"},
        {psRectangle, "Rectangle tool"},
        {psEllipse, "Ellipse tool"},
        {psRoundRectangle, "Round Rectangle tool"},
    }};
    return tools;
}

bool toolAcceptedBy(TRPanelState tool, TRPanelKind band)
{
    switch (tool) {
    case psImage: return band == rpkHeader;
    case psDataLabel: return band == rpkDetail;
    case psDateTime:
    case psPageNumber: return band == rpkHeader || band == rpkFooter;
    case psMultiLineDataLabel: return band == rpkMemo;
    default: return true;
    }
}

QString toolRefusal(TRPanelState tool, TRPanelKind band)
{
    switch (tool) {
    case psMultiLineDataLabel:
        return band == rpkMemo ? QString() : QStringLiteral("This object may only be used in the memo band");
    case psDataLabel:
        return band == rpkDetail ? QString() : QStringLiteral("This object may only be used in the detail band");
    case psDateTime:
    case psPageNumber:
        return band == rpkHeader || band == rpkFooter
                   ? QString()
                   : QStringLiteral("This object may only be used in the header or footer bands");
    case psImage:
        return band == rpkHeader ? QString() : QStringLiteral("This object may only be used in the header band");
    default: return {};
    }
}

QRect adjustDrawnRect(const QRect& r)
{
    QRect out = r;
    if (out.width() < 25)
        out.setWidth(50);
    if (out.height() < 15)
        out.setHeight(15);
    return out;
}

TGGraphicControl* createBandObject(DesignSurface& band, TRPanelKind kind, TRPanelState tool, const QRect& drawn,
                                   const LayoutFont& font, const BandUi& ui)
{
    if (tool == psPointing)
        return nullptr;
    const QRect r = adjustDrawnRect(drawn);
    const QString refusal = toolRefusal(tool, kind);
    if (!refusal.isEmpty()) {
        if (ui.beep)
            ui.beep();
        if (ui.inform)
            ui.inform(refusal);
        return nullptr;
    }
    switch (tool) {
    case psLabel: {
        auto* o = new TGPLabel;
        o->setFont(font);
        o->setCaption(QStringLiteral("<text>"));
        band.placeObject(o, r);
        o->editText();
        return o;
    }
    case psDataLabel: {
        auto* o = new TGPDLabel;
        o->setFont(font);
        o->DataFieldName = QStringLiteral("<field>");
        band.placeObject(o, r);
        o->editField();
        band.refreshObjects();
        return o;
    }
    case psMultiLineDataLabel: {
        auto* o = new TGDMultiLineLabel;
        o->applyFont(font);
        o->DataFieldName = QStringLiteral("Memo");
        o->DataFieldDescript = QStringLiteral("MEMO");
        band.placeObject(o, r);
        return o;
    }
    case psLine: {
        auto* o = new TGLineShape;
        o->setLineStyle(stHorizontal);
        band.placeObject(o, r);
        return o;
    }
    case psImage: {
        auto* o = new TGImage;
        band.placeObject(o, r);
        return o;
    }
    case psDateTime: {
        auto* o = new TGDateTimeLabel;
        o->setFont(font);
        band.placeObject(o, r);
        return o;
    }
    case psPageNumber: {
        auto* o = new TGPageNumberLabel;
        o->setFont(font);
        band.placeObject(o, r);
        return o;
    }
    case psSymbolLabel: {
        auto* o = new TGSymbolLabel; // keeps its symbol font
        band.placeObject(o, r);
        o->editSymbol();
        return o;
    }
    case psRectangle:
    case psEllipse:
    case psRoundRectangle: {
        auto* o = new Trpshapes;
        o->Shape = tool == psRectangle ? stRectangle : tool == psEllipse ? stEllipse : stRoundRect;
        band.placeObject(o, r);
        return o;
    }
    case psPointing: break;
    }
    return nullptr;
}

// ---- layout ----

int bandHeightLimit(const ReportVars& vars)
{
    return std::max(0, vars.pageHeight - vars.marginTop - vars.marginBottom);
}

BandLayout layoutBands(const ReportVars& vars, double ppi)
{
    BandLayout l;
    l.bandWidth = std::max(0, vars.pageWidth - vars.marginLeft - vars.marginRight - int(ppi) / 4);
    l.memoView = vars.useMemo ? kMemoViewHeight : 0;
    l.pageAreaHeight = vars.pageHeight - vars.marginTop - vars.marginBottom + l.memoView + 100;
    const int limit = bandHeightLimit(vars);
    int heights[3] = {vars.useHeader ? std::max(0, vars.headerHeight) : 0,
                      vars.useDetail ? std::max(0, vars.detailHeight) : 0,
                      vars.useFooter ? std::max(0, vars.footerHeight) : 0};
    const bool used[3] = {vars.useHeader, vars.useDetail, vars.useFooter};
    for (int i = 0; i < 3; ++i) {
        if (used[i] && heights[i] == 0) {
            const int others = heights[0] + heights[1] + heights[2];
            heights[i] = std::max(0, kEmptyBandHeight - std::max(0, others + kEmptyBandHeight - limit));
        }
    }
    l.header = heights[0];
    l.detail = heights[1];
    l.footer = heights[2];
    return l;
}

int sizedBandHeight(const ReportVars& vars, int which, int heightAtPress, int dy)
{
    int h = std::max(0, heightAtPress + dy);
    const int heights[3] = {vars.useHeader ? vars.headerHeight : 0, vars.useDetail ? vars.detailHeight : 0,
                            vars.useFooter ? vars.footerHeight : 0};
    const int index = which == bandHeader ? 0 : which == bandDetail ? 1 : 2;
    int others = 0;
    for (int i = 0; i < 3; ++i)
        if (i != index)
            others += std::max(0, heights[i]);
    const int excess = others + h - bandHeightLimit(vars);
    if (excess > 0)
        h = std::max(0, h - excess);
    return h;
}

void pullBandObjectsInside(DesignSurface& band)
{
    band.selection().clear();
    const int w = band.hostWidth(), h = band.hostHeight();
    for (TGGraphicControl* o : band.designObjects()) {
        int left = o->left(), top = o->top();
        if (top + o->height() > h)
            top = std::max(0, h - o->height());
        if (left + o->width() > w)
            left = std::max(0, w - o->width());
        if (left != o->left() || top != o->top())
            o->setBounds(left, top, o->width(), o->height());
    }
}

void deleteBandObjectsOutside(DesignSurface& band)
{
    band.selection().clear();
    const int w = band.hostWidth(), h = band.hostHeight();
    for (TGGraphicControl* o : band.designObjects())
        if (o->top() > h + 10 || o->left() > w + 10 || o->width() < 1 || o->height() < 1)
            band.destroyObject(o);
}

bool finishReportDesign(ReportVars* vars, DesignSurface& header, DesignSurface& detail, DesignSurface& footer,
                        QString* message)
{
    DesignSurface* bands[3] = {&header, &detail, &footer};
    bool* used[3] = {&vars->useHeader, &vars->useDetail, &vars->useFooter};
    bool ticked[3];
    for (int i = 0; i < 3; ++i) {
        ticked[i] = *used[i] && bands[i]->hostHeight() > 0;
        *used[i] = ticked[i];
    }
    if (!ticked[0] && !ticked[1] && !ticked[2] && !vars->useMemo) {
        if (message)
            *message = QString::fromLatin1(kNoBandMessage);
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (ticked[i]) {
            deleteBandObjectsOutside(*bands[i]);
        } else {
            bands[i]->selection().clear();
            bands[i]->deleteAllObjects();
        }
        bands[i]->clearDataAll();
    }
    vars->headerHeight = header.hostHeight();
    vars->detailHeight = detail.hostHeight();
    vars->footerHeight = footer.hostHeight();
    return true;
}

} // namespace postavo::reports
