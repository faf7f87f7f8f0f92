#pragma once
// What the text objects ask the user ("Text", "Select Field", "Counter", "Symbol Selector",
// "Text 3D Effects", a font, a colour), behind one interface: the windows answer it on screen
// (DesignDialogWindows), tests answer it themselves. Without windows every question is
// cancelled.

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

// The dialogs in use: those a caller set (a test), else the default ones (the windows install
// theirs), else none that ever answers OK. Not owned.
DesignDialogs& dialogs();
void setDialogs(DesignDialogs* d);
void setDefaultDialogs(DesignDialogs* d);

} // namespace postavo::design
