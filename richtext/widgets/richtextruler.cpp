#include "richtextruler.h"

#include "layoutunits.h"
#include "richtextedit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <cmath>

namespace postavo::richtext {

namespace {

constexpr int kHeight = 26;
constexpr int kSnap = 90;  // a sixteenth of an inch

QPainterPath triangle(double x, double y, bool down)
{
    QPainterPath p;
    const double w = 5, h = 6;
    if (down) {
        p.moveTo(x - w, y);
        p.lineTo(x + w, y);
        p.lineTo(x, y + h);
    } else {
        p.moveTo(x - w, y);
        p.lineTo(x + w, y);
        p.lineTo(x, y - h);
    }
    p.closeSubpath();
    return p;
}

void drawTabMark(QPainter& p, double x, double y, QTextOption::TabType type)
{
    p.setPen(QPen(Qt::black, 1.5));
    switch (type) {
    case QTextOption::LeftTab:
        p.drawLine(QPointF(x, y - 6), QPointF(x, y));
        p.drawLine(QPointF(x, y), QPointF(x + 5, y));
        break;
    case QTextOption::RightTab:
        p.drawLine(QPointF(x, y - 6), QPointF(x, y));
        p.drawLine(QPointF(x - 5, y), QPointF(x, y));
        break;
    case QTextOption::CenterTab:
        p.drawLine(QPointF(x, y - 6), QPointF(x, y));
        p.drawLine(QPointF(x - 4, y), QPointF(x + 4, y));
        break;
    case QTextOption::DelimiterTab:
        p.drawLine(QPointF(x, y - 6), QPointF(x, y));
        p.drawLine(QPointF(x - 4, y), QPointF(x + 4, y));
        p.drawEllipse(QPointF(x + 3, y - 4), 0.8, 0.8);
        break;
    }
}

} // namespace

RichTextRuler::RichTextRuler(RichTextEdit* edit, QWidget* parent) : QWidget(parent), edit_(edit)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setToolTip(QStringLiteral("Click to set a tab stop; drag a tab stop off the ruler to remove it"));
    auto refresh = [this] { update(); };
    connect(edit, &RichTextEdit::currentBlockFormatChanged, this, refresh);
    connect(edit, &RichTextEdit::viewChanged, this, refresh);
    connect(edit, &RichTextEdit::pageLayoutChanged, this, refresh);
}

QSize RichTextRuler::sizeHint() const
{
    return QSize(400, kHeight);
}

void RichTextRuler::setTabType(QTextOption::TabType type)
{
    tabType_ = type;
    update();
}

double RichTextRuler::xAt(double twips) const
{
    const QPoint viewport = edit_->viewport()->mapTo(window(), QPoint(0, 0));
    const QPoint self = mapTo(window(), QPoint(0, 0));
    return viewport.x() - self.x() + edit_->textLeftOnWidget() + twips * edit_->scale();
}

double RichTextRuler::twipsAt(double x) const
{
    return (x - xAt(0)) / edit_->scale();
}

int RichTextRuler::snap(double twips) const
{
    return int(std::lround(twips / kSnap)) * kSnap;
}

QRectF RichTextRuler::tabTypeBox() const
{
    return QRectF(2, 3, kHeight - 6, kHeight - 6);
}

void RichTextRuler::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());
    const PageLayout page = edit_->pageLayout();
    const double s = edit_->scale();
    const double textLeft = xAt(0);
    const double paperLeft = textLeft - page.marginLeft * s;
    const double paperRight = paperLeft + page.paperWidth * s;
    const double textRight = xAt(page.textWidth());
    const QRectF band(paperLeft, 4, paperRight - paperLeft, height() - 8);
    p.fillRect(band, QColor(200, 200, 200));
    p.fillRect(QRectF(textLeft, band.top(), textRight - textLeft, band.height()), Qt::white);

    // Ticks every eighth of an inch, numbers at whole inches from the left margin.
    p.setPen(QColor(90, 90, 90));
    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    const double eighth = 180 * s;
    if (eighth > 1.5) {
        const int first = int(std::floor((paperLeft - textLeft) / eighth));
        const int last = int(std::ceil((paperRight - textLeft) / eighth));
        for (int i = first; i <= last; ++i) {
            const double x = textLeft + i * eighth;
            if (i % 8 == 0) {
                if (i != 0)
                    p.drawText(QRectF(x - 10, band.top(), 20, band.height()), Qt::AlignCenter, QString::number(std::abs(i / 8)));
            } else {
                const double h = i % 4 == 0 ? 5 : i % 2 == 0 ? 3 : 2;
                p.drawLine(QPointF(x, band.center().y() - h / 2), QPointF(x, band.center().y() + h / 2));
            }
        }
    }

    // Indents and tab stops of the current paragraph (or the dragged values).
    const QTextBlockFormat bf = edit_->textCursor().blockFormat();
    const bool dragging = drag_ != Drag::None;
    const double left = dragging ? left_ : bf.leftMargin();
    const double first = dragging ? first_ : bf.leftMargin() + bf.textIndent();
    const double right = dragging ? right_ : bf.rightMargin();
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(230, 230, 230));
    p.drawPath(triangle(xAt(first), 1, true));
    p.drawPath(triangle(xAt(left), height() - 1, false));
    p.drawPath(triangle(xAt(page.textWidth() - right), height() - 1, false));
    QList<QTextOption::Tab> tabs = dragging && drag_ == Drag::Tab ? tabs_ : QList<QTextOption::Tab>();
    if (!dragging)
        for (const QTextOption::Tab& t : bf.tabPositions())
            tabs.append(QTextOption::Tab(scaledToTwips(t.position), t.type, t.delimiter));
    for (int i = 0; i < tabs.size(); ++i) {
        if (drag_ == Drag::Tab && i == dragTab_ && dragOff_)
            continue;
        drawTabMark(p, xAt(tabs[i].position), height() - 6, tabs[i].type);
    }

    // The kind of tab stop a click sets.
    p.setBrush(Qt::white);
    p.setPen(QColor(120, 120, 120));
    p.drawRect(tabTypeBox());
    drawTabMark(p, tabTypeBox().center().x() - (tabType_ == QTextOption::RightTab ? -2 : 2), tabTypeBox().center().y() + 3, tabType_);
}

