#pragma once
// The selection of one design surface: the selected objects in the order they were taken, and the
// frame around them, 2 pixels larger than their bounding box on every side. Setting the frame
// moves and resizes every unlocked selected object by the same change. The rules of dragging the
// frame (its zones, snapping, the smallest size) and of nudging it with the arrow keys live here
// too, so they hold without a window; the frame on screen (TGHandle) turns the mouse and the keys
// into them.

#include <QRect>
#include <functional>
#include <vector>

namespace postavo::design {

class TGGraphicControl;

class Selection {
public:
    enum class Change {
        Added,    // an object joined: the frame grew
        Removed,  // an object left, others stay
        Cleared,  // nothing is selected any more
        Reframed, // the frame moved or changed size
    };
    // Told after every change (the frame on screen follows it).
    std::function<void(Change)> changed;

    const std::vector<TGGraphicControl*>& objects() const { return objects_; }
    int count() const { return int(objects_.size()); }
    bool contains(const TGGraphicControl* object) const;
    // False when the object is unselectable; true (and nothing changes) when it is selected already.
    bool add(TGGraphicControl* object);
    void remove(TGGraphicControl* object);
    void clear();

    // The frame: the union of the objects' bounds plus 2 on every side, as the last add, remove
    // or reposition left it, or as setFrame set it. With nothing selected, 24 x 24 where it was.
    QRect frame() const { return frame_; }
    // The frame from the selected objects again, without moving them.
    void reposition();
    // Sets the frame; every unlocked selected object moves and resizes by the same change, never
    // becoming narrower or lower than 5 pixels.
    void setFrame(const QRect& frame);
    // The topmost selected object whose marks (its bounds plus 2) contain a surface point.
    TGGraphicControl* objectAt(QPoint surfacePoint) const;

    // ---- dragging ----
    // The zone (0 move, 1-8 resize) a point of a w x h frame picks with one object selected.
    static int zoneAt(QPoint local, int w, int h);
    // The frame a drag in `zone` by (dx, dy) gives, each edge snapped to steps of `stepX` and
    // `stepY` pixels, at least 5 x 5.
    static QRect draggedFrame(const QRect& frame, int zone, int dx, int dy, int stepX, int stepY);

    // ---- nudging with the arrow keys ----
    // The rectangle the keys move (Windows style: right and bottom inclusive): the frame less 2
    // on the left and top and less 3 on the right and bottom.
    static QRect nudgeStart(const QRect& frame);
    // One arrow key (Qt::Key_Left ... Qt::Key_Down) on the rectangle inside a surface of
    // `surfaceSize`: moves it by a pixel, or with `resize` (Shift on a single object) moves its
    // right or bottom edge, keeping it at least 10 pixels wide and high.
    static QRect nudged(const QRect& nudge, int key, bool resize, QSize surfaceSize);
    // The dotted outline shown while nudging, and the frame the nudge gives when the key is let go.
    static QRect nudgeOutline(const QRect& nudge);
    static QRect nudgedFrame(const QRect& nudge);

private:
    QRect unionPlus2() const;
    void tell(Change c);

    std::vector<TGGraphicControl*> objects_;
    QRect frame_{0, 0, 24, 24};
};

} // namespace postavo::design
