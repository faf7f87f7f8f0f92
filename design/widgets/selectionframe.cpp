#include "selectionframe.h"

#include "designobject.h"
#include "designsurface.h"

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

int snapTo(int v, int step) { return step > 1 ? step * (v / step) : v; }

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
    resize(24, 24);
    hide();
    setEnabled(false);
}

void TGHandle::setGrid(int step)
{
    GridX = GridY = step;
    SnapToGrid = step > 1;
}

bool TGHandle::contains(const TGGraphicControl* o) const
{
    return std::find(selection_.begin(), selection_.end(), o) != selection_.end();
}

QRect TGHandle::unionPlus2() const
{
    QRect u;
    for (auto* o : selection_)
        u = u.isNull() ? o->boundsRect() : u.united(o->boundsRect());
    return u.adjusted(-2, -2, 2, 2);
}

bool TGHandle::Add(TGGraphicControl* object)
{
    if (object->Unselectable)
        return false;
    pressTime_ = tickMs();
    if (contains(object))
        return true;
    setCursor(Qt::OpenHandCursor);
    selection_.push_back(object);
    setGeometry(unionPlus2());
    if (selection_.size() == 1) {
        setEnabled(true);
        show();
    }
    zone_ = 0;
    raise();
    capture_ = true;
    leftHeld_ = true;
    dragging_ = false;
    setFocus();
    surface_->update();
    return true;
}

void TGHandle::Clear()
{
    selection_.clear();
    hide();
    setEnabled(false);
    resize(24, 24);
    capture_ = false;
    dragging_ = false;
    surface_->update();
}

void TGHandle::Remove(TGGraphicControl* object)
{
    auto it = std::find(selection_.begin(), selection_.end(), object);
    if (it == selection_.end())
        return;
    selection_.erase(it);
    if (selection_.empty())
        Clear();
    else
        setGeometry(unionPlus2());
    surface_->update();
}

void TGHandle::Reposition()
{
    if (selection_.empty())
        return;
    setGeometry(unionPlus2());
    update();
    surface_->update();
}

void TGHandle::setFrame(const QRect& frame)
{
    const QRect old = geometry();
    const int dl = frame.left() - old.left(), dt = frame.top() - old.top();
    const int dw = frame.width() - old.width(), dh = frame.height() - old.height();
    setGeometry(frame);
    for (auto* o : selection_) {
        if (o->Locked)
            continue;
        // An object never becomes narrower or lower than the frame allows (5 pixels).
        o->setBounds(o->left() + dl, o->top() + dt, std::max(5, o->width() + dw), std::max(5, o->height() + dh));
    }
    surface_->update();
}

void TGHandle::releaseCapture()
{
    capture_ = false;
    dragging_ = false;
    leftHeld_ = false;
}

TGGraphicControl* TGHandle::selectedAt(QPoint sp) const
{
    for (auto it = selection_.rbegin(); it != selection_.rend(); ++it)
        if ((*it)->boundsRect().adjusted(-2, -2, 2, 2).contains(sp))
            return *it;
    return nullptr;
}

int TGHandle::zoneAt(QPoint p, int w, int h)
{
    const int x = p.x(), y = p.y();
    const int mx = int(w * 0.5), my = int(h * 0.5);
    int zone = 0;
    auto near = [](int a, int b, int d) { return std::abs(a - b) <= d; };
    // Later tests win: 1, 4, 2, 3, 5, 7, 6, 8.
    if (near(x, 0, 8) && near(y, 0, 8)) zone = 1;
    if (near(x, w, 8) && near(y, h, 8)) zone = 4;
    if (near(x, w, 8) && near(y, 0, 8)) zone = 2;
    if (near(x, 0, 8) && near(y, h, 8)) zone = 3;
    if (near(x, mx, 6) && near(y, 0, 8)) zone = 5;
    if (near(x, mx, 6) && near(y, h, 8)) zone = 7;
    if (near(y, my, 6) && near(x, 0, 8)) zone = 6;
    if (near(y, my, 6) && near(x, w, 8)) zone = 8;
    return zone;
}

