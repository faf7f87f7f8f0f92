#include "labelhelp.h"

#include "helptopics.h"

namespace postavo::labels {

void registerLabelHelpTopics()
{
    static const bool done = [] {
        registerHelpTopic({kLabelLayoutsHelpTopic, QStringLiteral("Label layouts"),
                           {QStringLiteral("labels"), QStringLiteral("layout"), QStringLiteral("print labels")},
                           QStringLiteral("<p>Every label layout is one label drawn for one kind of label stock. "
                                          "<b>New</b> starts a layout (you may pick the stock first), <b>Modify</b> "
                                          "opens the selected layout in the label designer, <b>Clone</b> copies it "
                                          "and <b>Delete</b> removes it. Choose the records to print, whether to "
                                          "presort them for bulk-mail rates and the printer, then <b>Preview</b> or "
                                          "<b>Print</b>.</p>")});
        registerHelpTopic({kSelectLabelsHelpTopic, QStringLiteral("Choosing the labels to print"),
                           {QStringLiteral("positions"), QStringLiteral("half-used sheet"), QStringLiteral("copies")},
                           QStringLiteral("<p>Red labels are printed on, white ones left empty, on every sheet: "
                                          "click a label to change it, or use <b>All</b> and <b>None</b>. "
                                          "<b>Number of each label to print</b> repeats every record's label; a "
                                          "presorted run prints each record once.</p>")});
        registerHelpTopic({kChooseLayoutHelpTopic, QStringLiteral("Choosing the label stock"),
                           {QStringLiteral("label stock"), QStringLiteral("layout")},
                           QStringLiteral("<p>Pick the stock from the makers' products, or type in the sizes of a "
                                          "stock the list does not have.</p>")});
        registerHelpTopic({kSelectTemplateHelpTopic, QStringLiteral("Selecting a label template"),
                           {QStringLiteral("template"), QStringLiteral("label stock"), QStringLiteral("Avery")},
                           QStringLiteral("<p>Choose the maker and printer, the kind of product and, for A4 and A5 "
                                          "paper, <i>European paper sizes only</i>. The list shows the matching "
                                          "products. To find a product by its number, type the number (for example "
                                          "5160 or L7160), with the maker's name if you like, in <b>Find</b>.</p>")});
        registerHelpTopic({kUserLayoutHelpTopic, QStringLiteral("Typing in a label layout"),
                           {QStringLiteral("user defined"), QStringLiteral("millimeters"), QStringLiteral("pitch")},
                           QStringLiteral("<p>Measure one label, the distance from one label to the next across "
                                          "(horizontal pitch) and down (vertical pitch), and the margins from the "
                                          "paper's edges to the first label. Lengths may be typed in inches or in "
                                          "millimetres.</p>")});
        registerHelpTopic({kLabelDesignHelpTopic, QStringLiteral("The label designer"),
                           {QStringLiteral("designer"), QStringLiteral("label design"), QStringLiteral("tools")},
                           QStringLiteral("<p>Pick a tool and drag a rectangle on the label to place an object; "
                                          "the selection tool moves and sizes objects. Right-click an object for its "
                                          "commands. The record buttons fill the label with the records of the open "
                                          "address file. <b>Change Layout</b> picks another label stock; "
                                          "<b>Save</b> keeps the layout.</p>")});
        return true;
    }();
    (void)done;
}

} // namespace postavo::labels
