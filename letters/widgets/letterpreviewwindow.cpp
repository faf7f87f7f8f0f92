#include "letterpreviewwindow.h"

#include "addressfile.h"
#include "dialogkit.h"
#include "letterhelp.h"
#include "lettermerge.h"
#include "messageboxes.h"
#include "pagedrawing.h"
#include "settings.h"
#include "windowplacement.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace postavo::letters {

namespace {

// A magnifying glass: the sheet zooms where it is clicked.
QCursor magnifierCursor()
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QRectF(2, 2, 13, 13));
    p.drawLine(QPointF(13, 13), QPointF(21, 21));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QRectF(2, 2, 13, 13));
    p.drawLine(QPointF(13, 13), QPointF(21, 21));
    return QCursor(pm, 8, 8);
}

} // namespace

LetterSheet::LetterSheet(TRTFPreviewForm* form) : QWidget(nullptr), form_(form)
{
    setObjectName(QStringLiteral("Sheet"));
    setCursor(magnifierCursor());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LetterSheet::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    form_->paintPage(painter);
}

void LetterSheet::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        form_->zoomIn();
    else
        form_->zoomOut();
}

TRTFPreviewForm::TRTFPreviewForm(const richtext::RichDocument& letter, AddressTable& table, QWidget* parent)
    : QDialog(parent), letter_(letter), table_(table)
{
    registerLetterHelp();
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QString::fromLatin1(kPreviewCaption));
    enableWhatsThis(this);
    setSizeGripEnabled(true);

    auto button = [this](const QString& caption, const char* name, const QString& help, QStyle::StandardPixmap icon,
                         void (TRTFPreviewForm::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        if (icon != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(icon));
        explain(b, help);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    auto* bar = new QHBoxLayout;
    const char* recordNames[] = {"RecordFirst", "RecordPrevious", "RecordNext", "RecordLast"};
    const char* recordCaptions[] = {"|<", "<", ">", ">|"};
    const char* recordHelp[] = {"The first record's letter.", "The previous record's letter.",
                                "The next record's letter.", "The last record's letter."};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(recordCaptions[i]), this);
        b->setObjectName(QLatin1String(recordNames[i]));
        b->setAutoDefault(false);
        b->setMaximumWidth(40);
        explain(b, QString::fromLatin1(recordHelp[i]));
        connect(b, &QPushButton::clicked, this, [this, i] { moveRecord(i); });
        bar->addWidget(b);
    }
    bar->addSpacing(12);
    bar->addWidget(button(QStringLiteral("Zoom In"), "ZoomIn", QStringLiteral("Larger."), QStyle::SP_CustomBase,
                          &TRTFPreviewForm::zoomIn));
    bar->addWidget(button(QStringLiteral("Zoom Out"), "ZoomOut", QStringLiteral("Smaller."), QStyle::SP_CustomBase,
                          &TRTFPreviewForm::zoomOut));
    bar->addWidget(button(QStringLiteral("Page Width"), "PageWidth", QStringLiteral("The page as wide as the window."),
                          QStyle::SP_CustomBase, &TRTFPreviewForm::pageWidth));
    bar->addWidget(button(QStringLiteral("Whole Page"), "WholePage", QStringLiteral("The whole page in the window."),
                          QStyle::SP_CustomBase, &TRTFPreviewForm::wholePage));
    bar->addSpacing(12);
    bar->addWidget(button(QString(), "PreviousPage", QStringLiteral("The previous page."), QStyle::SP_ArrowUp,
                          &TRTFPreviewForm::previousPage));
    bar->addWidget(button(QString(), "NextPage", QStringLiteral("The next page."), QStyle::SP_ArrowDown,
                          &TRTFPreviewForm::nextPage));
    bar->addStretch();
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    bar->addWidget(ok);
    QPushButton* helpButton = makeHelpButton(this, help::PreviewLetters);
    helpButton->setAutoDefault(false);
    bar->addWidget(helpButton);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("View"));
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setAlignment(Qt::AlignCenter);
    sheet_ = new LetterSheet(this);
    scroll_->setWidget(sheet_);
    explain(sheet_, QStringLiteral("Click to zoom in, right-click to zoom out."));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(scroll_, 1);
    resize(760, 720);

    // The zoom starts as "Page Width" gives it for the (still empty) working document.
    pageWidth();
}

TRTFPreviewForm::~TRTFPreviewForm() = default;

QPushButton* TRTFPreviewForm::button(const QString& objectName) const { return findChild<QPushButton*>(objectName); }

