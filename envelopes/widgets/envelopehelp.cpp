#include "envelopehelp.h"

#include "helptopics.h"

#include <QPushButton>
#include <QWhatsThis>

namespace postavo::envelopes {

void registerEnvelopeHelp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    registerHelpTopic({help::PrintEnvelope, QStringLiteral("Printing envelopes"),
                       {QStringLiteral("envelope"), QStringLiteral("print"), QStringLiteral("layout")},
                       QStringLiteral("<p>Pick an envelope layout in the list, choose which records to print and press "
                                      "<b>Print</b> or <b>Preview</b>. One envelope prints per record, on its own "
                                      "page. <b>New</b>, <b>Modify</b>, <b>Clone</b> and <b>Delete</b> keep the list "
                                      "of layouts; the small picture shows the layout filled with the current "
                                      "record.</p><p>Records without any address are left out; you are told which "
                                      "before anything prints.</p>")});
    registerHelpTopic({help::DesignScreen, QStringLiteral("Designing an envelope"),
                       {QStringLiteral("envelope"), QStringLiteral("design"), QStringLiteral("USPS")},
                       QStringLiteral("<p>Choose a tool and drag a rectangle on the envelope to place an object. "
                                      "<b>Show USPS Automation Template</b> shades the areas where the post office's "
                                      "machines look for the return address, the address, the barcode and the FIM; "
                                      "the red dotted line shows where the current printer can print.</p>"
                                      "<p><b>Change Size</b> picks another envelope size; <b>Save</b> appears once "
                                      "something changed.</p>")});
    registerHelpTopic({help::EnvelopeSize, QStringLiteral("Envelope size"), {QStringLiteral("envelope size")},
                       QStringLiteral("<p>Pick the size of the envelope the layout is for.</p>")});
    registerHelpTopic({help::EnvelopePrint, QStringLiteral("Before printing envelopes"),
                       {QStringLiteral("printer"), QStringLiteral("feed"), QStringLiteral("envelope paper")},
                       QStringLiteral("<p>Check the printer, its paper and orientation, and how you feed envelopes. "
                                      "A red warning means the printer's page does not match the envelope, or the "
                                      "envelope would not fit where the feed method puts it.</p>")});
    registerHelpTopic({help::FeedMethod, QStringLiteral("Paper feed method"),
                       {QStringLiteral("feed"), QStringLiteral("envelope feed")},
                       QStringLiteral("<p>Tell how envelopes go into your printer: at the left, right or centre of "
                                      "the paper path, long edge first (portrait) or short edge first (landscape, "
                                      "turned one way or the other), face up or face down.</p>")});
}

QPushButton* makeMouseHelpButton(QWidget* parent)
{
    auto* b = new QPushButton(QStringLiteral("?"), parent);
    b->setObjectName(QStringLiteral("MouseHelpButton"));
    b->setAutoDefault(false);
    b->setToolTip(QStringLiteral("Click here, then on any part of the window, to learn what it does."));
    QObject::connect(b, &QPushButton::clicked, b, [] { QWhatsThis::enterWhatsThisMode(); });
    return b;
}

} // namespace postavo::envelopes
