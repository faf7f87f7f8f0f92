#pragma once
// Finding records in the open address file, within its filter: the key search in any sort
// order and the text search through the memos. Both leave the found record current and stay
// where they were when nothing is found.

#include <QString>
#include <QStringList>

#include <functional>

namespace postavo {

class AddressBookController;
class AddressTable;

// ---- key search
// The sort captions without "&", in menu order ("Last Name" ... "Codes").
QStringList searchOrderCaptions();
// "Search Last Name starting with..."
QString searchPrompt(const QString& orderCaption);
// Makes `orderCaption` (with or without "&") the window's sort order, as the Sort menu does, then
// makes the first record whose key begins with `text` (upper-cased) current. False, staying on
// the record, when no key begins with it: also for text longer than the key or text the file's
// characters cannot hold. An empty text does nothing.
bool keySearch(AddressBookController& controller, const QString& orderCaption, const QString& text);

// ---- memo search
inline constexpr int kMemoSearchTextLimit = 255;     // characters of the search text used
inline constexpr int kMemoSearchMemoLimit = 32767;   // characters of each memo searched

// The memo's first 32767 characters, upper-cased, contain the text's first 255, upper-cased;
// an empty memo or text never matches.
bool memoMatches(const QString& memo, const QString& text);

struct MemoSearchResult {
    bool found = false;
    bool cancelled = false;
    quint32 recno = 0;  // the matching record
    quint32 searched = 0;
};

// Searches the memos of the visible records in the table's order, from the first record or from
// the one after the current, reading each record without moving. `step` gets 0..100 now and
// then and stops the search by returning false. The table is not moved.
MemoSearchResult searchMemos(AddressTable& table, const QString& text, bool fromFirst,
                             const std::function<bool(int)>& step = {});

// The memo search the main window holds: the text and whether the last search found a record
// ("Find Next" is shown exactly then).
class MemoSearch {
public:
    // "Search Memo": a new text from the first record; "Find Next": the same text from the next.
    // A match becomes the controller's current record; otherwise the record stays and the
    // controller's window beeps.
    MemoSearchResult start(AddressBookController& controller, const QString& text,
                           const std::function<bool(int)>& step = {});
    MemoSearchResult findNext(AddressBookController& controller, const std::function<bool(int)>& step = {});
    void reset();  // another file was opened
    QString text() const { return text_; }
    bool found() const { return found_; }

private:
    MemoSearchResult run(AddressBookController& controller, bool fromFirst, const std::function<bool(int)>& step);
    QString text_;
    bool found_ = false;
};

} // namespace postavo
