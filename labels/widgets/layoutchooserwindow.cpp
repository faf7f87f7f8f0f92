#include "layoutchooserwindow.h"

#include "dialogkit.h"
#include "labeldesignwindow.h"
#include "labelhelp.h"
#include "labelsheetwindows.h"
#include "messageboxes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace postavo::labels {

TLabelLayoutChooser::TLabelLayoutChooser(LabelLayoutCatalogue& catalogue, AddressTable* table, QWidget* parent,
                                         LabelDesignerUi* ui)
    : QDialog(parent), catalogue_(catalogue), table_(table), ui_(ui)
{
    registerLabelHelpTopics();
    setObjectName(QStringLiteral("TLabelLayoutChooser"));
    setWindowTitle(QStringLiteral("Print Labels"));
    enableWhatsThis(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("Layouts"));
    list_->setMinimumSize(320, 220);
    explain(list_, QStringLiteral("The label layouts, by description."));
    new_ = new QPushButton(QStringLiteral("New"), this);
    new_->setObjectName(QStringLiteral("New"));
    modify_ = new QPushButton(QStringLiteral("Modify"), this);
    modify_->setObjectName(QStringLiteral("Modify"));
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    explain(new_, QStringLiteral("Starts a new label layout: pick the label stock, then draw the label."));
    explain(modify_, QStringLiteral("Opens the selected layout in the label designer."));
    for (QPushButton* b : {new_, modify_})
        b->setAutoDefault(false);
    connect(new_, &QPushButton::clicked, this, [this] { newLayout(); });
    connect(modify_, &QPushButton::clicked, this, [this] { modifyLayout(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { modifyLayout(); });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { modify_->setEnabled(row >= 0); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(new_);
    buttons->addWidget(modify_);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(makeHelpButton(this, kLabelLayoutsHelpTopic));
    auto* row = new QHBoxLayout;
    row->addWidget(list_, 1);
    row->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Label layouts"), this));
    layout->addLayout(row);
    fill();
}

void TLabelLayoutChooser::fill(quint32 select)
{
    rows_ = catalogue_.rows();
    list_->clear();
    int current = rows_.empty() ? -1 : 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        list_->addItem(rows_[i].description);
        if (rows_[i].recno == select)
            current = int(i);
    }
    list_->setCurrentRow(current);
    modify_->setEnabled(current >= 0);
}

void TLabelLayoutChooser::newLayout()
{
    LabelSheetWindows windows(this, catalogue_.sysdataDir());
    LabelDesignerUi& ui = ui_ ? *ui_ : windows;
    LabelSheetDefinition sheet = newLayoutDefaults();
    switch (ui.chooseLayoutMethod()) {
    case LabelDesignerUi::LayoutMethod::Template: ui.selectTemplate(&sheet); break;
    case LabelDesignerUi::LayoutMethod::Manual: ui.editUserLayout(&sheet); break;
    case LabelDesignerUi::LayoutMethod::Cancel: break;
    }
    LabelLayoutRow row = catalogue_.newLayout(sheet);
    if (TLabelDesignScreen::designLayout(this, catalogue_, row, table_, ui_))
        fill(row.recno);
}

void TLabelLayoutChooser::modifyLayout()
{
    const int i = list_->currentRow();
    if (i < 0 || i >= int(rows_.size()))
        return;
    const std::optional<LabelLayoutRow> current = catalogue_.row(rows_[size_t(i)].recno);
    if (!current) {
        fill();
        return;
    }
    LabelLayoutRow row = *current;
    if (TLabelDesignScreen::designLayout(this, catalogue_, row, table_, ui_))
        fill(row.recno);
}

void runLabelLayouts(QWidget* parent, AddressTable* table)
{
    LabelLayoutCatalogue catalogue;
    QString message;
    if (!catalogue.open(&message)) {
        showInformation(message, parent);
        return;
    }
    TLabelLayoutChooser w(catalogue, table, parent);
    w.exec();
}

} // namespace postavo::labels
