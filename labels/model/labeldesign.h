#pragma once
// The label designer without its window: the sheet definition and description being edited, the
// tool in use, the default font, the artwork, the zoom steps, "Change Layout", the record
// buttons and Save. TLabelDesignScreen shows this state and forwards the user's commands here;
// tests drive it directly.

#include "labelsheet.h"
#include "labelsurface.h"

#include "designtypes.h"

#include <QImage>
#include <QString>
#include <functional>

namespace postavo {
class AddressTable;
class Settings;
} // namespace postavo

namespace postavo::labels {

// What the designer asks the user: the windows answer on screen, tests answer themselves.
// Without windows every question is cancelled.
class LabelDesignerUi {
public:
    enum class LayoutMethod { Cancel, Template, Manual };
    virtual ~LabelDesignerUi() = default;
    virtual void showInformation(const QString& text);
    // "Label Layout": from the templates, typed in, or cancelled.
    virtual LayoutMethod chooseLayoutMethod();
    // "Select Label Template", opened with the current definition; on Ok every field of the
    // chosen template is in `d`. False when cancelled or when the catalogue cannot be opened
    // (the window has told the user).
    virtual bool selectTemplate(LabelSheetDefinition* d);
    // "User Defined Label Layout": the geometry, paper and shape; on Ok `d` holds them.
    virtual bool editUserLayout(LabelSheetDefinition* d);
    // The font dialog for the default font.
    virtual bool chooseFont(design::LayoutFont* font);
};

enum class RecordMove { First, Prior, Next, Last };

class LabelDesign {
public:
    LabelDesign(LabelSurfaceRules& surface, LabelDesignerUi& ui);

    LabelSurfaceRules& rules() { return rules_; }
    design::DesignSurface& surface() { return rules_.surface(); }

    // ---- given by the caller before opening ----
    void setDefinition(const LabelSheetDefinition& d) { def_ = d; }
    const LabelSheetDefinition& definition() const { return def_; }
    // Kept to its first 50 characters.
    void setDescription(const QString& text);
    QString description() const { return description_; }
    void setNewLayout(bool on) { newLayout_ = on; }
    bool isNewLayout() const { return newLayout_; }
    // Where artwork pictures are looked up (the program's sysdata/ unless set).
    void setArtworkFolder(const QString& folder) { artFolder_ = folder; }

    // Anything the window shows changed (tool, Save, zoom, caption, art, font).
    std::function<void()> stateChanged;

    // ---- opening ----
    // The first activation: the surface sized from the definition, the artwork drawn, "Save"
    // hidden; for a new layout an address block placed over the label and selected, and the
    // new-layout message shown.
    void open();
    bool opened() const { return opened_; }
    // "Layout:" followed by this.
    QString layoutCaption() const;

    // ---- changes ----
    // Called on every change of the layout; shows "Save" unless the window is still opening or
    // zooming.
    void surfaceChanged();
    bool saveVisible() const { return saveVisible_; }
    bool guarded() const { return guard_; }

    // ---- tools ----
    TLPanelState tool() const { return rules_.panelState(); }
    // False (the selection tool current again) when the POSTNET tool is refused for a label
    // narrower than 2.85 inches.
    bool selectTool(TLPanelState state);
    // The surface placed an object: back to the selection tool.
    void objectPlaced();

    // ---- grid, art, data display ----
    void setShowGrid(bool on);
    void setSnapToGrid(bool on);
    bool artEnabled() const { return !def_.art.trimmed().isEmpty(); }
    bool artDown() const { return artDown_ && artEnabled(); }
    void setArtDown(bool on);
    // Field names (down) or the current record's values (up).
    void setShowFieldNames(bool on);
    bool showFieldNames() const;

    // ---- zoom, in steps of 10 % from 100 % (single precision, as the surface keeps it) ----
    float zoom() const { return rules_.surface().zoom(); }
    int zoomPercent() const;
    QString zoomText() const { return QString::number(zoomPercent()) + QLatin1Char('%'); }
    bool zoomIn();
    bool zoomOut();

    // ---- default font (section "Label" of the settings) ----
    void loadDefaultFont(const Settings& settings);
    QString defaultFontCaption() const;
    // The font dialog; on Ok the font becomes the surface's and is written to the settings.
    bool chooseDefaultFont(Settings& settings);

    // ---- Change Layout ----
    void changeLayout();

    // ---- records ----
    // Moves the address table, refreshes the objects and counts: back to the start on First,
    // one item on for any other move. False when there is no table or it did not move.
    bool moveRecord(RecordMove move);

    // ---- closing ----
    // Save: objects outside the label deleted, the description kept to 50 characters.
    void save();

    // The message shown when a new layout opens.
    static QString newLayoutMessage(const LabelSheetDefinition& d);

private:
    void tell();
    void sizeSurface();
    void fitSurfaceToZoom();
    void drawArtwork();
    void removeFirstPostnet();

    LabelSurfaceRules& rules_;
    LabelDesignerUi& ui_;
    LabelSheetDefinition def_ = newLayoutDefaults();
    QString description_;
    QString artFolder_;
    bool newLayout_ = false;
    bool opened_ = false;
    bool guard_ = true;  // set from creation to the end of opening, and while zooming
    bool saveVisible_ = false;
    bool artDown_ = false;
    int fontSize_ = 10;
    bool fontBold_ = false, fontItalic_ = false;
    QString fontName_ = QStringLiteral("Arial");
};

} // namespace postavo::labels
