#pragma once
// The label designer's questions answered with windows: the sheet choice, the template window,
// the user-defined layout window, message boxes and the font dialog.

#include "labeldesign.h"

class QWidget;

namespace postavo::labels {

class LabelSheetWindows : public LabelDesignerUi {
public:
    // `parent`: the window the questions open over. `sysdataDir`: where LBLTPL.DBF is.
    explicit LabelSheetWindows(QWidget* parent = nullptr, QString sysdataDir = {});
    void setParent(QWidget* parent) { parent_ = parent; }

    void showInformation(const QString& text) override;
    LayoutMethod chooseLayoutMethod() override;
    bool selectTemplate(LabelSheetDefinition* d) override;
    bool editUserLayout(LabelSheetDefinition* d) override;

private:
    QWidget* parent_;
    QString sysdataDir_;
};

} // namespace postavo::labels
