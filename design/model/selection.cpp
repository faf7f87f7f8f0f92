#include "selection.h"

#include "designobject.h"

#include <QtCore/qnamespace.h>
#include <algorithm>

namespace postavo::design {

namespace {
int snapTo(int v, int step) { return step > 1 ? step * (v / step) : v; }
} // namespace

void Selection::tell(Change c)
{
    if (changed)
        changed(c);
}

bool Selection::contains(const TGGraphicControl* o) const
{
    return std::find(objects_.begin(), objects_.end(), o) != objects_.end();
}

QRect Selection::unionPlus2() const
{
    QRect u;
    for (auto* o : objects_)
        u = u.isNull() ? o->boundsRect() : u.united(o->boundsRect());
    return u.adjusted(-2, -2, 2, 2);
}

bool Selection::add(TGGraphicControl* object)
{
    if (object->Unselectable)
        return false;
    if (contains(object))
        return true;
    objects_.push_back(object);
    frame_ = unionPlus2();
    tell(Change::Added);
    return true;
}

void Selection::remove(TGGraphicControl* object)
{
    auto it = std::find(objects_.begin(), objects_.end(), object);
    if (it == objects_.end())
        return;
    objects_.erase(it);
    if (objects_.empty()) {
        clear();
        return;
    }
    frame_ = unionPlus2();
    tell(Change::Removed);
}

void Selection::clear()
{
    objects_.clear();
    frame_.setSize(QSize(24, 24));
    tell(Change::Cleared);
}

void Selection::reposition()
{
    if (objects_.empty())
        return;
    frame_ = unionPlus2();
    tell(Change::Reframed);
}

void Selection::setFrame(const QRect& frame)
{
    const QRect old = frame_;
    const int dl = frame.left() - old.left(), dt = frame.top() - old.top();
    const int dw = frame.width() - old.width(), dh = frame.height() - old.height();
    frame_ = frame;
    tell(Change::Reframed);
    for (auto* o : objects_) {
        if (o->Locked)
            continue;
        o->setBounds(o->left() + dl, o->top() + dt, std::max(5, o->width() + dw), std::max(5, o->height() + dh));
    }
}

TGGraphicControl* Selection::objectAt(QPoint sp) const
{
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it)
        if ((*it)->boundsRect().adjusted(-2, -2, 2, 2).contains(sp))
            return *it;
    return nullptr;
}

int Selection::zoneAt(QPoint p, int w, int h)
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

QRect Selection::draggedFrame(const QRect& f, int zone, int dx, int dy, int stepX, int stepY)
{
    int l = f.left(), t = f.top(), w = f.width(), h = f.height();
    const int r = l + w, b = t + h;
    switch (zone) {
    case 0: l = snapTo(l + dx, stepX); t = snapTo(t + dy, stepY); break;
    case 1: l = snapTo(l + dx, stepX); t = snapTo(t + dy, stepY); w = r - l; h = b - t; break;
    case 2: t = snapTo(t + dy, stepY); h = b - t; w = snapTo(w + dx, stepX) - 1; break;
    case 3: l = snapTo(l + dx, stepX); w = r - l; h = snapTo(h + dy, stepY) - 1; break;
    case 4: w = snapTo(w + dx, stepX) - 1; h = snapTo(h + dy, stepY) - 1; break;
    case 5: t = snapTo(t + dy, stepY); h = b - t; break;
    case 6: l = snapTo(l + dx, stepX); w = r - l; break;
    case 7: h = snapTo(h + dy, stepY) - 1; break;
    case 8: w = snapTo(w + dx, stepX) - 1; break;
    }
    return QRect(l, t, std::max(w, 5), std::max(h, 5));
}

QRect Selection::nudgeStart(const QRect& f)
{
    return QRect(QPoint(f.left() + 2, f.top() + 2), QPoint(f.left() + f.width() - 3, f.top() + f.height() - 3));
}

QRect Selection::nudged(const QRect& nudge, int key, bool resize, QSize surfaceSize)
{
    QRect n = nudge;
    const int W = surfaceSize.width(), H = surfaceSize.height();
    if (resize) {
        switch (key) {
        case Qt::Key_Left: if (n.right() - n.left() + 1 > 10) n.setRight(n.right() - 1); break;
        case Qt::Key_Up: if (n.bottom() - n.top() + 1 > 10) n.setBottom(n.bottom() - 1); break;
        case Qt::Key_Right: if (n.right() + 1 < W) n.setRight(n.right() + 1); break;
        case Qt::Key_Down: if (n.bottom() + 1 < H) n.setBottom(n.bottom() + 1); break;
        }
    } else {
        switch (key) {
        case Qt::Key_Left: if (n.left() > 0) n.translate(-1, 0); break;
        case Qt::Key_Up: if (n.top() > 0) n.translate(0, -1); break;
        case Qt::Key_Right: if (n.right() + 1 < W) n.translate(1, 0); break;
        case Qt::Key_Down: if (n.bottom() + 1 < H) n.translate(0, 1); break;
        }
    }
    return n;
}

QRect Selection::nudgeOutline(const QRect& n)
{
    return QRect(n.left(), n.top(), n.right() - n.left(), n.bottom() - n.top());
}

QRect Selection::nudgedFrame(const QRect& n)
{
    return QRect(n.left() - 2, n.top() - 2, (n.right() - n.left()) + 5, (n.bottom() - n.top()) + 5);
}

} // namespace postavo::design
