#include "pagedialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QVBoxLayout>

namespace postavo::richtext {

PageDialog::PageDialog(const PageLayout& page, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Page Properties"));
    units_ = new QComboBox(this);
    units_->addItems({QStringLiteral("Inch"), QStringLiteral("Cm"), QStringLiteral("Twips")});
    auto spin = [this] {
        auto* box = new QDoubleSpinBox(this);
        box->setAccelerated(true);
        return box;
    };
    width_ = spin();
    height_ = spin();
    top_ = spin();
    bottom_ = spin();
    left_ = spin();
    right_ = spin();

    auto* unitRow = new QFormLayout;
    unitRow->addRow(QStringLiteral("Unit"), units_);
    auto* paper = new QGroupBox(QStringLiteral(" Paper Size "), this);
    auto* paperForm = new QFormLayout(paper);
    paperForm->addRow(QStringLiteral("Width"), width_);
    paperForm->addRow(QStringLiteral("Height"), height_);
    auto* margins = new QGroupBox(QStringLiteral(" Margins "), this);
    auto* marginForm = new QFormLayout(margins);
    marginForm->addRow(QStringLiteral("Top"), top_);
    marginForm->addRow(QStringLiteral("Bottom"), bottom_);
    marginForm->addRow(QStringLiteral("Left"), left_);
    marginForm->addRow(QStringLiteral("Right"), right_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PageDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(unitRow);
    layout->addWidget(paper);
    layout->addWidget(margins);
    layout->addWidget(buttons);

    const int values[6] = {page.paperWidth, page.paperHeight, page.marginTop, page.marginBottom,
                           page.marginLeft, page.marginRight};
    QDoubleSpinBox* boxes[6] = {width_, height_, top_, bottom_, left_, right_};
    for (int i = 0; i < 6; ++i) {
        twips_[i] = values[i];
        connect(boxes[i], &QDoubleSpinBox::valueChanged, this, [this, i](double v) {
            if (!showing_)
                twips_[i] = v * twipsPerUnit();
        });
    }
    setUnit(0);
    connect(units_, &QComboBox::currentIndexChanged, this, &PageDialog::setUnit);
}

double PageDialog::twipsPerUnit() const
{
    switch (unit_) {
    case 1: return 1440.0 / 2.54;
    case 2: return 1.0;
    default: return 1440.0;
    }
}

void PageDialog::setUnit(int index)
{
    if (index < 0 || index > 2)
        return;
    unit_ = index;
    showing_ = true;
    if (units_->currentIndex() != index)
        units_->setCurrentIndex(index);
    const int decimals = index == 0 ? 3 : index == 1 ? 2 : 0;
    QDoubleSpinBox* boxes[6] = {width_, height_, top_, bottom_, left_, right_};
    for (int i = 0; i < 6; ++i) {
        boxes[i]->setDecimals(decimals);
        boxes[i]->setRange(0, PageLayout::kMaximumPaper / twipsPerUnit());
        boxes[i]->setSingleStep(index == 2 ? 20 : index == 1 ? 0.1 : 0.05);
        boxes[i]->setValue(twips_[i] / twipsPerUnit());
    }
    showing_ = false;
}

PageLayout PageDialog::pageLayout() const
{
    PageLayout p;
    p.paperWidth = qRound(twips_[0]);
    p.paperHeight = qRound(twips_[1]);
    p.marginTop = qRound(twips_[2]);
    p.marginBottom = qRound(twips_[3]);
    p.marginLeft = qRound(twips_[4]);
    p.marginRight = qRound(twips_[5]);
    return p;
}

void PageDialog::accept()
{
    if (!pageLayout().isUsable()) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The margins leave no room for text on this paper (at least a quarter inch each way)."));
        return;
    }
    QDialog::accept();
}

} // namespace postavo::richtext
