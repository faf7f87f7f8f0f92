#include "reportpanel.h"

#include "messageboxes.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace postavo::reports {

TReportPanel::TReportPanel(TRPanelKind kind, QWidget* parent, QObject* owner)
    : design::TGDataPanel(parent, owner), kind_(kind)
{
    Shape = design::lsRectangle;
    ui.beep = [] { QApplication::beep(); };
    ui.inform = [this](const QString& text) { showInformation(text, this); };
}

void TReportPanel::setPanelState(TRPanelState state)
{
    state_ = state;
    setPointing(state == psPointing);
}

void TReportPanel::createObjectInRect(const QRect& r)
{
    design::TGGraphicControl* o = createBandObject(*this, kind_, state_, r, font_, ui);
    if (o && objectPlaced)
        objectPlaced(this);
}

void TReportPanel::objectMouseDown(design::TGGraphicControl* object, Qt::MouseButton button,
                                   Qt::KeyboardModifiers shift, int x, int y)
{
    if (!Pointing() && !accepts_) {
        if (ui.beep)
            ui.beep();
        return;
    }
    design::TGDataPanel::objectMouseDown(object, button, shift, x, y);
    if (ControlMouseDownEvent)
        ControlMouseDownEvent(this);
}

void TReportPanel::mousePressEvent(QMouseEvent* e)
{
    // A band that does not take the chosen tool only beeps.
    if (!Pointing() && !accepts_ && e->button() == Qt::LeftButton) {
        if (ui.beep)
            ui.beep();
        return;
    }
    design::TGDataPanel::mousePressEvent(e);
}

void TReportPanel::paintEvent(QPaintEvent* e)
{
    design::TGDataPanel::paintEvent(e);
    // A band that refuses the chosen tool is greyed a little, so the user sees where to draw.
    if (!Pointing() && !accepts_) {
        QPainter p(this);
        p.fillRect(rect(), QColor(128, 128, 128, 60));
    }
}

} // namespace postavo::reports
