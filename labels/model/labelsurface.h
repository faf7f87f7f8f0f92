#pragma once
// What a design surface of one label adds to a data-bound surface: the tools that place new
// objects (PanelState), the font new objects take, the object classes a label may hold, the
// surface's size and outline from the sheet definition, and the stock's artwork behind it.
// TGLabelPanel on screen and LabelSurface without a window both carry these rules.

#include "labelsheet.h"

#include "datasurface.h"
#include "designtypes.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

namespace postavo::labels {

// The tool in use, in the order of the tool bar.
enum TLPanelState {
    psPointing,
    psLabel,
    psCounterLabel,
    psSymbolLabel,
    psDataLabel,
    psMultiLineLabel,
    psMultiLineDataLabel,
    psAddressLabel,
    psRectangle,
    psEllipse,
    psRoundRectangle,
    psLine,
    psImage,
    psPostNetBarCode,
};
inline constexpr int kToolCount = psPostNetBarCode + 1;

// The hint of a tool's button ("Selection tool", "Text tool", ...).
QString toolHint(TLPanelState state);
// The name the state is known by in layouts and tests ("psLabel").
QString toolName(TLPanelState state);

// ---- object classes ----

// The classes a label layout file may hold.
const QList<QByteArray>& labelObjectClasses();
bool isLabelObjectClass(const QByteArray& className);

// ---- size and outline ----

// The surface's outline for a LBLSHAPE code: RR rounded rectangle, SR rectangle, EL ellipse
// (rounded for any other code).
design::TLabelShapeType outlineForShape(const QString& shapeCode);
// The label's size in surface units at 100 % zoom: its inches times the screen's pixels per
// inch, rounded.
QSize labelSurfaceSize(const LabelSheetDefinition& d, double ppi = design::screenPpi());

// The narrowest label a POSTNET barcode fits on, in inches.
inline constexpr float kPostnetMinLabelWidth = 2.85f;
// Compared as the definition holds the width (single precision): 2.85 itself fits.
bool labelTooNarrowForPostnet(const LabelSheetDefinition& d);

// ---- artwork ----

// The artwork picture named by ART: the part before its first "." upper-cased, looked up among
// the program's pictures (NAME.PNG or NAME.BMP in `folder`, letter case ignored). A null image
// when there is none.
QImage loadArtwork(const QString& art, const QString& folder);
// The background the designer shows for artwork: an image of the label's size, white, with the
// picture copied unscaled to its top left and every pixel of it that is not white made light
// grey (192, 192, 192).
QImage artworkBackground(const QImage& art, QSize labelSize);

// ---- the rules a label surface adds ----

class LabelSurfaceRules {
public:
    explicit LabelSurfaceRules(design::DesignSurface& surface);

    design::DesignSurface& surface() const { return surface_; }

    // The tool in use. Anything but psPointing puts the surface in placing mode (the cross
    // cursor on screen); psPointing back in selection mode.
    TLPanelState panelState() const { return state_; }
    void setPanelState(TLPanelState state);

    // The font new text objects take (the surface's font).
    design::LayoutFont font;

    // A new object of the current tool in the rectangle the user dragged (surface pixels at the
    // current zoom). Rectangles narrower than 25 units at 100 % become 50 wide, lower than 15
    // become 15 high. The object is placed, its own question (text, field, symbol, lines) asked
    // where the tool has one, sized to its content, and filled from the current record. The new
    // object, or null in selection mode.
    design::TGGraphicControl* createObjectInRect(const QRect& r);

    // Sizes the surface from the definition at 100 % zoom and sets its outline; the zoom in force
    // is restored afterwards. False (and nothing changes) when size and shape are what the
    // surface already has.
    bool sizeFromDefinition(const LabelSheetDefinition& d, double ppi = design::screenPpi());
    QString appliedShape() const { return appliedShape_; }

private:
    design::DesignSurface& surface_;
    TLPanelState state_ = psPointing;
    QString appliedShape_;
    QSize appliedSize_;
};

// A label's surface without a window: what print runs and tests load layouts onto.
class LabelSurface : public design::DataSurface {
public:
    explicit LabelSurface(QObject* owner = nullptr);
    LabelSurfaceRules& rules() { return rules_; }
    void createObjectInRect(const QRect& r) override { rules_.createObjectInRect(r); }
    // Fired whenever the layout changed (as TGLabelPanel's LabelChangedEvent).
    std::function<void()> LabelChangedEvent;

protected:
    void notifyLabelChanged() override
    {
        if (LabelChangedEvent)
            LabelChangedEvent();
    }

private:
    LabelSurfaceRules rules_;
};

// ---- layout files of labels ----

enum class LabelLayoutFileState { Missing, Sound, Damaged, Foreign };
struct LabelLayoutFileCheck {
    LabelLayoutFileState state = LabelLayoutFileState::Missing;
    QString message;  // for the user; empty when sound
    int objectCount = 0;
    bool sound() const { return state == LabelLayoutFileState::Sound; }
};
// Reads a layout file without touching any surface: whether it is there, whether it reads whole,
// and whether every object in it is of a class a label may hold.
LabelLayoutFileCheck checkLabelLayoutFile(const QString& path);

// Loads a label layout file onto a surface (cleared first) once the file has been checked; a
// missing, damaged or foreign file leaves the surface as it was and gives the check's message.
LabelLayoutFileCheck loadLabelLayout(design::DesignSurface& surface, const QString& path);

} // namespace postavo::labels
