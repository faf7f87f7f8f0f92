#pragma once
// What the main window offers at a given moment, the sort orders and the status line: plain
// functions of the window's state, so they can be checked without a window.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace postavo {

struct Availability {
    // open, not editing, on a record
    bool search = false, browse = false, edit = false, del = false, navigate = false;
    bool dial = false, searchMemo = false, exportFile = false, clone = false;
    bool sortMenu = false, printMenu = false, utilitiesMenu = false, printButtons = false;
    // open, not editing
    bool add = false, recordMenu = false;
    // a filter is set, or open, not editing and on a record
    bool setFilter = false;
    // a filter is set
    bool saveFilter = false, clearFilter = false, tagAll = false;
    bool clearFilterButtonVisible = false, clearFilterButtonEnabled = false;
    // open
    bool rebuild = false, importMenu = false, clearTags = false, restoreFilter = false, editMenu = false;
    // not editing
    bool fileMenu = false, exit = false;
    // while editing Save and Cancel are shown; Add, Edit, Delete, Exit and Find Next hidden
    bool editing = false;

    bool operator==(const Availability&) const = default;
};

Availability computeAvailability(bool open, bool editing, bool hasRecord, bool filterSet);

// "n filter matches", "n records (no filter)", "No records"; nothing with no file open.
std::optional<QString> filterStatusText(bool open, bool filterSet, quint32 visible);

struct SortOrder {
    const char* caption;  // menu caption with its accelerator
    const char* tag;
};
inline constexpr int kSortOrderCount = 14;
const std::array<SortOrder, kSortOrderCount>& sortOrders();
// The caption from its second character on, upper-cased ("&Last Name" -> "LAST NAME").
QString sortKeyOfCaption(const QString& caption);
// The tag for a caption, empty for any other text.
QString sortTagForCaption(const QString& caption);
// "Sorted by " + the caption without "&".
QString sortStatusText(const QString& caption);

} // namespace postavo
