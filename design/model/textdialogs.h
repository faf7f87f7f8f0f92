#pragma once
// The dialogs of the text objects ("Text", "Select Field", "Counter", "Symbol Selector",
// "Text 3D Effects") and the platform's font and colour dialogs, behind one interface so that
// tests answer them without windows.

#include "designtypes.h"

#include <QStringList>

namespace postavo::design {

class TGBaseLabel;

struct CounterSettings {
    int startingNumber = 1;
    int repeatEach = 1;
    QString textBefore, textAfter;
    int leadingZeros = 0;
};

class DesignDialogs {
public:
    virtual ~DesignDialogs() = default;
    virtual bool chooseFont(LayoutFont* font);
    virtual bool chooseColour(TColor* colour);
    // "Text": one edit box "Enter Text".
    virtual bool editText(QString* text);
    // "Text 3D Effects": on OK the label takes the sample's font and six effect properties.
    virtual bool text3DEffects(TGBaseLabel& label);
    // "Select Field": `labels` in dataset order; `chosen` preselected (else the first).
    virtual bool selectField(const QStringList& labels, QString* chosen);
    virtual bool counterSettings(CounterSettings* settings);
    // "Symbol Selector": the characters 32 to 255 in `font`; on OK the font and the character.
    virtual bool symbolSelector(LayoutFont* font, QString* character);
};

// The dialogs in use (the real ones unless a test installs its own; not owned).
DesignDialogs& dialogs();
void setDialogs(DesignDialogs* d);

} // namespace postavo::design
