#include "commands.h"

#include "dialerwindows.h"
#include "mainwindow.h"

namespace postavo {

void installDialerCommands(TAddressMain& main)
{
    auto dial = [&main](const char* field) {
        TPVDialer dialer(main.controller().fieldValue(QString::fromLatin1(field)), &main);
        dialer.exec();
    };
    main.setCommandHandler(Command::DialPhone1, [dial] { dial("PHONE"); });
    main.setCommandHandler(Command::DialPhone2, [dial] { dial("PHONE2"); });
}

} // namespace postavo