QRect TGHandle::draggedFrame(const QRect& f, int zone, int dx, int dy) const
{
    int l = f.left(), t = f.top(), w = f.width(), h = f.height();
    const int r = l + w, b = t + h;
    switch (zone) {
    case 0: l = snapTo(l + dx, GridX); t = snapTo(t + dy, GridY); break;
    case 1: l = snapTo(l + dx, GridX); t = snapTo(t + dy, GridY); w = r - l; h = b - t; break;
    case 2: t = snapTo(t + dy, GridY); h = b - t; w = snapTo(w + dx, GridX) - 1; break;
    case 3: l = snapTo(l + dx, GridX); w = r - l; h = snapTo(h + dy, GridY) - 1; break;
    case 4: w = snapTo(w + dx, GridX) - 1; h = snapTo(h + dy, GridY) - 1; break;
    case 5: t = snapTo(t + dy, GridY); h = b - t; break;
    case 6: l = snapTo(l + dx, GridX); w = r - l; break;
    case 7: h = snapTo(h + dy, GridY) - 1; break;
    case 8: w = snapTo(w + dx, GridX) - 1; break;
    }
    return QRect(l, t, std::max(w, 5), std::max(h, 5));
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
        TGGraphicControl* o = count() == 1 ? selectedAt(sp) : nullptr;
        if (o)
            surface_->openObjectMenu(o, surface_->mapToGlobal(sp));
        else
            surface_->showMenu(surface_->surfaceMenu(), surface_->mapToGlobal(sp));
        return;
    }
    if (mods & Qt::ShiftModifier) {
        // Shift-click inside the frame takes the objects under the point out of the selection.
        for (auto* o : std::vector<TGGraphicControl*>(selection_))
            if (o->boundsRect().contains(sp))
                Remove(o);
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
    const QRect f = draggedFrame(geometry(), zone_, sp.x() - start_.x(), sp.y() - start_.y());
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
            setFrame(draggedFrame(geometry(), zone_, sp.x() - start_.x(), sp.y() - start_.y()));
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
    if (TGGraphicControl* o = selectedAt(sp)) {
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
    if (selection_.empty())
        return;
    if (!nudging_) {
        const QRect f = geometry();
        // Inclusive corners: the frame less 2 on the left and top, 3 on the right and bottom.
        nudge_ = QRect(QPoint(f.left() + 2, f.top() + 2), QPoint(f.left() + f.width() - 3, f.top() + f.height() - 3));
        nudging_ = true;
    }
    const int W = surface_->width(), H = surface_->height();
    if ((e->modifiers() & Qt::ShiftModifier) && count() == 1) {
        switch (key) {
        case Qt::Key_Left: if (nudge_.right() - nudge_.left() + 1 > 10) nudge_.setRight(nudge_.right() - 1); break;
        case Qt::Key_Up: if (nudge_.bottom() - nudge_.top() + 1 > 10) nudge_.setBottom(nudge_.bottom() - 1); break;
        case Qt::Key_Right: if (nudge_.right() + 1 < W) nudge_.setRight(nudge_.right() + 1); break;
        case Qt::Key_Down: if (nudge_.bottom() + 1 < H) nudge_.setBottom(nudge_.bottom() + 1); break;
        }
    } else {
        switch (key) {
        case Qt::Key_Left: if (nudge_.left() > 0) nudge_.translate(-1, 0); break;
        case Qt::Key_Up: if (nudge_.top() > 0) nudge_.translate(0, -1); break;
        case Qt::Key_Right: if (nudge_.right() + 1 < W) nudge_.translate(1, 0); break;
        case Qt::Key_Down: if (nudge_.bottom() + 1 < H) nudge_.translate(0, 1); break;
        }
    }
    surface_->setOverlay(QRect(nudge_.left(), nudge_.top(), nudge_.right() - nudge_.left(), nudge_.bottom() - nudge_.top()));
}

void TGHandle::keyReleaseEvent(QKeyEvent* e)
{
    if (e->isAutoRepeat() || !nudging_)
        return;
    nudging_ = false;
    surface_->setOverlay({});
    setFrame(QRect(nudge_.left() - 2, nudge_.top() - 2, (nudge_.right() - nudge_.left()) + 5,
                   (nudge_.bottom() - nudge_.top()) + 5));
    surface_->update();
}

void TGHandle::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.translate(-pos());
    const bool single = count() == 1;
    for (auto* o : selection_)
        o->paintMarks(p, single ? Color : SecondaryColor, single);
}

} // namespace postavo::design
