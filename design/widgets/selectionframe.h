#pragma once
// TGHandle: the selection frame on screen, a transparent window laid over the surface's selection
// (see Selection, which it shows). Dragging it moves or resizes the selected objects; the arrow
// keys nudge them. It keeps only the mouse's state (press time, drag start, zone, capture).

#include "selection.h"

#include <QColor>
#include <QRect>
#include <QWidget>
#include <vector>

namespace postavo::design {

class TGBasePanel;
class TGGraphicControl;

class TGHandle : public QWidget {
    Q_OBJECT
public:
    explicit TGHandle(TGBasePanel* surface);

    // ---- published ----
    QColor Color = Qt::black;                // marks when one object is selected
    QColor SecondaryColor = QColor(128, 128, 128); // marks when several are
    int GridX = 1, GridY = 1;
    bool SnapToGrid = false;
    void setGrid(int step);

    // ---- the surface's selection ----
    const std::vector<TGGraphicControl*>& selection() const { return model().objects(); }
    int count() const { return model().count(); }
    bool contains(const TGGraphicControl* o) const { return model().contains(o); }
    // False when the object is unselectable. A newly selected object keeps the mouse: the press
    // that selected it may go on as a drag.
    bool add(TGGraphicControl* object);
    void clear();
    void remove(TGGraphicControl* object);
    void reposition();
    void setFrame(const QRect& frame);
    // Takes the place, the visibility and the keyboard as the selection changed.
    void follow(Selection::Change change);

    // ---- the mouse and keys (surface coordinates are mapped by the caller) ----
    bool hasCapture() const { return capture_; }
    void releaseCapture();
    void handlePress(QPoint local, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void handleMove(QPoint local, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    void handleRelease(QPoint local, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void handleDoubleClick(QPoint local);
    int dragZone() const { return zone_; }
    bool dragging() const { return dragging_; }
    static int zoneAt(QPoint local, int w, int h) { return Selection::zoneAt(local, w, h); }
    // The frame a drag in `zone` by (dx, dy) gives, snapped to the steps.
    QRect draggedFrame(const QRect& frame, int zone, int dx, int dy) const
    {
        return Selection::draggedFrame(frame, zone, dx, dy, GridX, GridY);
    }
    // The arrow keys' rectangle while nudging (Windows style: right and bottom inclusive).
    QRect nudgeRect() const { return nudge_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void leaveEvent(QEvent*) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    Selection& model();
    const Selection& model() const;
    QPoint toSurface(QPoint local) const { return local + pos(); }

    TGBasePanel* surface_;
    qint64 pressTime_ = 0;
    QPoint start_;          // surface coordinates
    int zone_ = 0;
    bool dragging_ = false;
    bool capture_ = false;
    bool leftHeld_ = false;
    bool endDragOnMove_ = false;
    bool nudging_ = false;
    QRect nudge_;
};

} // namespace postavo::design
