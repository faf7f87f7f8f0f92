#include "designhost.h"
#include "designobject.h"

#include <algorithm>

namespace postavo::design {

DesignHost::~DesignHost()
{
    // Objects cannot outlive the surface they lie on.
    freeAllObjects();
}

void DesignHost::refreshObjects()
{
    for (auto* o : std::vector<TGGraphicControl*>(objects_))
        o->RefreshData();
}

void DesignHost::insertObject(TGGraphicControl* object)
{
    if (object->host_ && object->host_ != this)
        object->host_->removeObject(object);
    if (object->host_ == this)
        return;
    object->host_ = this;
    objects_.push_back(object);
}

void DesignHost::removeObject(TGGraphicControl* object)
{
    auto it = std::find(objects_.begin(), objects_.end(), object);
    if (it == objects_.end())
        return;
    objects_.erase(it);
    object->host_ = nullptr;
    objectRemoved(object);
}

void DesignHost::moveToFront(TGGraphicControl* object)
{
    auto it = std::find(objects_.begin(), objects_.end(), object);
    if (it == objects_.end())
        return;
    objects_.erase(it);
    objects_.push_back(object);
}

void DesignHost::moveToBack(TGGraphicControl* object)
{
    auto it = std::find(objects_.begin(), objects_.end(), object);
    if (it == objects_.end())
        return;
    objects_.erase(it);
    objects_.insert(objects_.begin(), object);
}

int DesignHost::indexOf(const TGGraphicControl* object) const
{
    auto it = std::find(objects_.begin(), objects_.end(), object);
    return it == objects_.end() ? -1 : int(it - objects_.begin());
}

void DesignHost::freeAllObjects()
{
    while (!objects_.empty())
        delete objects_.back(); // the object's destructor takes it off the list
}

ObjectList::ObjectList(QObject* owner, int width, int height)
    : owner_(owner ? owner : &ownOwner_), width_(width), height_(height)
{
}

ObjectList::~ObjectList() { freeAllObjects(); }

} // namespace postavo::design
