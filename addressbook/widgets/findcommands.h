#pragma once
// The main window's commands that find and copy records: "Search", "Browse", "Search Memo",
// "Find Next" and "Copy To Clipboard".

namespace postavo {

class TAddressMain;
class MemoSearch;

void installFindCommands(TAddressMain& main);
// The memo search the window holds (its text and found flag), for tests.
MemoSearch& memoSearchOf(TAddressMain& main);

} // namespace postavo
