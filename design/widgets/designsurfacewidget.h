#pragma once
// TGBasePanel: a design surface on screen. The surface itself (objects, selection, commands,
// files, printing) is DesignSurface; this window paints it (background, objects, the marks of the
// selection, rubber band and drag outlines), carries the selection frame and the context menus,
// and turns the mouse and the keys into the surface's commands.

#include "designsurface.h"
#include "selectionframe.h"

#include <QWidget>
#include <functional>

namespace postavo::design {

class TGBasePanel : public QWidget, public DesignSurface {
    Q_OBJECT
public:
    // `owner`: the window whose objects' names stay unique (the parent's window when null).
    explicit TGBasePanel(QWidget* parent = nullptr, QObject* owner = nullptr);
    ~TGBasePanel() override;

    // ---- published ----
    std::function<void(TGBasePanel*)> LabelChangedEvent;

    TGHandle* selectionFrame() const { return frame_; }

    // ---- the size is the window's ----
    int hostWidth() const override { return width(); }
    int hostHeight() const override { return height(); }
    void setSurfaceSize(int w, int h) override { resize(w, h); }

    // ---- virtual operations ----
    virtual void objectMouseDown(TGGraphicControl* object, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                 int x, int y);

    // Opens a menu at a global point; tests override it to see which menu opens.
    virtual void showMenu(const MenuEntries& entries, QPoint globalPos);
    void openObjectMenu(TGGraphicControl* o, QPoint globalPos);

    // ---- mouse on the empty surface (also used by the frame and unselectable objects) ----
    void surfacePress(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    bool rubberBandActive() const { return bandActive_; }
    QRect rubberBand() const { return band_; }
    // A dotted rectangle drawn over everything (drags, nudges); null hides it.
    void setOverlay(const QRect& r);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    // The surface takes every key, Tab included.
    bool focusNextPrevChild(bool) override { return false; }

    // ---- following the surface ----
    void surfaceChanged() override { update(); }
    void selectionChanged(Selection::Change change) override;
    void focusSelection() override;
    void gridChanged() override;
    void pointingChanged() override;
    void notifyLabelChanged() override;
    QFont menuFont() const override { return font(); }

private:
    void endBand(Qt::KeyboardModifiers mods);

    TGHandle* frame_ = nullptr;
    bool bandActive_ = false;
    QPoint bandStart_;
    QRect band_;
    QRect overlay_;
};

} // namespace postavo::design
