#include "tablestatekeeper.h"

#include "addressfile.h"

namespace postavo {

TableStateKeeper::TableStateKeeper(AddressTable& table, Signals mode)
    : table_(table), recno_(table.recNo()), filter_(table.filter()), order_(table.order()),
      quiet_(mode == Signals::Quiet), notify_(table.notificationsEnabled())
{
    if (quiet_)
        table_.setNotificationsEnabled(false);
}

void TableStateKeeper::restore()
{
    if (restored_)
        return;
    restored_ = true;
    if (table_.isOpen()) {
        if (table_.filter() != filter_)
            table_.setFilter(filter_);
        if (table_.order() != order_)
            table_.setOrder(order_);
        if (recno_ > 0)
            table_.goTo(recno_);
        else
            table_.first();
    }
    if (quiet_)
        table_.setNotificationsEnabled(notify_);
}

} // namespace postavo
