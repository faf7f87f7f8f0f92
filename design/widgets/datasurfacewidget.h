#pragma once
// TGDataPanel: a data-bound design surface on screen (see DataSurface); the label, envelope and
// report designers derive from it.

#include "designsurfacewidget.h"

namespace postavo::design {

class TGDataPanel : public TGBasePanel {
    Q_OBJECT
public:
    using TGBasePanel::TGBasePanel;

    // While the table is open, every object takes its values from the current record.
    void refreshObjects() override { refreshFromDataset(); }
};

} // namespace postavo::design
