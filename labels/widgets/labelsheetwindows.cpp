#include "labelsheetwindows.h"

#include "messageboxes.h"
#include "sheetdialogs.h"
#include "templatewindow.h"

namespace postavo::labels {

LabelSheetWindows::LabelSheetWindows(QWidget* parent, QString sysdataDir)
    : parent_(parent), sysdataDir_(std::move(sysdataDir))
{
}

void LabelSheetWindows::showInformation(const QString& text)
{
    postavo::showInformation(text, parent_);
}

LabelDesignerUi::LayoutMethod LabelSheetWindows::chooseLayoutMethod()
{
    TChooseLabelLayout w(parent_);
    w.exec();
    return w.method();
}

bool LabelSheetWindows::selectTemplate(LabelSheetDefinition* d)
{
    return TSelectLabel::choose(parent_, d, sysdataDir_);
}

bool LabelSheetWindows::editUserLayout(LabelSheetDefinition* d)
{
    TLabelEdit w(*d, parent_);
    if (w.exec() != QDialog::Accepted)
        return false;
    *d = w.definition();
    return true;
}

} // namespace postavo::labels
