#include "labelprintdialogs.h"

#include "dialogkit.h"
#include "labelhelp.h"
#include "labelsetup.h"
#include "messageboxes.h"
#include "printers.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace postavo::labels {

// ---------------------------------------------------------------- the sheet

SheetPickerView::SheetPickerView(const LabelSheetDefinition& sheet, PositionSelection* positions, QWidget* parent)
    : QWidget(parent), sheet_(sheet), positions_(positions)
{
    setObjectName(QStringLiteral("Sheet"));
    const QScreen* screen = QGuiApplication::primaryScreen();
    scale_ = 0.2 * (screen ? screen->logicalDotsPerInch() : 96.0);
    setMinimumSize(sizeHint());
}

QSize SheetPickerView::sizeHint() const
{
    // Room for a letter page; wider or deeper sheets widen the panel to the page and 20 more.
    const QRect page = pickerPageRect(sheet_, scale_);
    int w = int(8.5 * scale_) + 20, h = int(11 * scale_) + 20;
    if (sheet_.sheetWidth > 8.5f)
        w = page.width() + 20;
    if (sheet_.sheetDepth > 11.0f)
        h = page.height() + 20;
    return {w, h};
}

void SheetPickerView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(pickerPageRect(sheet_, scale_));
    const int count = std::min(sheet_.positionCount(), kMaxPositions);
    for (int i = 0; i < count; ++i) {
        const LabelPosition at = positionAt(sheet_, i);
        p.setBrush(positions_->isSelected(i) ? QColor(Qt::red) : QColor(Qt::white));
        p.drawRect(pickerPositionRect(sheet_, at.row, at.column, scale_));
    }
}

void SheetPickerView::toggleAt(QPoint p)
{
    const int i = pickerPositionAt(sheet_, p, scale_);
    if (i < 0)
        return;
    positions_->toggle(i);
    update();
}

void SheetPickerView::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        toggleAt(e->position().toPoint());
}

// ---------------------------------------------------------------- the picker

TSelectSpecificLabels::TSelectSpecificLabels(const LabelSheetDefinition& sheet, const PositionSelection& positions,
                                             printing::TPrinters& printers, bool presort, QWidget* parent)
    : QDialog(parent), sheet_(sheet), positions_(positions), printers_(printers)
{
    registerLabelHelpTopics();
    setObjectName(QStringLiteral("TSelectSpecificLabels"));
    setWindowTitle(QStringLiteral("Labels Print"));
    enableWhatsThis(this);
    view_ = new SheetPickerView(sheet_, &positions_, this);
    explain(view_, QStringLiteral("Click a label to print on it (red) or to leave it empty (white). The same "
                                  "labels are used on every sheet."));
    auto* all = new QPushButton(QStringLiteral("&All"), this);
    all->setObjectName(QStringLiteral("All"));
    auto* none = new QPushButton(QStringLiteral("&None"), this);
    none->setObjectName(QStringLiteral("None"));
    connect(all, &QPushButton::clicked, this, [this] {
        positions_.selectAll();
        view_->update();
    });
    connect(none, &QPushButton::clicked, this, [this] {
        positions_.clearAll();
        view_->update();
    });

    auto* copiesLabel = new QLabel(QStringLiteral("Number of each label to print"), this);
    copies_ = new QSpinBox(this);
    copies_->setObjectName(QStringLiteral("Copies"));
    copies_->setRange(1, 99);
    copies_->setValue(1);
    copiesLabel->setBuddy(copies_);
    copiesLabel->setVisible(!presort);
    copies_->setVisible(!presort);

    printerList_ = new QComboBox(this);
    printerList_->setObjectName(QStringLiteral("Printer"));
    printerList_->addItems(printers_.printers());
    printerList_->setCurrentIndex(printers_.printerIndex());
    connect(printerList_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            printers_.selectPrinter(i);
    });

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    for (QPushButton* b : {all, none, cancel})
        b->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TSelectSpecificLabels::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(all);
    side->addWidget(none);
    side->addSpacing(12);
    side->addWidget(copiesLabel);
    side->addWidget(copies_);
    side->addSpacing(12);
    side->addWidget(new QLabel(QStringLiteral("Printer"), this));
    side->addWidget(printerList_);
    side->addStretch();
    side->addWidget(ok);
    side->addWidget(cancel);
    side->addWidget(makeHelpButton(this, kSelectLabelsHelpTopic));
    auto* sheetColumn = new QVBoxLayout;
    sheetColumn->addWidget(new QLabel(QStringLiteral(" Select Labels To Print"), this));
    sheetColumn->addWidget(view_, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(sheetColumn, 1);
    layout->addLayout(side);
}

int TSelectSpecificLabels::copies() const { return std::max(1, copies_->value()); }

void TSelectSpecificLabels::accept()
{
    if (positions_.countOn(sheet_) == 0) {
        showInformation(QLatin1String(kNoPositions), this);
        return;
    }
    QDialog::accept();
}

// ---------------------------------------------------------------- the presort

TSortBulkMail::TSortBulkMail(BulkMailPresort& presort, QString path, QWidget* parent)
    : QDialog(parent), presort_(presort), path_(std::move(path))
{
    setObjectName(QStringLiteral("TSortBulkMail"));
    setWindowTitle(QStringLiteral("Bulk Mail Presorting"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Status"));
    status_->setMinimumWidth(280);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    connect(cancel_, &QPushButton::clicked, this, &TSortBulkMail::cancelClicked);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(cancel_, 0, Qt::AlignHCenter);
    confirmCancel = [this] { return askYesNo(QStringLiteral("Cancel PRESORT?"), QStringLiteral("Cancel"), this); };
}

void TSortBulkMail::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!started_) {
        started_ = true;
        QTimer::singleShot(0, this, &TSortBulkMail::run);
    }
}

void TSortBulkMail::run()
{
    running_ = true;
    presort_.status = [this](const QString& text) { status_->setText(text); };
    presort_.keepGoing = [this] {
        QCoreApplication::processEvents();
        return !cancelled_;
    };
    result_ = presort_.run(path_, &error_);
    running_ = false;
    presort_.status = nullptr;
    presort_.keepGoing = nullptr;
    done(result_ == BulkMailPresort::Result::Done ? QDialog::Accepted : QDialog::Rejected);
}

void TSortBulkMail::cancelClicked()
{
    if (!running_) {
        QDialog::reject();
        return;
    }
    if (confirmCancel && confirmCancel())
        cancelled_ = true;
}

void TSortBulkMail::reject() { cancelClicked(); }

} // namespace postavo::labels
