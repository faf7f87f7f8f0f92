#pragma once
// What the multi-line, shape and picture objects ask the user ("Multi-line Text Editor",
// "Address Label Layout", the image browser), behind one interface: the windows answer it on
// screen (ObjectDialogWindows), tests answer it themselves. Without windows every question is
// cancelled. Font, colour and field choices go through the text objects' dialogs.

#include "addressblock.h"
#include "designtypes.h"

#include <QStringList>

namespace postavo::design {

// Help topics of the object dialogs.
inline constexpr int kMultiLineTextHelpTopic = 40020;
inline constexpr int kAddressLayoutHelpTopic = 40021;
inline constexpr int kImageBrowserHelpTopic = 40022;

struct ImageChoice {
    LayoutPicture picture;
    bool stretch = true;
    bool autoSize = false;
    bool failed = false;   // the picture could not be taken: "Error loading file!" was shown
};

class ObjectDialogs {
public:
    virtual ~ObjectDialogs() = default;
    // "Multi-line Text Editor": at most 254 characters in `font`.
    virtual bool multiLineText(QStringList* lines, const LayoutFont& font);
    virtual bool addressLayout(addressblock::Options* options);
    // The image browser "Load Image File ", starting with the object's two options.
    virtual bool loadImage(ImageChoice* choice);
};

// As dialogs(): those a caller set, else the default ones, else none.
ObjectDialogs& objectDialogs();
void setObjectDialogs(ObjectDialogs* d);
void setDefaultObjectDialogs(ObjectDialogs* d);

} // namespace postavo::design
