#pragma once
// What a design object needs of the surface it lies on, and the owner of the objects on it. The
// design surface (DesignSurface, shown on screen by TGBasePanel) implements it; so does
// ObjectList, a plain list for tools that only read, write and dump layout files.

#include <QObject>
#include <QRect>
#include <QString>
#include <memory>
#include <vector>

namespace postavo {
class AddressTable;
}

namespace postavo::design {

class TGGraphicControl;

// Commands of an object's context menu that act through its surface.
enum class ObjectCommand { BringToFront, SendToBack, Cut, Copy, Delete, Clone, CenterVertically, CenterHorizontally,
                           Deselect };

class DesignHost {
public:
    virtual ~DesignHost();

    // The window that owns the objects: their names are unique among its children.
    virtual QObject* ownerWindow() = 0;
    virtual int hostWidth() const = 0;
    virtual int hostHeight() const = 0;
    virtual float zoom() const { return 1.0f; }
    virtual bool isPrinting() const { return printing_; }
    virtual bool isZooming() const { return false; }
    // The address table the objects read their values from (none by default), and whether they
    // show its values or the field names.
    AddressTable* dataset() const { return dataset_; }
    void setDataset(AddressTable* table) { dataset_ = table; }
    bool displayDataValues() const { return display_; }
    virtual void setDisplayDataValues(bool on) { display_ = on; }
    // The page number being printed (page number objects print it).
    virtual int printPageNumber() const { return pageNumber_; }
    void setPrintPageNumber(int page) { pageNumber_ = page; }

    // Notifications from the objects.
    virtual void labelChanged() {}
    virtual void repaintObject(TGGraphicControl*) {}
    virtual void objectBoundsChanged(TGGraphicControl*) {}
    virtual void objectCommand(TGGraphicControl*, ObjectCommand) {}
    virtual void refreshObjects();
    // Selection state for the marks an object paints.
    virtual bool isSelected(const TGGraphicControl*) const { return false; }
    virtual int selectionCount() const { return 0; }

    // ---- the objects, index 0 at the back ----
    // The host owns its objects: they live exactly as long as they lie on it. Each object is also
    // a Qt child of the owner window, but only so that names stay unique among the window's
    // objects; should that window be deleted first, its objects leave their hosts as they go.
    std::vector<TGGraphicControl*> designObjects() const;
    int objectCount() const { return int(objects_.size()); }
    // Takes ownership of the object (from its previous host, if any) and puts it on top.
    void insertObject(TGGraphicControl* object);
    // Gives the object up: it is off the surface and the caller owns it.
    std::unique_ptr<TGGraphicControl> takeObject(TGGraphicControl* object);
    // Frees one object.
    void destroyObject(TGGraphicControl* object);
    // Frees every object, last first.
    void freeAllObjects();
    void moveToFront(TGGraphicControl* object);
    void moveToBack(TGGraphicControl* object);
    int indexOf(const TGGraphicControl* object) const;

    void setPrinting(bool on) { printing_ = on; }

protected:
    virtual void objectRemoved(TGGraphicControl*) {}
    bool printing_ = false;
    int pageNumber_ = 1;

private:
    friend class TGGraphicControl;
    using Owned = std::vector<std::unique_ptr<TGGraphicControl>>;
    Owned::iterator find(const TGGraphicControl* object);
    Owned::const_iterator find(const TGGraphicControl* object) const;
    // An object being deleted by someone else (its owner window) leaves the list.
    void forgetObject(TGGraphicControl* object);

    Owned objects_;
    AddressTable* dataset_ = nullptr;
    bool display_ = true;
};

// A list of objects without surface commands: a size, an owner for the names and the objects.
class ObjectList : public DesignHost {
public:
    explicit ObjectList(QObject* owner = nullptr, int width = 2000, int height = 2000);
    ~ObjectList() override;
    QObject* ownerWindow() override { return owner_; }
    int hostWidth() const override { return width_; }
    int hostHeight() const override { return height_; }
    void setSize(int w, int h) { width_ = w; height_ = h; }

private:
    QObject ownOwner_;
    QObject* owner_;
    int width_, height_;
};

} // namespace postavo::design
