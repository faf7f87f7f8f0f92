#include "selectionframe.h"

#include "designobject.h"
#include "designsurfacewidget.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace postavo::design {

namespace {
// How long after a press the mouse starts a drag, and how short a press stays a click.
constexpr qint64 kDragDelayMs = 10;
constexpr qint64 kClickMs = 150;

Qt::CursorShape zoneCursor(int zone)
{
    switch (zone) {
    case 1: case 4: return Qt::SizeFDiagCursor;
    case 2: case 3: return Qt::SizeBDiagCursor;
    case 5: case 7: return Qt::SizeVerCursor;
    case 6: case 8: return Qt::SizeHorCursor;
    default: return Qt::OpenHandCursor; // the hand-grab
    }
}
} // namespace

TGHandle::TGHandle(TGBasePanel* surface) : QWidget(surface), surface_(surface)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setGeometry(model().frame());
    hide();
    setEnabled(false);
}

Selection& TGHandle::model() { return surface_->selection(); }
const Selection& TGHandle::model() const { return surface_->selection(); }

void TGHandle::setGrid(int step)
{
    GridX = GridY = step;
    SnapToGrid = step > 1;
}

bool TGHandle::add(TGGraphicControl* object)
{
    if (object->Unselectable)
        return false;
    pressTime_ = tickMs();
    if (contains(object))
        return true;
    model().add(object);
    capture_ = true;
    leftHeld_ = true;
    return true;
}

void TGHandle::clear() { model().clear(); }
void TGHandle::remove(TGGraphicControl* object) { model().remove(object); }
void TGHandle::reposition() { model().reposition(); }
void TGHandle::setFrame(const QRect& frame) { model().setFrame(frame); }

void TGHandle::follow(Selection::Change change)
{
    setGeometry(model().frame());
    switch (change) {
    case Selection::Change::Added:
        setCursor(Qt::OpenHandCursor);
        if (count() == 1) {
            setEnabled(true);
            show();
        }
        zone_ = 0;
        raise();
        releaseCapture();
        setFocus();
        break;
    case Selection::Change::Cleared:
        hide();
        setEnabled(false);
        releaseCapture();
        break;
    case Selection::Change::Reframed:
        update();
        break;
    case Selection::Change::Removed:
        break;
    }
    surface_->update();
}

void TGHandle::releaseCapture()
{
    capture_ = false;
    dragging_ = false;
    leftHeld_ = false;
}

// ---- mouse ----

void TGHandle::handlePress(QPoint local, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    const QPoint sp = toSurface(local);
    if (!surface_->Pointing() || button == Qt::MiddleButton) {
        surface_->surfacePress(sp, button, mods);
        return;
    }
    if (button == Qt::RightButton) {
        releaseCapture();
        TGGraphicControl* o = count() == 1 ? model().objectAt(sp) : nullptr;
        if (o)
            surface_->openObjectMenu(o, surface_->mapToGlobal(sp));
        else
            surface_->showMenu(surface_->surfaceMenu(), surface_->mapToGlobal(sp));
        return;
    }
    if (mods & Qt::ShiftModifier) {
        // Shift-click inside the frame takes the objects under the point out of the selection.
        for (auto* o : std::vector<TGGraphicControl*>(selection()))
            if (o->boundsRect().contains(sp))
                remove(o);
        releaseCapture();
        return;
    }
    pressTime_ = tickMs();
    start_ = sp;
    dragging_ = true;
    leftHeld_ = true;
    capture_ = true;
    endDragOnMove_ = false;
}

