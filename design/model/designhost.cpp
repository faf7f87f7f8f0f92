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
    for (auto* o : designObjects())
        o->refreshData();
}

std::vector<TGGraphicControl*> DesignHost::designObjects() const
{
    std::vector<TGGraphicControl*> list;
    list.reserve(objects_.size());
    for (const auto& o : objects_)
        list.push_back(o.get());
    return list;
}

DesignHost::Owned::iterator DesignHost::find(const TGGraphicControl* object)
{
    return std::find_if(objects_.begin(), objects_.end(), [object](const auto& o) { return o.get() == object; });
}

DesignHost::Owned::const_iterator DesignHost::find(const TGGraphicControl* object) const
{
    return std::find_if(objects_.begin(), objects_.end(), [object](const auto& o) { return o.get() == object; });
}

void DesignHost::insertObject(TGGraphicControl* object)
{
    if (object->host_ == this)
        return;
    std::unique_ptr<TGGraphicControl> owned =
        object->host_ ? object->host_->takeObject(object) : std::unique_ptr<TGGraphicControl>(object);
    object->host_ = this;
    objects_.push_back(std::move(owned));
}

std::unique_ptr<TGGraphicControl> DesignHost::takeObject(TGGraphicControl* object)
{
    auto it = find(object);
    if (it == objects_.end())
        return nullptr;
    std::unique_ptr<TGGraphicControl> owned = std::move(*it);
    objects_.erase(it);
    object->host_ = nullptr;
    objectRemoved(object);
    return owned;
}

void DesignHost::destroyObject(TGGraphicControl* object)
{
    // Off the list (and its surface told) before it is freed.
    takeObject(object).reset();
}

void DesignHost::forgetObject(TGGraphicControl* object)
{
    auto it = find(object);
    if (it == objects_.end())
        return;
    (void)it->release();
    objects_.erase(it);
    object->host_ = nullptr;
    objectRemoved(object);
}

void DesignHost::moveToFront(TGGraphicControl* object)
{
    auto it = find(object);
    if (it == objects_.end())
        return;
    std::rotate(it, it + 1, objects_.end());
}

void DesignHost::moveToBack(TGGraphicControl* object)
{
    auto it = find(object);
    if (it == objects_.end())
        return;
    std::rotate(objects_.begin(), it, it + 1);
}

int DesignHost::indexOf(const TGGraphicControl* object) const
{
    auto it = find(object);
    return it == objects_.end() ? -1 : int(it - objects_.begin());
}

void DesignHost::freeAllObjects()
{
    while (!objects_.empty())
        destroyObject(objects_.back().get());
}

ObjectList::ObjectList(QObject* owner, int width, int height)
    : owner_(owner ? owner : &ownOwner_), width_(width), height_(height)
{
}

ObjectList::~ObjectList() { freeAllObjects(); }

} // namespace postavo::design
