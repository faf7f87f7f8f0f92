#include "labeldesign.h"

#include "addressfile.h"
#include "labelvalidation.h"
#include "postnetbarcode.h"
#include "programfolder.h"
#include "settings.h"
#include "textdialogs.h"

namespace postavo::labels {

using namespace postavo::design;

namespace {

constexpr float kZoomStep = 0.1f;
constexpr float kZoomMost = 1.5f;   // zooming in goes on while the zoom is at most this
constexpr float kZoomLeast = 0.5f;  // zooming out while at least this

const char* const kPostnetRefused = "This label is not wide enough for a \rpostnet barcode. At least 2.85 inches are needed";

// Sets a flag for the life of a scope.
class Guard {
public:
    explicit Guard(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Guard() { flag_ = was_; }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    bool& flag_;
    bool was_;
};

} // namespace

// ---- the questions, cancelled without windows ----

void LabelDesignerUi::showInformation(const QString&) {}
LabelDesignerUi::LayoutMethod LabelDesignerUi::chooseLayoutMethod() { return LayoutMethod::Cancel; }
bool LabelDesignerUi::selectTemplate(LabelSheetDefinition*) { return false; }
bool LabelDesignerUi::editUserLayout(LabelSheetDefinition*) { return false; }
bool LabelDesignerUi::chooseFont(LayoutFont* font) { return dialogs().chooseFont(font); }

// ---- LabelDesign ----

LabelDesign::LabelDesign(LabelSurfaceRules& surface, LabelDesignerUi& ui)
    : rules_(surface), ui_(ui), artFolder_(ProgramFolder::sysdataPath())
{
    rules_.surface().DroppedObjectEvent = [this](const QRect&) { objectPlaced(); };
}

void LabelDesign::tell()
{
    if (stateChanged)
        stateChanged();
}

void LabelDesign::setDescription(const QString& text)
{
    const QString kept = text.left(50);
    if (kept == description_)
        return;
    description_ = kept;
    if (opened_)
        surfaceChanged();
}

QString LabelDesign::layoutCaption() const
{
    return def_.isUserDefined() ? QStringLiteral("User Defined Label Layout") : def_.tplDescrip;
}

QString LabelDesign::newLayoutMessage(const LabelSheetDefinition& d)
{
    QString sheet = QStringLiteral("the Avery 5160");
    if (d != newLayoutDefaults())
        sheet = d.isUserDefined() || d.tplDescrip.isEmpty() ? QStringLiteral("a user defined")
                                                            : QStringLiteral("the ") + d.tplDescrip.trimmed();
    return QStringLiteral("A new label has been created using %1\rformat. To change to another label format, click on\r"
                          "the Change Layout button.\r\rA Database Mailing Address object has already been \radded to "
                          "the label.\r\rFor additional assistance, click the Help button")
        .arg(sheet);
}

void LabelDesign::sizeSurface()
{
    rules_.sizeFromDefinition(def_);
}

void LabelDesign::drawArtwork()
{
    DesignSurface& s = surface();
    if (artDown()) {
        const QImage art = loadArtwork(def_.art, artFolder_);
        s.Picture = art.isNull() ? LayoutPicture{} : LayoutPicture::fromImage(artworkBackground(art, labelSurfaceSize(def_)));
    } else {
        s.Picture = LayoutPicture{};
    }
    s.repaintObject(nullptr);
}

void LabelDesign::open()
{
    {
        Guard g(guard_);
        sizeSurface();
        artDown_ = artEnabled();
        drawArtwork();
    }
    saveVisible_ = false;
    guard_ = false;
    opened_ = true;
    if (newLayout_) {
        // Placing the address block counts as a change: "Save" shows.
        const int w = surface().hostWidth();
        const int h = surface().hostHeight();
        rules_.setPanelState(psAddressLabel);
        rules_.createObjectInRect(QRect(QPoint(5, 5), QPoint(w - 10, h - 10)).adjusted(0, 0, -1, -1));
        rules_.setPanelState(psPointing);
        surface().selectAll();
        tell();
        ui_.showInformation(newLayoutMessage(def_));
    }
    tell();
}

void LabelDesign::surfaceChanged()
{
    if (guard_ || saveVisible_)
        return;
    saveVisible_ = true;
    tell();
}

bool LabelDesign::selectTool(TLPanelState state)
{
    if (state == psPostNetBarCode && labelTooNarrowForPostnet(def_)) {
        rules_.setPanelState(psPointing);
        tell();
        ui_.showInformation(QLatin1String(kPostnetRefused));
        return false;
    }
    // Placing starts on a clear surface: a press over the selection must start the new object,
    // not a move of the selection.
    if (state != psPointing)
        surface().selection().clear();
    rules_.setPanelState(state);
    tell();
    return true;
}

void LabelDesign::objectPlaced()
{
    rules_.setPanelState(psPointing);
    tell();
}

void LabelDesign::setShowGrid(bool on)
{
    surface().setShowGrid(on);
    tell();
}

void LabelDesign::setSnapToGrid(bool on)
{
    surface().setSnapToGrid(on);
    tell();
}

void LabelDesign::setArtDown(bool on)
{
    artDown_ = on;
    drawArtwork();
    tell();
}

void LabelDesign::setShowFieldNames(bool on)
{
    Guard g(guard_);
    surface().setDisplayDataValues(!on);
    tell();
}

bool LabelDesign::showFieldNames() const
{
    return !rules_.surface().DisplayDataValues();
}

void LabelDesign::fitSurfaceToZoom()
{
    // Scaled step by step the surface would drift a pixel from the label's size; it is always
    // the label's size at 100 % times the zoom.
    const QSize base = labelSurfaceSize(def_);
    const double z = double(zoom());
    surface().setSurfaceSize(roundHalfEven(base.width() * z), roundHalfEven(base.height() * z));
}

int LabelDesign::zoomPercent() const
{
    return roundHalfEven(double(zoom()) * 100.0);
}

bool LabelDesign::zoomIn()
{
    const float z = zoom();
    if (!(z <= kZoomMost))
        return false;
    Guard g(guard_);
    surface().selection().clear();
    surface().setZoom(z + kZoomStep);
    fitSurfaceToZoom();
    tell();
    return true;
}

bool LabelDesign::zoomOut()
{
    const float z = zoom();
    if (!(z >= kZoomLeast))
        return false;
    Guard g(guard_);
    surface().selection().clear();
    surface().setZoom(z - kZoomStep);
    fitSurfaceToZoom();
    tell();
    return true;
}

void LabelDesign::loadDefaultFont(const Settings& settings)
{
    const DefaultFont f = readDefaultFont(settings, FontSection::Label);
    fontName_ = f.name;
    fontSize_ = f.size;
    fontBold_ = f.bold;
    fontItalic_ = f.italic;
    rules_.font = LayoutFont::fromPoints(f.name, f.size, (f.bold ? fsBold : 0) | (f.italic ? fsItalic : 0));
    tell();
}

QString LabelDesign::defaultFontCaption() const
{
    QString c = QStringLiteral("Default Font: ") + fontName_ + QStringLiteral(", ") + QString::number(fontSize_)
                + QStringLiteral(" pt ");
    if (fontBold_)
        c += QStringLiteral(", bold");
    if (fontItalic_)
        c += QStringLiteral(", italic");
    return c;
}

bool LabelDesign::chooseDefaultFont(Settings& settings)
{
    LayoutFont f = rules_.font;
    if (!ui_.chooseFont(&f))
        return false;
    rules_.font = f;
    fontName_ = f.name;
    fontSize_ = f.points();
    fontBold_ = f.style & fsBold;
    fontItalic_ = f.style & fsItalic;
    DefaultFont d;
    d.name = fontName_;
    d.size = fontSize_;
    d.bold = fontBold_;
    d.italic = fontItalic_;
    if (!writeDefaultFont(settings, FontSection::Label, d))
        ui_.showInformation(settings.lastError());
    tell();
    return true;
}

void LabelDesign::removeFirstPostnet()
{
    for (TGGraphicControl* o : surface().designObjects()) {
        if (o->className() == "TGPostNetBarCode") {
            surface().selection().remove(o);
            surface().destroyObject(o);
            surface().repaintObject(nullptr);
            return;
        }
    }
}

void LabelDesign::changeLayout()
{
    const bool wasDown = artDown();
    const LabelDesignerUi::LayoutMethod method = ui_.chooseLayoutMethod();
    if (method == LabelDesignerUi::LayoutMethod::Cancel)
        return;
    if (method == LabelDesignerUi::LayoutMethod::Template) {
        LabelSheetDefinition d = def_;
        if (ui_.selectTemplate(&d)) {
            const QString problem = checkEnteredDefinition(d);
            if (!problem.isEmpty()) {
                // A damaged catalogue row: the sheet stays as it was.
                ui_.showInformation(QStringLiteral("The template \"%1\" cannot be used: %2").arg(d.tplDescrip, problem));
            } else {
                def_ = d;
                sizeSurface();
                artDown_ = artEnabled();
                drawArtwork();
                saveVisible_ = true;
            }
        }
    } else {
        LabelSheetDefinition d = def_;
        if (ui_.editUserLayout(&d)) {
            LabelSheetDefinition taken = def_;
            taken.lblHeight = d.lblHeight;
            taken.lblWidth = d.lblWidth;
            taken.nbrAcross = d.nbrAcross;
            taken.nbrDown = d.nbrDown;
            taken.topMarg = d.topMarg;
            taken.leftMarg = d.leftMarg;
            taken.horizPitch = d.horizPitch;
            taken.vertPitch = d.vertPitch;
            taken.sheetWidth = d.sheetWidth;
            taken.sheetDepth = d.sheetDepth;
            taken.paperSize = d.paperSize;
            taken.lblShape = d.lblShape;
            def_ = asUserDefined(taken);
            sizeSurface();
            artDown_ = false;
            drawArtwork();
            saveVisible_ = true;
        }
    }
    surface().pullObjectsInside();
    if (wasDown && artEnabled())
        artDown_ = true;
    drawArtwork();
    if (labelTooNarrowForPostnet(def_)) {
        bool any = false;
        for (const TGGraphicControl* o : surface().designObjects())
            any = any || o->className() == "TGPostNetBarCode";
        if (any) {
            tell();
            ui_.showInformation(QStringLiteral("Warning: ") + QLatin1String(kPostnetRefused));
            removeFirstPostnet();
        }
    }
    tell();
}

bool LabelDesign::moveRecord(RecordMove move)
{
    AddressTable* table = surface().dataset();
    if (!table || !table->isOpen())
        return false;
    // Showing another record changes nothing of the layout.
    Guard g(guard_);
    bool moved = false;
    switch (move) {
    case RecordMove::First: moved = table->first(); break;
    case RecordMove::Prior: moved = table->previous(); break;
    case RecordMove::Next: moved = table->next(); break;
    case RecordMove::Last: moved = table->last(); break;
    }
    surface().refreshObjects();
    if (move == RecordMove::First)
        surface().resetItemAll();
    else
        surface().nextItemAll();
    surface().repaintObject(nullptr);
    tell();
    return moved;
}

void LabelDesign::save()
{
    surface().deleteOutsideObjects();
    description_ = description_.left(50);
}

} // namespace postavo::labels