double TRTFPreviewForm::screenPpi() const
{
    const QScreen* s = screen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}

SheetGeometry TRTFPreviewForm::geometry() const { return sheetGeometry(work_.pageLayout(), screenPpi(), state_.zoom()); }

void TRTFPreviewForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated_)
        return;
    activated_ = true;
    // The view's size is known only now: the starting zoom is the page width's for it.
    layout()->activate();
    pageWidth();
    mergeRecord();
    Settings settings;
    restorePlacement(this, QString::fromLatin1(kClassName), settings, parentWidget() ? parentWidget()->window() : nullptr);
}

void TRTFPreviewForm::done(int result)
{
    if (activated_) {
        Settings settings;
        storePlacement(this, QString::fromLatin1(kClassName), settings);
    }
    QDialog::done(result);
}

void TRTFPreviewForm::mergeRecord()
{
    work_.copyFrom(letter_);
    if (table_.hasRecord())
        replaceTokens(work_, table_);
    layoutSheet();
    redraw();
}

void TRTFPreviewForm::layoutSheet()
{
    const SheetGeometry g = geometry();
    // No more than the sheet needs: at "Page Width" the sheet fits without a scroll bar.
    sheet_->resize(std::max(g.sheet.width(), scroll_->viewport()->width()),
                   std::max(g.sheet.height(), scroll_->viewport()->height()));
    sheet_->update();
}

void TRTFPreviewForm::redraw()
{
    // Where the following page starts: the same pages the drawing finds, as pages end only at
    // page breaks whatever the width.
    const QList<int> starts = richtext::pageStarts(work_);
    const int index = starts.indexOf(state_.pageStart());
    state_.setNextStart(index >= 0 && index + 1 < starts.size() ? starts[index + 1] : -1);
    sheet_->update();
}

bool TRTFPreviewForm::paintPage(QPainter& painter)
{
    const SheetGeometry g = geometry();
    const QPoint origin((sheet_->width() - g.sheet.width()) / 2, std::max(0, (sheet_->height() - g.sheet.height()) / 2));
    painter.fillRect(g.sheet.translated(origin), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(g.sheet.translated(origin).adjusted(0, 0, -1, -1));
    if (!activated_)
        return true;
    const QRectF text = QRectF(g.text.translated(origin));
    if (!painter.isActive()) {
        if (!drawErrorShown_) {
            drawErrorShown_ = true;
            showInformation(QString::fromLatin1(kPreviewDrawError), this);
        }
        return false;
    }
    state_.setNextStart(richtext::drawPage(&painter, work_, text, state_.zoom(), state_.pageStart()));
    return true;
}

void TRTFPreviewForm::zoomIn()
{
    if (state_.zoomIn())
        layoutSheet();
}

void TRTFPreviewForm::zoomOut()
{
    if (state_.zoomOut())
        layoutSheet();
}

void TRTFPreviewForm::pageWidth()
{
    state_.setZoom(LetterPreviewState::fitZoom(scroll_->viewport()->width(),
                                               twipsToPixels(work_.pageLayout().paperWidth, screenPpi())));
    layoutSheet();
}

void TRTFPreviewForm::wholePage()
{
    state_.setZoom(LetterPreviewState::fitZoom(scroll_->viewport()->height(),
                                               twipsToPixels(work_.pageLayout().paperHeight, screenPpi())));
    layoutSheet();
}

void TRTFPreviewForm::nextPage()
{
    if (!state_.nextPage())
        return;
    setWindowTitle(state_.caption());
    redraw();
}

void TRTFPreviewForm::previousPage()
{
    if (!state_.previousPage())
        return;
    setWindowTitle(state_.caption());
    redraw();
}

void TRTFPreviewForm::moveRecord(int which)
{
    switch (which) {
    case 0: table_.first(); break;
    case 1: table_.previous(); break;
    case 2: table_.next(); break;
    default: table_.last(); break;
    }
    state_.reset();
    setWindowTitle(state_.caption());
    mergeRecord();
}

void TRTFPreviewForm::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    layoutSheet();
}

void TRTFPreviewForm::keyPressEvent(QKeyEvent* e)
{
    QScrollBar* bar = scroll_->verticalScrollBar();
    if (e->key() == Qt::Key_Up) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        return;
    }
    if (e->key() == Qt::Key_Down) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        return;
    }
    // Enter and Escape both close the preview as "Ok" does.
    if (e->key() == Qt::Key_Escape) {
        accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

} // namespace postavo::letters