void TGHandle::handleMove(QPoint local, Qt::MouseButtons buttons, Qt::KeyboardModifiers)
{
    QPoint sp = toSurface(local);
    if (endDragOnMove_) {
        endDragOnMove_ = false;
        dragging_ = false;
        surface_->setOverlay({});
    }
    if (!(buttons & Qt::LeftButton)) {
        if (capture_ && !dragging_)
            capture_ = false;
        if (dragging_) {
            releaseCapture();
            surface_->setOverlay({});
        }
    }
    if (!dragging_) {
        if (!surface_->Pointing()) {
            setCursor(Qt::CrossCursor);
            return;
        }
        if ((buttons & Qt::LeftButton) && leftHeld_ && capture_) {
            if (tickMs() - pressTime_ > kDragDelayMs) {
                dragging_ = true;
                start_ = sp;
            }
            return;
        }
        zone_ = count() == 1 ? zoneAt(local, width(), height()) : 0;
        setCursor(zoneCursor(zone_));
        return;
    }
    // Held inside the surface while dragging.
    sp.setX(std::clamp(sp.x(), 0, surface_->width() - 1));
    sp.setY(std::clamp(sp.y(), 0, surface_->height() - 1));
    const QRect f = draggedFrame(model().frame(), zone_, sp.x() - start_.x(), sp.y() - start_.y());
    surface_->setOverlay(QRect(f.left() + 2, f.top() + 2, f.width() - 5, f.height() - 5));
}

void TGHandle::handleRelease(QPoint local, Qt::MouseButton button, Qt::KeyboardModifiers)
{
    QPoint sp = toSurface(local);
    surface_->setOverlay({});
    if (button == Qt::LeftButton && dragging_) {
        if (tickMs() - pressTime_ < kClickMs)
            start_ = sp; // a click moves nothing
        sp.setX(std::clamp(sp.x(), 0, surface_->width() - 1));
        sp.setY(std::clamp(sp.y(), 0, surface_->height() - 1));
        if (sp != start_)
            setFrame(draggedFrame(model().frame(), zone_, sp.x() - start_.x(), sp.y() - start_.y()));
    }
    setCursor(Qt::ArrowCursor);
    releaseCapture();
}

void TGHandle::handleDoubleClick(QPoint local)
{
    endDragOnMove_ = true;
    if (count() > 1)
        return;
    const QPoint sp = toSurface(local);
    if (TGGraphicControl* o = model().objectAt(sp)) {
        releaseCapture();
        surface_->openObjectMenu(o, surface_->mapToGlobal(sp));
    }
}

void TGHandle::mousePressEvent(QMouseEvent* e) { handlePress(e->position().toPoint(), e->button(), e->modifiers()); }
void TGHandle::mouseMoveEvent(QMouseEvent* e) { handleMove(e->position().toPoint(), e->buttons(), e->modifiers()); }
void TGHandle::mouseReleaseEvent(QMouseEvent* e)
{
    handleRelease(e->position().toPoint(), e->button(), e->modifiers());
}
void TGHandle::mouseDoubleClickEvent(QMouseEvent* e) { handleDoubleClick(e->position().toPoint()); }

void TGHandle::leaveEvent(QEvent*)
{
    setCursor(surface_->Pointing() ? Qt::ArrowCursor : Qt::CrossCursor);
}

// ---- keys ----

void TGHandle::keyPressEvent(QKeyEvent* e)
{
    const int key = e->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down) {
        // Everything else is the surface's (copy, paste, delete).
        QCoreApplication::sendEvent(surface_, e);
        return;
    }
    if (!count())
        return;
    if (!nudging_) {
        nudge_ = Selection::nudgeStart(model().frame());
        nudging_ = true;
    }
    nudge_ = Selection::nudged(nudge_, key, (e->modifiers() & Qt::ShiftModifier) && count() == 1, surface_->size());
    surface_->setOverlay(Selection::nudgeOutline(nudge_));
}

void TGHandle::keyReleaseEvent(QKeyEvent* e)
{
    if (e->isAutoRepeat() || !nudging_)
        return;
    nudging_ = false;
    surface_->setOverlay({});
    setFrame(Selection::nudgedFrame(nudge_));
    surface_->update();
}

void TGHandle::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.translate(-pos());
    const bool single = count() == 1;
    for (auto* o : selection())
        o->paintMarks(p, single ? Color : SecondaryColor, single);
}

} // namespace postavo::design
