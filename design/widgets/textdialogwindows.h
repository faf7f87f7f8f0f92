#pragma once
// The text objects' questions answered on screen: "Text", "Text 3D Effects", "Select Field",
// "Counter", "Symbol Selector", and the platform's font and colour dialogs.

#include "textdialogs.h"

namespace postavo::design {

class DesignDialogWindows : public DesignDialogs {
public:
    bool chooseFont(LayoutFont* font) override;
    bool chooseColour(TColor* colour) override;
    bool editText(QString* text) override;
    bool text3DEffects(TGBaseLabel& label) override;
    bool selectField(const QStringList& labels, QString* chosen) override;
    bool counterSettings(CounterSettings* settings) override;
    bool symbolSelector(LayoutFont* font, QString* character) override;
};

} // namespace postavo::design
