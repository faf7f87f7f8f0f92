#include "templatewindow.h"

#include "dialogkit.h"
#include "labelhelp.h"
#include "messageboxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace postavo::labels {

namespace {
QString inches(double v) { return QString::number(v, 'f', 3); }
} // namespace

TSelectLabel::TSelectLabel(const LabelSheetDefinition& current, QWidget* parent, const QString& sysdataDir)
    : QDialog(parent), selection_(sysdataDir), current_(current), result_(current)
{
    registerLabelHelpTopics();
    setObjectName(QStringLiteral("TSelectLabel"));
    setWindowTitle(QStringLiteral("Select Label Template"));
    enableWhatsThis(this);
    showMessage = [this](const QString& text) { showInformation(text, this); };

    makers_ = new QComboBox(this);
    makers_->setObjectName(QStringLiteral("Manufacturer"));
    explain(makers_, QStringLiteral("The maker of the label stock and the printer it is made for."));
    products_ = new QComboBox(this);
    products_->setObjectName(QStringLiteral("ProductType"));
    explain(products_, QStringLiteral("The kind of product."));
    european_ = new QCheckBox(QStringLiteral("European paper sizes only (A4, A5)"), this);
    european_->setObjectName(QStringLiteral("EuropeanOnly"));
    explain(european_, QStringLiteral("Only stock on A4 or A5 paper."));
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("Search"));
    search_->setPlaceholderText(QStringLiteral("maker and number, e.g. 5160 or L7160"));
    search_->setClearButtonEnabled(true);
    explain(search_, QStringLiteral("Finds a product by its number (and maker) in the whole list; clear it to "
                                    "return to the maker and product type chosen above."));

    grid_ = new QTableWidget(0, 1, this);
    grid_->setObjectName(QStringLiteral("Templates"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Description")});
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setMinimumSize(360, 260);
    grid_->installEventFilter(this);
    explain(grid_, QStringLiteral("The label products that match; the one selected is used."));

    auto* details = new QGridLayout;
    const char* const captions[] = {"Label Height", "Label Width", "# Across", "# Down", "Paper Width", "Paper Height"};
    int i = 0;
    for (const char* c : captions) {
        auto* value = new QLabel(this);
        value->setObjectName(QString::fromLatin1(c).remove(QLatin1Char(' ')).remove(QLatin1Char('#')));
        value->setMinimumWidth(60);
        details->addWidget(new QLabel(QLatin1String(c), this), i, 0);
        details->addWidget(value, i, 1);
        details_ << qMakePair(QString::fromLatin1(c), value);
        ++i;
    }
    details->setRowStretch(i, 1);

    auto* choices = new QGridLayout;
    choices->addWidget(new QLabel(QStringLiteral("Manufacturer"), this), 0, 0);
    choices->addWidget(makers_, 0, 1);
    choices->addWidget(new QLabel(QStringLiteral("Product type"), this), 1, 0);
    choices->addWidget(products_, 1, 1);
    choices->addWidget(european_, 2, 1);
    auto* find = new QLabel(QStringLiteral("&Find"), this);
    find->setBuddy(search_);
    choices->addWidget(find, 3, 0);
    choices->addWidget(search_, 3, 1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(grid_, 1);
    middle->addLayout(details);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(QStringLiteral("Ok"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    buttons->addButton(makeHelpButton(this, kSelectTemplateHelpTopic), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);

    connect(makers_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (filling_)
            return;
        selection_.setManufacturer(index);
        showRows();
    });
    connect(products_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (filling_)
            return;
        selection_.setProductType(index);
        showRows();
    });
    connect(european_, &QCheckBox::toggled, this, [this](bool on) {
        if (filling_)
            return;
        selection_.setEuropeanOnly(on);
        showRows();
    });
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (filling_)
            return;
        selection_.setSearchText(text);
        showRows();
    });
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (filling_)
            return;
        selection_.setCurrentRow(row);
        showCurrent();
    });
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this] { accept(); });
}

bool TSelectLabel::start(QString* message)
{
    if (!selection_.open(message))
        return false;
    selection_.start(current_);
    filling_ = true;
    makers_->clear();
    makers_->addItems(selection_.manufacturerEntries());
    makers_->setCurrentIndex(selection_.manufacturerIndex());
    products_->clear();
    products_->addItems(selection_.productTypeEntries());
    products_->setCurrentIndex(selection_.productTypeIndex());
    european_->setChecked(selection_.europeanOnly());
    filling_ = false;
    showRows();
    return true;
}

void TSelectLabel::showRows()
{
    filling_ = true;
    // A search leaves the lists as they are; a change of the lists empties the search.
    if (selection_.searchText().isEmpty() && !search_->text().isEmpty())
        search_->clear();
    const QStringList d = selection_.descriptions();
    grid_->setRowCount(int(d.size()));
    for (int r = 0; r < d.size(); ++r)
        grid_->setItem(r, 0, new QTableWidgetItem(d[r]));
    if (selection_.currentRow() >= 0) {
        grid_->setCurrentCell(selection_.currentRow(), 0);
        grid_->scrollToItem(grid_->item(selection_.currentRow(), 0));
    }
    filling_ = false;
    grid_->setEnabled(selection_.canAccept());
    ok_->setEnabled(selection_.canAccept());
    showCurrent();
}

void TSelectLabel::showCurrent()
{
    const LabelSheetDefinition* d = selection_.current();
    const QString values[] = {
        d ? inches(d->lblHeight) : QString(), d ? inches(d->lblWidth) : QString(),
        d ? QString::number(d->nbrAcross) : QString(), d ? QString::number(d->nbrDown) : QString(),
        d ? inches(d->sheetWidth) : QString(), d ? inches(d->sheetDepth) : QString(),
    };
    for (int i = 0; i < details_.size(); ++i)
        details_[i].second->setText(values[i]);
}

QString TSelectLabel::detail(const QString& caption) const
{
    for (const auto& d : details_)
        if (d.first == caption)
            return d.second->text();
    return {};
}

bool TSelectLabel::eventFilter(QObject* o, QEvent* e)
{
    // Insert does nothing in the grid.
    if (o == grid_ && e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Insert)
        return true;
    return QDialog::eventFilter(o, e);
}

void TSelectLabel::accept()
{
    if (!selection_.canAccept())
        return;
    const TemplateSelection::Choice c = selection_.accept();
    if (!c.ok()) {
        showMessage(c.message);
        return;
    }
    result_ = c.definition;
    QDialog::accept();
}

bool TSelectLabel::choose(QWidget* parent, LabelSheetDefinition* d, const QString& sysdataDir)
{
    TSelectLabel w(*d, parent, sysdataDir);
    QString message;
    if (!w.start(&message)) {
        showInformation(message, parent);
        return false;
    }
    if (w.exec() != QDialog::Accepted)
        return false;
    *d = w.chosen();
    return true;
}

} // namespace postavo::labels
