#pragma once
// What a design object needs of the surface it lies on. The design surface widget implements it;
// so does ObjectList, a surface without a window for tools that only read, write and print
// layouts.

#include <QObject>
#include <QRect>
#include <QString>
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
    virtual bool displayDataValues() const { return true; }
    virtual AddressTable* dataset() const { return nullptr; }
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
    const std::vector<TGGraphicControl*>& designObjects() const { return objects_; }
    int objectCount() const { return int(objects_.size()); }
    // Takes the object (at the top), making this its surface.
    void insertObject(TGGraphicControl* object);
    // Forgets the object without freeing it.
    void removeObject(TGGraphicControl* object);
    void moveToFront(TGGraphicControl* object);
    void moveToBack(TGGraphicControl* object);
    int indexOf(const TGGraphicControl* object) const;
    // Frees every object, last first.
    void freeAllObjects();

    void setPrinting(bool on) { printing_ = on; }

protected:
    virtual void objectRemoved(TGGraphicControl*) {}
    bool printing_ = false;
    int pageNumber_ = 1;

private:
    friend class TGGraphicControl;
    std::vector<TGGraphicControl*> objects_;
};

// A surface without a window: a size, an owner for the names and the objects.
class ObjectList : public DesignHost {
public:
    explicit ObjectList(QObject* owner = nullptr, int width = 2000, int height = 2000);
    ~ObjectList() override;
    QObject* ownerWindow() override { return owner_; }
    int hostWidth() const override { return width_; }
    int hostHeight() const override { return height_; }
    void setSize(int w, int h) { width_ = w; height_ = h; }
    void setDataset(AddressTable* table) { dataset_ = table; }
    AddressTable* dataset() const override { return dataset_; }
    void setDisplayDataValues(bool on) { display_ = on; }
    bool displayDataValues() const override { return display_; }

private:
    QObject ownOwner_;
    QObject* owner_;
    int width_, height_;
    AddressTable* dataset_ = nullptr;
    bool display_ = true;
};

} // namespace postavo::design
