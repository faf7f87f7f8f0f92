#pragma once
// DesignSurface: a design surface without its window. It owns the design objects of one label,
// envelope or report band (through DesignHost), keeps their selection and carries every command
// of the designers: placing, alignment, z-order, locking, the clipboard file, clone, zoom,
// loading and saving layout files, printing at an offset in inches, and the background (pictures,
// outline, grid). TGBasePanel shows one on screen and turns the mouse and the keys into these
// commands; print runs and the batch tool use one directly.

#include "designhost.h"
#include "designobject.h"
#include "designtypes.h"
#include "selection.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <functional>

class QPainter;
class QPainterPath;

namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::design {

enum TLabelShapeType { lsRectangle, lsRoundRect, lsEllipse };
enum TGridSize { gs4x4, gs8x8 };
enum class ClipboardCmd { Cut, Copy, Paste, Delete };

class DesignSurface : public DesignHost {
public:
    // `owner`: the window whose objects' names stay unique (a private one when null).
    explicit DesignSurface(QObject* owner = nullptr, int width = 2000, int height = 2000);
    ~DesignSurface() override;
    DesignSurface(const DesignSurface&) = delete;
    DesignSurface& operator=(const DesignSurface&) = delete;

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
    // The step the selection snaps to: 1 without snapping, else the grid's 4 or 8 pixels.
    int snapStep() const;
    std::function<void(const QRect&)> DroppedObjectEvent;

    Selection& selection() { return selection_; }
    const Selection& selection() const { return selection_; }
    // The designers' clipboard file: Clipbrd.tmp in the program folder unless set.
    QString clipboardPath() const;
    void setClipboardPath(const QString& path) { clipboardPath_ = path; }

    // ---- the address table (set by the owning window) ----
    // Every surface can carry one; the data-bound kinds (DataSurface, and TGDataPanel on screen)
    // refresh their objects from its current record. The catalogue is the window's own table.
    bool DisplayDataValues() const { return displayDataValues(); }
    // Also refreshes the objects.
    void setDisplayDataValues(bool on) override;
    void setCatalogue(QObject* table, const QString& fieldName)
    {
        catalogue_ = table;
        catalogueField_ = fieldName;
    }
    QObject* catalogue() const { return catalogue_; }
    QString catalogueField() const { return catalogueField_; }

    // ---- size: screen pixels at the current zoom ----
    int hostWidth() const override { return width_; }
    int hostHeight() const override { return height_; }
    // The surface on screen resizes its window instead.
    virtual void setSurfaceSize(int width, int height);

    // ---- DesignHost ----
    QObject* ownerWindow() override { return owner_; }
    float zoom() const override { return zoom_; }
    bool isZooming() const override { return zooming_; }
    void labelChanged() override;
    void repaintObject(TGGraphicControl* o) override;
    void objectBoundsChanged(TGGraphicControl* o) override;
    void objectCommand(TGGraphicControl* o, ObjectCommand c) override;
    bool isSelected(const TGGraphicControl* o) const override { return selection_.contains(o); }
    int selectionCount() const override { return selection_.count(); }

    // ---- virtual operations, in slot order ----
    virtual void createObjectInRect(const QRect& r);
    // Nothing here: only the data-bound surfaces refresh their objects.
    void refreshObjects() override {}
    virtual void printObjects(printing::TPrintCanvas& report, double x, double y);
    virtual void pullObjectsInside();
    virtual void deleteOutsideObjects();

    // ---- operations ----
    void placeObject(TGGraphicControl* object, const QRect& r);
    void attachObject(TGGraphicControl* object);
    void attachAllObjects();
    bool saveObjects(const QString& path);
    bool loadObjects(const QString& path);
    void setZoom(float factor);
    void alignLeft();
    void alignRight();
    void alignTops();
    void alignBottoms();
    void centerVertically(TGGraphicControl* o);
    void centerHorizontally(TGGraphicControl* o);
    void bringSelectionToFront();
    void sendSelectionToBack();
    void selectAll();
    void lockAll();
    void unlockAll();
    void markAllSelectable();
    void markAllUnselectable();
    void applyFontToSelection(const LayoutFont& font);
    void nextItemAll();
    void resetItemAll();
    void clearDataAll();
    void deleteAllObjects();
    void clipboardCommand(ClipboardCmd command);
    void cloneObject(TGGraphicControl* o);
    QString lastError() const { return error_; }

    // A rubber band let go (Windows rectangle: it ends before its far corner). Pointing, it
    // selects the objects it meets (`toggle`, with Shift: flips each one's selection instead);
    // placing, the designer's new object goes into it.
    void finishBand(const QRect& band, bool toggle);

    // The surface's context menu as it is when opened (entries enabled by the selection).
    MenuEntries surfaceMenu();
    // The topmost attached, visible object at a surface point.
    TGGraphicControl* objectAt(QPoint p) const;

    // The background as painted (white, pictures, outline, grid).
    QImage background() const;
    // Every visible object at its place, with the marks of the selected ones in `single` (one
    // selected) or `several`.
    void paintObjects(QPainter& painter, const QColor& single, const QColor& several) const;

    // How read and write errors reach the user. A reporter a caller sets wins; otherwise the
    // default one (the windows install a message box); otherwise they go to the debug output.
    static void setErrorReporter(std::function<void(const QString&)> reporter);
    static void setDefaultErrorReporter(std::function<void(const QString&)> reporter);
    static void reportError(const QString& message);

protected:
    // ---- what a window showing the surface follows (nothing without one) ----
    virtual void surfaceChanged() {}
    virtual void selectionChanged(Selection::Change) {}
    // The selection takes the keyboard (the arrow keys nudge it).
    virtual void focusSelection() {}
    virtual void gridChanged() {}
    virtual void pointingChanged() {}
    // The layout changed (not while printing or zooming).
    virtual void notifyLabelChanged() {}
    // The font the "Font" entry starts from.
    virtual QFont menuFont() const { return QFont(); }

    void objectRemoved(TGGraphicControl* o) override;
    QPainterPath shapePath() const;
    // What the data-bound surfaces do in refreshObjects: while their table is open, every object
    // takes its values from the current record.
    void refreshFromDataset();

    float zoom_ = 1.0f;
    bool zooming_ = false;

private:
    void deleteSelection();

    QObject ownOwner_;
    QObject* owner_;
    QObject queue_; // what the frame's repositioning is posted to
    Selection selection_;
    int width_, height_;
    bool pointing_ = true;
    int gridSize_ = gs4x4;
    bool showGrid_ = false;
    bool snap_ = false;
    mutable QString clipboardPath_; // found on first use
    qint64 lastPaste_ = 0;
    bool repositionPosted_ = false;
    QString error_;
    QObject* catalogue_ = nullptr;
    QString catalogueField_;
};

} // namespace postavo::design
