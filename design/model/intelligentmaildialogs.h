#pragma once
// What the Intelligent Mail barcode object asks the user ("Intelligent Mail Barcode": the
// tracking code's four fields, the routing code and the record fields it comes from), behind one
// interface: the windows answer it on screen, tests answer it themselves. Without windows the
// question is cancelled.

#include "intelligentmail.h"

namespace postavo::design {

inline constexpr int kIntelligentMailHelpTopic = 40023;

struct IntelligentMailSettings {
    imb::Fields fields;
    int routing = int(imb::Routing::Zip11);
    QString zipCodeField, addressField;
    bool operator==(const IntelligentMailSettings&) const = default;
};

class IntelligentMailDialogs {
public:
    virtual ~IntelligentMailDialogs() = default;
    // True when the user confirmed sound settings.
    virtual bool editSettings(IntelligentMailSettings* settings);
};

// As dialogs(): those a caller set, else the default ones, else none. Not owned.
IntelligentMailDialogs& intelligentMailDialogs();
void setIntelligentMailDialogs(IntelligentMailDialogs* d);
void setDefaultIntelligentMailDialogs(IntelligentMailDialogs* d);

} // namespace postavo::design
