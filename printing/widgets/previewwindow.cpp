#include "previewwindow.h"
#include "devices.h"
#include "messageboxes.h"
#include "printunits.h"

#include "settings.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace postavo::printing {

namespace {

constexpr int kPageGap = 12;   // grey border around the page, screen pixels
constexpr int kScrollStep = 20;

QCursor magnifierCursor()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QRectF(3, 3, 17, 17));
    p.drawLine(QPointF(18, 18), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QRectF(3, 3, 17, 17));
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(QPointF(18, 18), QPointF(28, 28));
    p.end();
    return QCursor(pm, 11, 11);
}

} // namespace

// ---- PreviewZoom ----

const std::vector<double>& PreviewZoom::steps()
{
    static const std::vector<double> s = {0.1, 0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 3.0, 4.0};
    return s;
}

void PreviewZoom::setZoom(double z)
{
    zoom_ = std::clamp(z, steps().front(), steps().back());
}

void PreviewZoom::zoomIn()
{
    for (double s : steps())
        if (s > zoom_ + 1e-6) {
            zoom_ = s;
            return;
        }
}

void PreviewZoom::zoomOut()
{
    for (auto it = steps().rbegin(); it != steps().rend(); ++it)
        if (*it < zoom_ - 1e-6) {
            zoom_ = *it;
            return;
        }
}

double PreviewZoom::wholePage(QSizeF page, QSize view, double dpi)
{
    if (page.isEmpty() || dpi <= 0)
        return 1.0;
    const double zx = (view.width() - 2 * kPageGap) / (page.width() * dpi);
    const double zy = (view.height() - 2 * kPageGap) / (page.height() * dpi);
    return std::max(0.05, std::min(zx, zy));
}

double PreviewZoom::pageWidth(QSizeF page, QSize view, double dpi)
{
    if (page.isEmpty() || dpi <= 0)
        return 1.0;
    // Room for the vertical scroll bar that a page this wide will need.
    const int bar = QApplication::style() ? 20 : 0;
    return std::max(0.05, (view.width() - 2 * kPageGap - bar) / (page.width() * dpi));
}

QString previewCaption(int page, int firstPage, int pageCount, double zoom)
{
    const int percent = static_cast<int>(roundHalfEven(zoom * 100.0));
    return QStringLiteral("Preview Page %1 of %2 ( %3% )").arg(page - firstPage + 1).arg(pageCount).arg(percent);
}

// ---- The page on screen ----

class PreviewPageView : public QWidget {
public:
    explicit PreviewPageView(TPreviewForm* form) : QWidget(form), form_(form)
    {
        setCursor(magnifierCursor());
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    QSize pagePixels() const
    {
        const QSizeF page = form_->doc_ ? form_->doc_->pageSize() : QSizeF(8.5, 11);
        const double dpi = form_->screenDpi() * form_->zoom();
        return QSize(int(roundHalfEven(page.width() * dpi)), int(roundHalfEven(page.height() * dpi)));
    }

    void refit()
    {
        const QSize p = pagePixels();
        resize(p.width() + 2 * kPageGap, p.height() + 2 * kPageGap);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(128, 128, 128));
        const QSize size = pagePixels();
        const QRect page(kPageGap, kPageGap, size.width(), size.height());
        p.fillRect(page.translated(4, 4), QColor(64, 64, 64));
        p.fillRect(page, Qt::white);
        p.setClipRect(page);
        p.setRenderHint(QPainter::TextAntialiasing);
        if (form_->doc_)
            form_->doc_->paintPage(form_->page_, p, form_->screenDpi() * form_->zoom(), page.topLeft());
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton)
            form_->zoomIn();
        else if (e->button() == Qt::RightButton)
            form_->zoomOut();
    }

private:
    TPreviewForm* form_;
};

// ---- TPreviewForm ----

