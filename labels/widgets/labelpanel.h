#pragma once
// TGLabelPanel: the design surface of one label on screen. A data-bound surface whose tools
// (PanelState) create the objects a label may hold; its size and outline follow the label sheet.

#include "datasurfacewidget.h"
#include "labelsurface.h"

namespace postavo::labels {

class TGLabelPanel : public design::TGDataPanel {
    Q_OBJECT
public:
    explicit TGLabelPanel(QWidget* parent = nullptr, QObject* owner = nullptr);

    TLPanelState PanelState() const { return rules_.panelState(); }
    // Anything but psPointing puts the surface in placing mode with the cross cursor.
    void setPanelState(TLPanelState state) { rules_.setPanelState(state); }
    LabelSurfaceRules& rules() { return rules_; }

    void createObjectInRect(const QRect& r) override { rules_.createObjectInRect(r); }

private:
    LabelSurfaceRules rules_;
};

} // namespace postavo::labels
