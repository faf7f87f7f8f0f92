#pragma once
// TGBasePanel: the design surface. It holds the design objects of one label, envelope or report
// band, paints them over its background (pictures, outline, grid), carries the selection frame,
// the context menus, the clipboard, zoom, and the mouse and keyboard work of the designers.

#include "selectionframe.h"
#include "designhost.h"
#include "designtypes.h"
#include "designobject.h"

#include <QImage>
#include <QWidget>
#include <functional>

namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::design {

enum TLabelShapeType { lsRectangle, lsRoundRect, lsEllipse };
enum TGridSize { gs4x4, gs8x8 };
enum class ClipboardCmd { Cut, Copy, Paste, Delete };

class TGBasePanel : public QWidget, public DesignHost {
    Q_OBJECT
public:
    // `owner`: the window whose objects' names stay unique (the parent's window when null).
    explicit TGBasePanel(QWidget* parent = nullptr, QObject* owner = nullptr);
    ~TGBasePanel() override;

    // ---- published ----
    bool Pointing() const { return pointing_; }
    void setPointing(bool on);
    bool DrawOutline = false;
    LayoutPicture Picture, ColorPicture;
    int Shape = lsRoundRect;
    int GridSize() const { return gridSize_; }
    void setGridSize(int g);
    bool ShowGrid() const { return showGrid_; }
    void setShowGrid(bool on);
    bool SnapToGrid() const { return snap_; }
    void setSnapToGrid(bool on);
    std::function<void(const QRect&)> DroppedObjectEvent;
    std::function<void(TGBasePanel*)> LabelChangedEvent;

    TGHandle* selectionFrame() const { return frame_; }
    QString clipboardPath() const { return clipboardPath_; }
    void setClipboardPath(const QString& path) { clipboardPath_ = path; }

    // ---- DesignHost ----
    QObject* ownerWindow() override { return owner_; }
    int hostWidth() const override { return width(); }
    int hostHeight() const override { return height(); }
    float zoom() const override { return zoom_; }
    bool isZooming() const override { return zooming_; }
    void labelChanged() override;
    void repaintObject(TGGraphicControl* o) override;
    void objectBoundsChanged(TGGraphicControl* o) override;
    void objectCommand(TGGraphicControl* o, ObjectCommand c) override;
    bool isSelected(const TGGraphicControl* o) const override { return frame_->contains(o); }
    int selectionCount() const override { return frame_->count(); }
    void refreshObjects() override { RefreshObjects(); }

    // ---- virtual operations, in slot order ----
    virtual void CreateObjectInRect(const QRect& r);
    virtual void ObjectMouseDown(TGGraphicControl* object, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                 int x, int y);
    virtual void RefreshObjects() {}
    virtual void PrintObjects(printing::TPrintCanvas& report, double x, double y);
    virtual void PullObjectsInside();
    virtual void DeleteOutsideObjects();

    // ---- operations ----
    void PlaceObject(TGGraphicControl* object, const QRect& r);
    void AttachObject(TGGraphicControl* object);
    void AttachAllObjects();
    bool SaveObjects(const QString& path);
    bool LoadObjects(const QString& path);
    void SetZoom(float factor);
    void AlignLeft();
    void AlignRight();
    void AlignTops();
    void AlignBottoms();
    void CenterVertically(TGGraphicControl* o);
    void CenterHorizontally(TGGraphicControl* o);
    void BringSelectionToFront();
    void SendSelectionToBack();
    void SelectAll();
    void LockAll();
    void UnlockAll();
    void MarkAllSelectable();
    void MarkAllUnselectable();
    void ApplyFontToSelection(const LayoutFont& font);
    void NextItemAll();
    void ResetItemAll();
    void ClearDataAll();
    void DeleteAllObjects();
    void ClipboardCommand(ClipboardCmd command);
    void CloneObject(TGGraphicControl* o);
    QString lastError() const { return error_; }

    // The surface's context menu as it is when opened (entries enabled by the selection).
    MenuEntries surfaceMenu();
    // Opens a menu at a global point; tests override it to see which menu opens.
    virtual void showMenu(const MenuEntries& entries, QPoint globalPos);
    void openObjectMenu(TGGraphicControl* o, QPoint globalPos);

    // The topmost attached, visible object at a surface point.
    TGGraphicControl* objectAt(QPoint p) const;

    // ---- mouse on the empty surface (also used by the frame and unselectable objects) ----
    void surfacePress(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    bool rubberBandActive() const { return bandActive_; }
    QRect rubberBand() const { return band_; }
    // A dotted rectangle drawn over everything (drags, nudges); null hides it.
    void setOverlay(const QRect& r);

    // The background as painted (white, pictures, outline, grid).
    QImage background() const;

    // How read errors reach the user; by default a message box.
    static void setErrorReporter(std::function<void(const QString&)> reporter);
    static void reportError(const QString& message);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    // The surface takes every key, Tab included.
    bool focusNextPrevChild(bool) override { return false; }
    void objectRemoved(TGGraphicControl* o) override;
    QPainterPath shapePath() const;

    float zoom_ = 1.0f;
    bool zooming_ = false;

private:
    void finishBand(Qt::KeyboardModifiers mods);
    void deleteSelection();

    QObject* owner_;
    TGHandle* frame_;
    bool pointing_ = true;
    int gridSize_ = gs4x4;
    bool showGrid_ = false;
    bool snap_ = false;
    QString clipboardPath_;
    qint64 lastPaste_ = 0;
    bool bandActive_ = false;
    QPoint bandStart_;
    QRect band_;
    QRect overlay_;
    bool repositionPosted_ = false;
    QString error_;
};

} // namespace postavo::design
