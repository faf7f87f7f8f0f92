#pragma once
// The envelope designer's rules apart from its window: the tools and the objects they place, the
// zoom steps, the default font and its caption, the description the layout keeps.

#include "designtypes.h"
#include "settings.h"

#include <QRect>
#include <QString>
#include <vector>

namespace postavo::design {
class DesignSurface;
class TGGraphicControl;
} // namespace postavo::design

namespace postavo::envelopes {

// The tool in use on the envelope surface, in the tool bar's order.
enum TLPanelState {
    psPointing,
    psLabel,
    psDataLabel,
    psMultiLineLabel,
    psAddressLabel,
    psRectangle,
    psEllipse,
    psRoundRectangle,
    psLine,
    psImage,
    psPostNetBarCode,
    psFIMBarCode,
    psIntelligentMailBarCode,
};

struct EnvelopeTool {
    TLPanelState state;
    const char* hint;     // the button's hint
    const char* caption;  // its caption where it has one, else empty
};
const std::vector<EnvelopeTool>& envelopeTools();

// A dragged rectangle narrower than 25 becomes 50 wide, one lower than 15 becomes 15 high.
QRect dropRect(const QRect& dragged);

// Creates the tool's object in the rectangle, in the surface's font, places it (PlaceObject) and
// asks what its tool asks (text, field, lines, barcode settings), then fits it; objects showing
// record data take the current record at once. Null for psPointing.
design::TGGraphicControl* createEnvelopeObject(design::DesignSurface& surface, TLPanelState state,
                                               const QRect& dragged, const design::LayoutFont& font);

// The zoom after one step of 10 %: up only while it is at most 140 %, down only while it is at
// least 60 % (single precision, so 60 % to 140 % from 100 %).
float zoomStep(float zoom, bool up);
// "110%".
QString zoomCaption(float zoom);

// "Default Font: Arial, 10 pt " + ", bold" + ", italic" as they apply.
QString defaultFontCaption(const DefaultFont& font);
design::LayoutFont layoutFont(const DefaultFont& font);
DefaultFont defaultFontOf(const design::LayoutFont& font);

// The description a layout keeps of what was typed: its first 50 characters.
QString keptDescription(const QString& typed);

} // namespace postavo::envelopes