TPreviewForm::TPreviewForm(const RecordingDevice* document, const QString& caption, PreviewZoom::Start start,
                           Settings* settings, QWidget* parent, double startPercent)
    : QDialog(parent), doc_(document), start_(start), startPercent_(startPercent), settings_(settings)
{
    setWindowTitle(caption);
    setModal(true);
    resize(720, 820);

    auto* tools = new QHBoxLayout;
    auto add = [&](const QString& text, void (TPreviewForm::*slot)()) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, slot);
        tools->addWidget(b);
        return b;
    };
    add(QStringLiteral("Zoom In"), &TPreviewForm::zoomIn);
    add(QStringLiteral("Zoom Out"), &TPreviewForm::zoomOut);
    add(QStringLiteral("Page Width"), &TPreviewForm::zoomPageWidth);
    add(QStringLiteral("Whole Page"), &TPreviewForm::zoomWholePage);
    add(QStringLiteral("100%"), &TPreviewForm::zoom100);
    tools->addSpacing(12);
    pageButtons_[0] = add(QStringLiteral("First"), &TPreviewForm::firstPage);
    pageButtons_[1] = add(QStringLiteral("Previous"), &TPreviewForm::previousPage);
    pageButtons_[2] = add(QStringLiteral("Next"), &TPreviewForm::nextPage);
    pageButtons_[3] = add(QStringLiteral("Last"), &TPreviewForm::lastPage);
    tools->addStretch();
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    tools->addWidget(ok);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, [] { showHelpTopic(1074); });
    tools->addWidget(help);

    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->verticalScrollBar()->setSingleStep(kScrollStep);
    scroll_->horizontalScrollBar()->setSingleStep(kScrollStep);
    auto* view = new PreviewPageView(this);
    pageView_ = view;
    scroll_->setWidget(view);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(scroll_, 1);

    for (QPushButton* b : pageButtons_)
        b->setVisible(pageCount() >= 2);
    if (start_ == PreviewZoom::Start::Percent)
        zoom_.setZoom(startPercent_ / 100.0);
    view->refit();
}

TPreviewForm::~TPreviewForm() = default;

int TPreviewForm::pageCount() const { return doc_ ? doc_->pageCount() : 0; }

double TPreviewForm::screenDpi() const
{
    return logicalDpiX() > 0 ? logicalDpiX() : 96.0;
}

QPushButton* TPreviewForm::pageButton(int which) const
{
    return which >= 0 && which < 4 ? pageButtons_[which] : nullptr;
}

void TPreviewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    if (settings_) {
        const QString section = placementSection(QStringLiteral("TPreviewForm"), logicalDpiY());
        const QRect centre = parentWidget() ? parentWidget()->frameGeometry()
                                            : (screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768));
        const QSize screenSize = screen() ? screen()->size() : QSize(1024, 768);
        const Placement p = loadPlacement(*settings_, section, Placement::fromRect(geometry(), isMaximized()),
                                          screenSize, centre);
        setGeometry(p.rect());
        if (p.maximized)
            setWindowState(windowState() | Qt::WindowMaximized);
    }
    // The fitting zooms need the final size of the viewport.
    if (start_ == PreviewZoom::Start::WholePage)
        zoomWholePage();
    else if (start_ == PreviewZoom::Start::PageWidth)
        zoomPageWidth();
    else
        changed();
}

void TPreviewForm::done(int result)
{
    if (settings_ && activated_)
        savePlacement(*settings_, placementSection(QStringLiteral("TPreviewForm"), logicalDpiY()),
                      Placement::fromRect(normalGeometry().isValid() ? normalGeometry() : geometry(), isMaximized()));
    QDialog::done(result);
}

void TPreviewForm::keyPressEvent(QKeyEvent* event)
{
    QScrollBar* bar = scroll_->verticalScrollBar();
    if (event->key() == Qt::Key_Down) {
        bar->setValue(bar->value() + bar->singleStep());
        return;
    }
    if (event->key() == Qt::Key_Up) {
        bar->setValue(bar->value() - bar->singleStep());
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPreviewForm::changed()
{
    static_cast<PreviewPageView*>(pageView_)->refit();
    setWindowTitle(previewCaption(page_ + 1, 1, pageCount(), zoom_.zoom()));
}

void TPreviewForm::firstPage() { page_ = 0; changed(); }
void TPreviewForm::previousPage() { if (page_ > 0) --page_; changed(); }
void TPreviewForm::nextPage() { if (page_ + 1 < pageCount()) ++page_; changed(); }
void TPreviewForm::lastPage() { page_ = std::max(0, pageCount() - 1); changed(); }
void TPreviewForm::zoomIn() { zoom_.zoomIn(); changed(); }
void TPreviewForm::zoomOut() { zoom_.zoomOut(); changed(); }
void TPreviewForm::zoom100() { zoom_.setZoom(1.0); changed(); }

void TPreviewForm::zoomPageWidth()
{
    const QSizeF page = doc_ ? doc_->pageSize() : QSizeF(8.5, 11);
    zoom_.setZoom(PreviewZoom::pageWidth(page, scroll_->viewport()->size(), screenDpi()));
    changed();
}

void TPreviewForm::zoomWholePage()
{
    const QSizeF page = doc_ ? doc_->pageSize() : QSizeF(8.5, 11);
    zoom_.setZoom(PreviewZoom::wholePage(page, scroll_->viewport()->size(), screenDpi()));
    changed();
}

} // namespace postavo::printing
