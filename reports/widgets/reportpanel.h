#pragma once
// TReportPanel: one band of a banded report on screen (header, detail or footer), a data-bound
// design surface whose tool and object rules are the report's.

#include "datasurfacewidget.h"
#include "reportbands.h"

#include <functional>

namespace postavo::reports {

class TReportPanel : public design::TGDataPanel {
    Q_OBJECT
public:
    TReportPanel(TRPanelKind kind, QWidget* parent = nullptr, QObject* owner = nullptr);

    // ---- published ----
    // Fired with the band after one of its objects was pressed.
    std::function<void(TReportPanel*)> ControlMouseDownEvent;
    TRPanelState PanelState() const { return state_; }
    // psPointing selects; any other tool places its object and shows the drag pointer.
    void setPanelState(TRPanelState state);
    TRPanelKind PAnelKind() const { return kind_; }

    // Whether pressing on the empty band may draw (the band accepts the chosen tool).
    bool acceptsDrawing() const { return accepts_; }
    void setAcceptsDrawing(bool on) { accepts_ = on; }
    // The font new objects take (the report's default font).
    void setDefaultFont(const design::LayoutFont& font) { font_ = font; }
    const design::LayoutFont& defaultFont() const { return font_; }
    // Fired after an object was placed by a tool (the designer goes back to the selection tool).
    std::function<void(TReportPanel*)> objectPlaced;
    // The beep and the message of a refused tool; tests count them.
    BandUi ui;

    void createObjectInRect(const QRect& r) override;
    void objectMouseDown(design::TGGraphicControl* object, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                         int x, int y) override;
    void pullObjectsInside() override { pullBandObjectsInside(*this); }
    void deleteOutsideObjects() override { deleteBandObjectsOutside(*this); }

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    TRPanelKind kind_;
    TRPanelState state_ = psPointing;
    bool accepts_ = true;
    design::LayoutFont font_;
};

} // namespace postavo::reports