void RichTextRuler::mousePressEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    if (tabTypeBox().contains(pos)) {
        static const QTextOption::TabType order[] = {QTextOption::LeftTab, QTextOption::CenterTab,
                                                     QTextOption::RightTab, QTextOption::DelimiterTab};
        const int at = int(std::find(std::begin(order), std::end(order), tabType_) - std::begin(order));
        setTabType(order[(at + 1) % 4]);
        return;
    }
    const QTextBlockFormat bf = edit_->textCursor().blockFormat();
    const PageLayout page = edit_->pageLayout();
    left_ = bf.leftMargin();
    first_ = bf.leftMargin() + bf.textIndent();
    right_ = bf.rightMargin();
    tabs_.clear();
    for (const QTextOption::Tab& t : bf.tabPositions())
        tabs_.append(QTextOption::Tab(scaledToTwips(t.position), t.type, t.delimiter));
    auto near = [&](double twips) { return std::abs(xAt(twips) - pos.x()) <= 6; };
    if (pos.y() < height() / 2.0 && near(first_)) {
        drag_ = Drag::FirstIndent;
    } else if (pos.y() >= height() / 2.0 && near(left_)) {
        drag_ = Drag::LeftIndent;
    } else if (pos.y() >= height() / 2.0 && near(page.textWidth() - right_)) {
        drag_ = Drag::RightIndent;
    } else {
        drag_ = Drag::Tab;
        dragTab_ = -1;
        for (int i = 0; i < tabs_.size(); ++i)
            if (near(tabs_[i].position))
                dragTab_ = i;
        if (dragTab_ < 0) {
            const int at = snap(twipsAt(pos.x()));
            if (at <= 0 || at >= page.textWidth()) {
                drag_ = Drag::None;
                return;
            }
            tabs_.append(QTextOption::Tab(at, tabType_, tabType_ == QTextOption::DelimiterTab ? QChar('.') : QChar()));
            dragTab_ = int(tabs_.size()) - 1;
        }
    }
    dragOff_ = false;
    update();
}

void RichTextRuler::mouseMoveEvent(QMouseEvent* event)
{
    if (drag_ == Drag::None)
        return;
    const PageLayout page = edit_->pageLayout();
    const int at = std::clamp(snap(twipsAt(event->position().x())), -page.marginLeft, page.textWidth() + page.marginRight);
    switch (drag_) {
    case Drag::FirstIndent: first_ = at; break;
    case Drag::LeftIndent: left_ = at; break;
    case Drag::RightIndent: right_ = page.textWidth() - at; break;
    case Drag::Tab:
        tabs_[dragTab_].position = std::clamp(at, 0, page.textWidth());
        dragOff_ = event->position().y() < -12 || event->position().y() > height() + 12;
        break;
    case Drag::None: break;
    }
    update();
}

void RichTextRuler::mouseReleaseEvent(QMouseEvent*)
{
    if (drag_ == Drag::Tab) {
        if (dragOff_)
            tabs_.removeAt(dragTab_);
        std::sort(tabs_.begin(), tabs_.end(), [](const QTextOption::Tab& a, const QTextOption::Tab& b) {
            return a.position < b.position;
        });
        QList<QTextOption::Tab> scaled;
        for (const QTextOption::Tab& t : tabs_)
            if (scaled.isEmpty() || scaledToTwips(scaled.last().position) != int(t.position))
                scaled.append(QTextOption::Tab(twipsToScaled(t.position), t.type, t.delimiter));
        edit_->setTabStops(scaled);
    } else if (drag_ != Drag::None) {
        applyIndents();
    }
    drag_ = Drag::None;
    dragTab_ = -1;
    update();
}

void RichTextRuler::applyIndents()
{
    QTextBlockFormat f;
    f.setLeftMargin(left_);
    f.setTextIndent(first_ - left_);
    f.setRightMargin(right_);
    edit_->mergeBlockFormat(f);
}

} // namespace postavo::richtext
