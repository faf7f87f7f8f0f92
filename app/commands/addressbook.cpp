#include "commands.h"

#include "findcommands.h"

namespace postavo {

void installAddressBookCommands(TAddressMain& main)
{
    installFindCommands(main);
}

} // namespace postavo
