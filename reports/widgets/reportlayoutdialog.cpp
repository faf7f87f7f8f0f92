#include "reportlayoutdialog.h"

#include "dialogkit.h"
#include "textdialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>

namespace postavo::reports {

namespace {
constexpr double kMiniaturePixelsPerInch = 20.0; // 1/20 inch per pixel
const char* kBandNames[4] = {"Header", "Detail", "Memo", "Footer"};
} // namespace

// The page drawn small: margins, and each band with its shade and borders. A click on a band
// opens its tab.
class ReportMiniature : public QWidget {
public:
    explicit ReportMiniature(TReportProperties* dialog) : QWidget(dialog), d_(dialog) { setMinimumSize(240, 240); }

    // Band boxes in widget pixels, for the current settings.
    std::array<QRectF, 4> bandBoxes(const ReportVars& v) const
    {
        const double k = kMiniaturePixelsPerInch / d_->ppi_;
        const double left = v.marginLeft * k, right = (v.pageWidth - v.marginRight) * k;
        const double top = v.marginTop * k, bottom = (v.pageHeight - v.marginBottom) * k;
        const double h = v.useHeader ? v.headerHeight * k : 0;
        const double dt = v.useDetail ? v.detailHeight * k : 0;
        const double m = v.useMemo ? 0.4 * kMiniaturePixelsPerInch : 0;
        const double f = v.useFooter ? v.footerHeight * k : 0;
        return {QRectF(QPointF(left, top), QPointF(right, top + h)),
                QRectF(QPointF(left, top + h), QPointF(right, top + h + dt)),
                QRectF(QPointF(left, top + h + dt), QPointF(right, top + h + dt + m)),
                QRectF(QPointF(left, bottom - f), QPointF(right, bottom))};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const ReportVars v = d_->result();
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        p.translate(offset());
        const double k = kMiniaturePixelsPerInch / d_->ppi_;
        p.fillRect(QRectF(0, 0, v.pageWidth * k, v.pageHeight * k), Qt::white);
        p.setPen(Qt::black);
        p.drawRect(QRectF(0, 0, v.pageWidth * k, v.pageHeight * k));
        p.setPen(QPen(Qt::gray, 1, Qt::DotLine));
        p.drawRect(QRectF(QPointF(v.marginLeft * k, v.marginTop * k),
                          QPointF((v.pageWidth - v.marginRight) * k, (v.pageHeight - v.marginBottom) * k)));
        const auto boxes = bandBoxes(v);
        for (int b = 0; b < 4; ++b) {
            const QRectF r = boxes[std::size_t(b)];
            if (r.height() <= 0)
                continue;
            const BandProperties& bp = v.bands[std::size_t(b)];
            if (bp.shadePercent > 0)
                p.fillRect(r, shadeFill(bp.shadeColor, bp.shadePercent));
            p.setPen(QPen(Qt::black, bp.lineWidth));
            if (bp.borderTop)
                p.drawLine(r.topLeft(), r.topRight());
            if (bp.borderRight)
                p.drawLine(r.topRight(), r.bottomRight());
            if (bp.borderBottom)
                p.drawLine(r.bottomLeft(), r.bottomRight());
            if (bp.borderLeft)
                p.drawLine(r.topLeft(), r.bottomLeft());
            p.setPen(Qt::darkGray);
            QFont f = font();
            f.setPixelSize(9);
            p.setFont(f);
            p.drawText(r, Qt::AlignCenter, QString::fromLatin1(kBandNames[b]));
        }
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        const QPointF at = e->position() - offset();
        const auto boxes = bandBoxes(d_->result());
        for (int b = 0; b < 4; ++b)
            if (boxes[std::size_t(b)].contains(at))
                d_->showBand(b);
    }

private:
    QPointF offset() const { return QPointF(10, 10); }
    TReportProperties* d_;
};

TReportProperties::TReportProperties(const ReportVars& vars, double ppi, QWidget* parent)
    : QDialog(parent), vars_(vars), ppi_(ppi > 0 ? ppi : 96.0)
{
    setWindowTitle(QStringLiteral("Report Layout"));
    enableWhatsThis(this);
    tabs_ = new QTabWidget(this);

    auto* page = new QWidget;
    auto* pl = new QVBoxLayout(page);
    auto* orientation = new QGroupBox(QStringLiteral("Orientation"), page);
    auto* ol = new QVBoxLayout(orientation);
    portrait_ = new QRadioButton(QStringLiteral("Portrait"), orientation);
    landscape_ = new QRadioButton(QStringLiteral("Landscape"), orientation);
    ol->addWidget(portrait_);
    ol->addWidget(landscape_);
    auto* size = new QGroupBox(QStringLiteral("Size"), page);
    auto* sl = new QVBoxLayout(size);
    letter_ = new QRadioButton(QStringLiteral("Letter"), size);
    a4_ = new QRadioButton(QStringLiteral("A4"), size);
    sl->addWidget(letter_);
    sl->addWidget(a4_);
    auto* margins = new QGroupBox(QStringLiteral("Margins (in inches)"), page);
    auto* ml = new QFormLayout(margins);
    const char* sides[4] = {"Left", "Top", "Right", "Bottom"};
    for (int i = 0; i < 4; ++i) {
        margins_[i] = new QDoubleSpinBox(margins);
        margins_[i]->setRange(0.50, 2.50);
        margins_[i]->setDecimals(2);
        margins_[i]->setSingleStep(0.05);
        ml->addRow(QString::fromLatin1(sides[i]), margins_[i]);
    }
    pl->addWidget(orientation);
    pl->addWidget(size);
    pl->addWidget(margins);
    pl->addStretch();
    tabs_->addTab(page, QStringLiteral("Page"));

    for (int b = 0; b < 4; ++b) {
        auto* tab = new QWidget;
        auto* tl = new QVBoxLayout(tab);
        auto* borders = new QGroupBox(QStringLiteral("Borders"), tab);
        auto* bl = new QVBoxLayout(borders);
        const char* edges[4] = {"Top", "Left", "Bottom", "Right"};
        for (int s = 0; s < 4; ++s) {
            borders_[b][s] = new QCheckBox(QString::fromLatin1(edges[s]), borders);
            bl->addWidget(borders_[b][s]);
        }
        auto* form = new QFormLayout;
        lineWidth_[b] = new QSpinBox(tab);
        lineWidth_[b]->setRange(1, 3);
        shade_[b] = new QComboBox(tab);
        for (int pct = 0; pct <= 100; pct += 20)
            shade_[b]->addItem(QString::number(pct), pct);
        colour_[b] = new QPushButton(QStringLiteral("Shade Color"), tab);
        connect(colour_[b], &QPushButton::clicked, this, [this, b] { chooseShadeColour(b); });
        form->addRow(QStringLiteral("Line Width"), lineWidth_[b]);
        form->addRow(QStringLiteral("Shade Percent"), shade_[b]);
        form->addRow(QString(), colour_[b]);
        tl->addWidget(borders);
        tl->addLayout(form);
        tl->addStretch();
        tabs_->addTab(tab, QString::fromLatin1(kBandNames[b]));
    }

    miniature_ = new ReportMiniature(this);
    auto* top = new QHBoxLayout;
    top->addWidget(tabs_, 1);
    top->addWidget(miniature_);

    auto* bar = new QHBoxLayout;
    auto* defaults = new QPushButton(QStringLiteral("Defaults"), this);
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    save->setDefault(true);
    connect(defaults, &QPushButton::clicked, this, &TReportProperties::setDefaults);
    connect(save, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    bar->addWidget(defaults);
    bar->addStretch();
    bar->addWidget(save);
    bar->addWidget(cancel);
    bar->addWidget(makeHelpButton(this, kHelpTopic));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bar);

    load(vars_);
    // Every change shows at once in the miniature.
    auto repaint = [this] { miniature_->update(); };
    for (QRadioButton* r : {portrait_, landscape_, letter_, a4_})
        connect(r, &QRadioButton::toggled, this, repaint);
    for (QDoubleSpinBox* m : margins_)
        connect(m, &QDoubleSpinBox::valueChanged, this, repaint);
    for (int b = 0; b < 4; ++b) {
        for (QCheckBox* c : borders_[b])
            connect(c, &QCheckBox::toggled, this, repaint);
        connect(lineWidth_[b], &QSpinBox::valueChanged, this, repaint);
        connect(shade_[b], &QComboBox::currentIndexChanged, this, repaint);
    }
}

void TReportProperties::load(const ReportVars& v)
{
    // On opening the paper is found from the stored page size (the nearest of the four when it
    // matches none exactly).
    const ReportPaper paper = v.paper(ppi_);
    (paper.landscape ? landscape_ : portrait_)->setChecked(true);
    (paper.size == PaperSize::A4 ? a4_ : letter_)->setChecked(true);
    const int px[4] = {v.marginLeft, v.marginTop, v.marginRight, v.marginBottom};
    for (int i = 0; i < 4; ++i)
        margins_[i]->setValue(px[i] / ppi_);
    for (int b = 0; b < 4; ++b) {
        const BandProperties& p = v.bands[std::size_t(b)];
        const bool sides[4] = {p.borderTop, p.borderLeft, p.borderBottom, p.borderRight};
        for (int s = 0; s < 4; ++s)
            borders_[b][s]->setChecked(sides[s]);
        lineWidth_[b]->setValue(std::clamp(p.lineWidth, 1, 3));
        // The list steps by 20: a stored shade between steps shows at the step below it.
        shade_[b]->setCurrentIndex(std::clamp(p.shadePercent, 0, 100) / 20);
        colours_[b] = p.shadeColor;
    }
}

ReportVars TReportProperties::result() const
{
    ReportVars v = vars_;
    const ReportPaper paper{a4_->isChecked() ? PaperSize::A4 : PaperSize::Letter, landscape_->isChecked()};
    v.setPaper(paper, ppi_);
    int* px[4] = {&v.marginLeft, &v.marginTop, &v.marginRight, &v.marginBottom};
    for (int i = 0; i < 4; ++i) {
        // A margin left as it was keeps its pixels; a changed one is the inches typed.
        const double shown = std::round(*px[i] / ppi_ * 100.0) / 100.0;
        if (std::abs(margins_[i]->value() - shown) > 0.001)
            *px[i] = inchesToPixels(margins_[i]->value(), ppi_);
    }
    for (int b = 0; b < 4; ++b) {
        BandProperties& p = v.bands[std::size_t(b)];
        p.borderTop = borders_[b][0]->isChecked();
        p.borderLeft = borders_[b][1]->isChecked();
        p.borderBottom = borders_[b][2]->isChecked();
        p.borderRight = borders_[b][3]->isChecked();
        p.lineWidth = lineWidth_[b]->value();
        const int stored = vars_.bands[std::size_t(b)].shadePercent;
        const int chosen = shade_[b]->currentData().toInt();
        p.shadePercent = std::clamp(stored, 0, 100) / 20 * 20 == chosen ? stored : chosen;
        p.shadeColor = colours_[b];
    }
    return v;
}

QString TReportProperties::pageDescription() const { return result().pageDescription(ppi_); }

void TReportProperties::setDefaults()
{
    ReportVars d = vars_;
    const ReportVars fresh = ReportVars::defaults(ppi_);
    d.pageWidth = fresh.pageWidth;
    d.pageHeight = fresh.pageHeight;
    d.marginLeft = d.marginTop = d.marginRight = d.marginBottom = fresh.marginLeft;
    d.bands = fresh.bands;
    load(d);
    for (int i = 0; i < 4; ++i)
        margins_[i]->setValue(0.5);
    miniature_->update();
}

void TReportProperties::showBand(int which) { tabs_->setCurrentIndex(std::clamp(which, 0, 3) + 1); }

void TReportProperties::chooseShadeColour(int band)
{
    design::TColor c = colours_[band];
    if (design::dialogs().chooseColour(&c)) {
        colours_[band] = c;
        miniature_->update();
    }
}

} // namespace postavo::reports
