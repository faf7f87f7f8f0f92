#pragma once
// DataSurface: a design surface bound to the current record of an address table, without a
// window. Label, envelope and report print runs load their layouts onto one; TGDataPanel is the
// same surface on screen, and the designers derive from it.

#include "designsurface.h"

namespace postavo::design {

class DataSurface : public DesignSurface {
public:
    using DesignSurface::DesignSurface;

    // While the table is open, every object takes its values from the current record.
    void refreshObjects() override { refreshFromDataset(); }
};

} // namespace postavo::design
