#include "utilitylaunch.h"

#include "addressbookcontroller.h"
#include "bulkeditwindows.h"
#include "duplicateswindow.h"
#include "programfolder.h"
#include "statezipwindow.h"

namespace postavo {

namespace {
// The user's filter expression, empty when none is set.
QString userFilter(const AddressBookController& c) { return BuildQueryString(c.query(), c.tagId()); }
} // namespace

bool stateTableMissing(MaintenanceUi& ui)
{
    if (!stateTablePath().isEmpty())
        return false;
    ui.showInformation(QString::fromLatin1(statezip::kMissingTable));
    return true;
}

void openStateZipCheck(AddressBookController& c, MaintenanceUi& ui, QWidget* parent)
{
    if (!c.isOpen() || stateTableMissing(ui))
        return;
    // Every record that is not deleted, whatever the user's filter.
    c.table().setFilter(QStringLiteral("!ISDEL"));
    TStateZipCheckWindow w(c.table(), ui, {}, parent);
    w.exec();
}

void openDuplicateCheck(AddressBookController& c, MaintenanceUi& ui, QWidget* parent)
{
    if (!c.isOpen())
        return;
    c.table().setFilter(QStringLiteral("!ISDEL"));
    TDuplicatesWindow w(c.table(), ui, ProgramFolder::path(), parent);
    w.exec();
}

void openConvertCase(AddressBookController& c, MaintenanceUi& ui, QWidget* parent)
{
    if (!c.isOpen())
        return;
    TConvertCaseWindow w(c.table(), ui, userFilter(c), parent);
    w.exec();
}

void openDeleteRecords(AddressBookController& c, MaintenanceUi& ui, QWidget* parent)
{
    if (!c.isOpen())
        return;
    const QString filter = userFilter(c);
    c.table().setFilter(filter);  // the user's filter alone
    TDeleteRecordsWindow w(c.table(), ui, filter, parent);
    w.exec();
}

void openSearchReplace(AddressBookController& c, MaintenanceUi& ui, QWidget* parent)
{
    if (!c.isOpen())
        return;
    const QString filter = userFilter(c);
    c.table().setFilter(filter);
    TSearchReplaceWindow w(c.table(), ui, filter, parent);
    w.exec();
}

} // namespace postavo
