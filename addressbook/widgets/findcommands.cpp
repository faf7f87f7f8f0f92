#include "findcommands.h"

#include "browsewindow.h"
#include "mainwindow.h"
#include "messageboxes.h"
#include "searchwindows.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>

namespace postavo {

namespace {
// The memo search lives as long as the main window, as a child of it.
struct MemoSearchHolder : QObject {
    MemoSearch search;
};
const char* const kHolderName = "memoSearchState";
} // namespace

MemoSearch& memoSearchOf(TAddressMain& main)
{
    auto* holder = static_cast<MemoSearchHolder*>(main.findChild<QObject*>(QLatin1String(kHolderName)));
    if (!holder) {
        holder = new MemoSearchHolder;
        holder->setParent(&main);
        holder->setObjectName(QLatin1String(kHolderName));
        // Opening another file forgets the search.
        QObject::connect(&main.controller(), &AddressBookController::fileChanged, holder,
                         [holder] { holder->search.reset(); });
    }
    return holder->search;
}

namespace {

void memoSearch(TAddressMain& main, bool fromFirst)
{
    AddressBookController& c = main.controller();
    MemoSearch& search = memoSearchOf(main);
    QString text;
    if (fromFirst) {
        bool ok = false;
        text = QInputDialog::getText(&main, QStringLiteral("Memo Search"), QStringLiteral("Search For"),
                                     QLineEdit::Normal, QString(), &ok);
        if (!ok)
            return;
    }
    main.setUpdatesFlag(false);
    runMemoSearch(search, c, fromFirst, text, &main);
    main.setUpdatesFlag(true);
    main.setFindNextShown(search.found());
}

} // namespace

void installFindCommands(TAddressMain& main)
{
    main.setCommandHandler(Command::Search, [&main] {
        TSearchBox box(main.controller().sortCaption(), &main);
        if (box.exec() == QDialog::Accepted)
            keySearch(main.controller(), box.order(), box.text());
    });
    main.setCommandHandler(Command::Browse, [&main] {
        AddressBookController& c = main.controller();
        if (c.editing()) {
            c.beep();
            return;
        }
        TAddressBrowseForm form(c, &main);
        form.exec();
    });
    main.setCommandHandler(Command::SearchMemo, [&main] { memoSearch(main, true); });
    main.setCommandHandler(Command::FindNext, [&main] { memoSearch(main, false); });
    main.setCommandHandler(Command::CopyToClipboard, [&main] {
        TCopyRecordDialog dlg(&main);
        if (dlg.exec() != QDialog::Accepted)
            return;
        QClipboard* clip = QApplication::clipboard();
        clip->clear();
        clip->setText(GetRecordAsString(main.controller().table(), dlg.groups()));
        showInformation(QStringLiteral("Record copied to Windows Clipboard"), &main);
    });
}

} // namespace postavo
