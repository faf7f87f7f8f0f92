#pragma once
// The bands of a banded report as the designer shows them: which tool draws in which band, the
// objects each tool makes, where the bands sit and how high they may be, and what Save does to
// them. Plain functions over design surfaces, so the designer's rules are tested without it.

#include "designtypes.h"
#include "reportvars.h"

#include <QRect>
#include <QString>
#include <array>
#include <functional>

namespace postavo::design {
class DesignSurface;
class TGGraphicControl;
} // namespace postavo::design

namespace postavo::reports {

// The tool of the band surfaces (`PanelState`).
enum TRPanelState {
    psPointing, psLabel, psDataLabel, psMultiLineDataLabel, psLine, psImage, psDateTime, psPageNumber,
    psSymbolLabel, psRectangle, psEllipse, psRoundRectangle,
};
// Which band a surface is (`PAnelKind`).
enum TRPanelKind { rpkHeader, rpkDetail, rpkMemo, rpkFooter };

struct ReportToolDef {
    TRPanelState state;
    const char* hint;
};
// The designer's tool buttons in order, with their hints.
const std::array<ReportToolDef, 11>& reportTools();

// Whether a band accepts drawing while `tool` is chosen (the others only beep when pressed).
bool toolAcceptedBy(TRPanelState tool, TRPanelKind band);
// The message of the creation check when `tool` may not make its object in `band`; empty when
// it may.
QString toolRefusal(TRPanelState tool, TRPanelKind band);
// A drawn rectangle narrower than 25 pixels becomes 50 wide, one lower than 15 becomes 15 high.
QRect adjustDrawnRect(const QRect& r);

// What the band asks of the user around a new object: the beep, the message, and the object's
// own editor (text, field, symbol) once it is placed. Without windows nothing is asked.
struct BandUi {
    std::function<void()> beep;
    std::function<void(const QString&)> inform;
};

// CreateObjectInRect of a band: checks the tool, makes its object in the default font, places
// it and opens its editor. Null (after the beep and the message) when the band refuses the tool.
design::TGGraphicControl* createBandObject(design::DesignSurface& band, TRPanelKind kind, TRPanelState tool,
                                           const QRect& drawn, const design::LayoutFont& font, const BandUi& ui);

// ---- where the bands sit (pixels at zoom 1) ----
inline constexpr int kBandCaptionHeight = 20;
inline constexpr int kBandSizerHeight = 5;
inline constexpr int kMemoViewHeight = 33;
inline constexpr int kEmptyBandHeight = 20;

struct BandLayout {
    int bandWidth = 0;      // every band, caption and sizer
    int pageAreaHeight = 0;
    int header = 0, detail = 0, footer = 0; // shown heights (0 for an unticked band)
    int memoView = 0;       // the memo view's height
};
// Band width = page width - both side margins - ppi / 4; the page area is the page height less
// the top and bottom margins plus the memo view and 100 pixels; a ticked band stored at 0 shows
// 20 pixels, less what would pass the limit.
BandLayout layoutBands(const ReportVars& vars, double ppi);
// The tallest header + detail + footer may be together: page height - top and bottom margins.
int bandHeightLimit(const ReportVars& vars);
// The height of band `which` (bandHeader, bandDetail or bandFooter) after its sizer moved `dy`
// from a press at `heightAtPress`: never below 0, and giving up whatever passes the limit.
int sizedBandHeight(const ReportVars& vars, int which, int heightAtPress, int dy);

// After a sizer is let go: objects whose far edge lies beyond the band's bottom or right edge are
// moved back so that it lies on that edge.
void pullBandObjectsInside(design::DesignSurface& band);
// Objects lying more than 10 pixels beyond the band's bottom or right edge (and empty ones) go.
void deleteBandObjectsOutside(design::DesignSurface& band);

// Save of the designer: a band at height 0 is unticked; with no band ticked (the memo counts)
// `message` gets "No report bands are selected. Please select at least one" and nothing
// changes; otherwise objects beyond the ticked bands and all objects of unticked bands go, the
// record values are emptied and the heights stored in `vars`.
bool finishReportDesign(ReportVars* vars, design::DesignSurface& header, design::DesignSurface& detail,
                        design::DesignSurface& footer, QString* message);
inline constexpr const char* kNoBandMessage = "No report bands are selected. Please select at least one";

} // namespace postavo::reports
