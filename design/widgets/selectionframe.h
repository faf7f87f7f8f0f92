#pragma once
// TGHandle: the selection of one surface and the transparent frame laid over it, 2 pixels larger
// than the selection's bounding box on every side. Dragging the frame moves or resizes the
// selected objects; the arrow keys nudge them.

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

    // ---- the selection ----
    const std::vector<TGGraphicControl*>& selection() const { return selection_; }
    int count() const { return int(selection_.size()); }
    bool contains(const TGGraphicControl* o) const;
    // False when the object is unselectable.
    bool Add(TGGraphicControl* object);
    void Clear();
    void Remove(TGGraphicControl* object);
    // The frame from the selected objects (union plus 2), without moving them.
    void Reposition();
    // Sets the frame; every unlocked selected object moves and resizes by the same change.
    void setFrame(const QRect& frame);

    // ---- the mouse and keys (surface coordinates are mapped by the caller) ----
    bool hasCapture() const { return capture_; }
    void releaseCapture();
    void handlePress(QPoint local, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void handleMove(QPoint local, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    void handleRelease(QPoint local, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void handleDoubleClick(QPoint local);
    int dragZone() const { return zone_; }
    bool dragging() const { return dragging_; }
    // The zone (0 move, 1-8 resize) a point of the frame picks with one object selected.
    static int zoneAt(QPoint local, int w, int h);
    // The frame a drag in `zone` by (dx, dy) gives, snapped to the steps.
    QRect draggedFrame(const QRect& frame, int zone, int dx, int dy) const;
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
    QRect unionPlus2() const;
    TGGraphicControl* selectedAt(QPoint surfacePoint) const;
    QPoint toSurface(QPoint local) const { return local + pos(); }

    TGBasePanel* surface_;
    std::vector<TGGraphicControl*> selection_;
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
