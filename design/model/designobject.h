#pragma once
// The design object: a windowless object on a design surface that paints itself into the surface,
// prints itself on the print canvas and is stored in layout files by its published properties.

#include "designhost.h"
#include "properties.h"

#include <QObject>
#include <QRect>
#include <functional>
#include <vector>

class QPainter;

namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::design {

// One entry of a context menu, kept as data so that objects need no widgets; the surface turns
// the list into a menu when it opens. A caption "-" is a separator.
struct MenuEntry {
    MenuEntry(QString caption_ = {}, std::function<void()> run_ = {}, std::function<bool()> checked_ = {})
        : caption(std::move(caption_)), run(std::move(run_)), checked(std::move(checked_))
    {
    }
    QString caption;
    std::function<void()> run;
    std::function<bool()> checked;   // empty: no check mark
    std::vector<MenuEntry> sub;
    bool enabled = true;
};
using MenuEntries = std::vector<MenuEntry>;

class TGGraphicControl : public QObject, public Persistent {
    Q_OBJECT
public:
    TGGraphicControl();
    ~TGGraphicControl() override;

    // The class name layout files carry (TGPLabel, ...).
    virtual QByteArray className() const = 0;
    // The published properties of the class, in stream order (the common ones first).
    virtual const PropertyTable& properties() const = 0;
    // The entries every design object's table starts with.
    static const PropertyTable& commonProperties();

    // ---- published ----
    int Tag = 0;
    int Cursor = 0;
    QString Hint;
    bool Locked = false;
    bool Unselectable = false;

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    QRect boundsRect() const { return QRect(left_, top_, width_, height_); }
    void setBounds(int left, int top, int width, int height);
    void setLeft(int v) { setBounds(v, top_, width_, height_); }
    void setTop(int v) { setBounds(left_, v, width_, height_); }
    void setWidth(int v) { setBounds(left_, top_, v, height_); }
    void setHeight(int v) { setBounds(left_, top_, width_, v); }

    QString name() const { return objectName(); }

    // ---- surface ----
    DesignHost* host() const { return host_; }
    float zoom() const { return zoom_; }
    // Rescales the rectangle from the current zoom to `factor` (32-bit arithmetic, half to even).
    void setZoom(float factor);
    // Takes the zoom without rescaling (attaching after a load, paste or clone).
    void adoptZoom(float factor) { zoom_ = factor; }
    bool attached() const { return attached_; }
    void setAttached(bool on) { attached_ = on; }
    bool visible() const { return visible_; }
    void setVisible(bool on);
    bool loading() const { return loading_; }
    void setLoading(bool on) { loading_ = on; }

    // ---- virtual operations, in slot order ----
    virtual void boundsChanged();
    virtual void updateMenuChecks() {}
    virtual void applyFont(const LayoutFont&) {}
    virtual void refreshData() {}
    virtual void clearData() {}
    virtual void nextItem() {}
    virtual void resetItem() {}
    virtual void printObject(printing::TPrintCanvas& report, double x, double y);

    // After loading or creating: builds the context menu (once).
    virtual void loaded();
    // Draws the object in its own coordinates (0, 0 at its top-left), already clipped to it.
    virtual void paint(QPainter& painter);
    // The object's marks when selected, drawn on the surface (surface coordinates).
    void paintMarks(QPainter& surfacePainter, const QColor& color, bool single) const;

    // Fires the surface's change event unless it is printing or zooming.
    void notifyChanged();
    void repaint();

    // ---- context menu ----
    const MenuEntries& menu() const { return menu_; }
    bool menuBuilt() const { return menuBuilt_; }
    MenuEntry* findMenuEntry(const QString& caption);

protected:
    // Appends the class's own entries; overrides call the base first.
    virtual void buildMenu(MenuEntries& menu);
    static void removeMenuEntry(MenuEntries& menu, const QString& caption);

private:
    friend class DesignHost;
    DesignHost* host_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    float zoom_ = 1.0f;
    QRect lastBounds_;
    bool boundsSeen_ = false;
    bool attached_ = false;
    bool visible_ = true;
    bool loading_ = false;
    bool menuBuilt_ = false;
    MenuEntries menu_;
};

} // namespace postavo::design
