#pragma once
// The multi-line, shape and picture objects' questions answered on screen: "Multi-line Text
// Editor", "Address Label Layout" and the image browser.

#include "objectdialogs.h"

namespace postavo::design {

class ObjectDialogWindows : public ObjectDialogs {
public:
    bool multiLineText(QStringList* lines, const LayoutFont& font) override;
    bool addressLayout(addressblock::Options* options) override;
    bool loadImage(ImageChoice* choice) override;
};

} // namespace postavo::design
