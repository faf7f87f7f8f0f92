#include "designobject.h"

#include <QPainter>

namespace postavo::design {

TGGraphicControl::TGGraphicControl() = default;

TGGraphicControl::~TGGraphicControl()
{
    // Only when something other than the host deletes the object (its owner window).
    if (host_)
        host_->forgetObject(this);
}

const PropertyTable& TGGraphicControl::commonProperties()
{
    using P = Props<TGGraphicControl>;
    static const PropertyTable t = {
        P::integer("Tag", &TGGraphicControl::Tag, 0),
        P::scalar("Left", PropKind::Integer, std::nullopt, [](const TGGraphicControl& o) { return o.left_; },
                  [](TGGraphicControl& o, qint64 v) { o.setBounds(int(v), o.top_, o.width_, o.height_); }),
        P::scalar("Top", PropKind::Integer, std::nullopt, [](const TGGraphicControl& o) { return o.top_; },
                  [](TGGraphicControl& o, qint64 v) { o.setBounds(o.left_, int(v), o.width_, o.height_); }),
        P::scalar("Width", PropKind::Integer, std::nullopt, [](const TGGraphicControl& o) { return o.width_; },
                  [](TGGraphicControl& o, qint64 v) { o.setBounds(o.left_, o.top_, int(v), o.height_); }),
        P::scalar("Height", PropKind::Integer, std::nullopt, [](const TGGraphicControl& o) { return o.height_; },
                  [](TGGraphicControl& o, qint64 v) { o.setBounds(o.left_, o.top_, o.width_, int(v)); }),
        P::field("Cursor", PropKind::Cursor, &TGGraphicControl::Cursor, 0),
        P::text("Hint", &TGGraphicControl::Hint),
        P::boolean("Locked", &TGGraphicControl::Locked, std::nullopt),
        P::boolean("Unselectable", &TGGraphicControl::Unselectable, std::nullopt),
    };
    return t;
}

void TGGraphicControl::setBounds(int left, int top, int width, int height)
{
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    const QRect old = boundsRect();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (host_ && visible_)
        host_->repaintObject(this), (void)old;
    if (!loading_)
        boundsChanged();
}

void TGGraphicControl::setVisible(bool on)
{
    if (visible_ == on)
        return;
    visible_ = on;
    repaint();
}

void TGGraphicControl::setZoom(float factor)
{
    if (factor == zoom_)
        return;
    const float r = factor / (zoom_ == 0.0f ? 1.0f : zoom_);
    auto scale = [r](int v) { return roundHalfEven(double(v) * double(r)); };
    setBounds(scale(left_), scale(top_), scale(width_), scale(height_));
    zoom_ = factor;
}

void TGGraphicControl::boundsChanged()
{
    const QRect now = boundsRect();
    if (!boundsSeen_) {
        boundsSeen_ = true;
        lastBounds_ = now;
        return;
    }
    if (now != lastBounds_) {
        notifyChanged();
        lastBounds_ = now;
        if (host_)
            host_->objectBoundsChanged(this);
    }
}

void TGGraphicControl::printObject(printing::TPrintCanvas&, double, double) {}

void TGGraphicControl::loaded()
{
    if (menuBuilt_)
        return;
    buildMenu(menu_);
    menuBuilt_ = true;
}

void TGGraphicControl::paint(QPainter&) {}

void TGGraphicControl::paintMarks(QPainter& p, const QColor& color, bool single) const
{
    const QRect r = boundsRect().adjusted(-2, -2, 2, 2);
    const int l = r.left(), t = r.top(), rr = r.left() + r.width(), b = r.top() + r.height();
    auto mark = [&](int x, int y) { p.fillRect(QRect(x, y, 5, 5), color); };
    mark(l, t);
    mark(rr - 5, t);
    mark(l, b - 5);
    mark(rr - 5, b - 5);
    if (single) {
        const int mx = l + int(r.width() * 0.5) - 2;
        const int my = t + int(r.height() * 0.5) - 2;
        mark(mx, t);
        mark(mx, b - 5);
        mark(l, my);
        mark(rr - 5, my);
    }
}

void TGGraphicControl::notifyChanged()
{
    if (host_ && !host_->isPrinting() && !host_->isZooming())
        host_->labelChanged();
}

void TGGraphicControl::repaint()
{
    if (host_)
        host_->repaintObject(this);
}

void TGGraphicControl::buildMenu(MenuEntries& menu)
{
    auto cmd = [this](ObjectCommand c) {
        return [this, c] {
            if (host_)
                host_->objectCommand(this, c);
        };
    };
    menu.push_back({QStringLiteral("Bring To Front"), cmd(ObjectCommand::BringToFront)});
    menu.push_back({QStringLiteral("Send To Back"), cmd(ObjectCommand::SendToBack)});
    menu.push_back({QStringLiteral("Cut"), cmd(ObjectCommand::Cut)});
    menu.push_back({QStringLiteral("Copy"), cmd(ObjectCommand::Copy)});
    menu.push_back({QStringLiteral("Delete"), cmd(ObjectCommand::Delete)});
    menu.push_back({QStringLiteral("Clone"), cmd(ObjectCommand::Clone)});
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Locked"),
                    [this] {
                        Locked = !Locked;
                        notifyChanged();
                    },
                    [this] { return Locked; }});
    menu.push_back({QStringLiteral("Unselectable"), [this] {
                        Unselectable = true;
                        if (host_)
                            host_->objectCommand(this, ObjectCommand::Deselect);
                    }});
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Center Vertically"), cmd(ObjectCommand::CenterVertically)});
    menu.push_back({QStringLiteral("Center Horizontally"), cmd(ObjectCommand::CenterHorizontally)});
}

MenuEntry* TGGraphicControl::findMenuEntry(const QString& caption)
{
    std::function<MenuEntry*(MenuEntries&)> find = [&](MenuEntries& list) -> MenuEntry* {
        for (auto& e : list) {
            if (e.caption == caption)
                return &e;
            if (auto* s = find(e.sub))
                return s;
        }
        return nullptr;
    };
    return find(menu_);
}

void TGGraphicControl::removeMenuEntry(MenuEntries& menu, const QString& caption)
{
    std::erase_if(menu, [&](const MenuEntry& e) { return e.caption == caption; });
}

} // namespace postavo::design
