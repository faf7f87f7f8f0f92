#pragma once
// Building address files for tests.
#include "addressfile.h"
#include "support_tempdir.h"

#include <QStringList>
#include <functional>

namespace postavo::test {

// Answers the questions of opening a file and records every message.
struct ScriptedUi : AddressFileUi {
    QStringList messages;
    QStringList questions;
    bool answer = true;
    int rebuilds = 0;
    void showInformation(const QString& text) override { messages << text; }
    bool askYesNo(const QString& text, const QString& caption) override
    {
        questions << caption + ": " + text;
        return answer;
    }
    void rebuildIndexes(AddressTable& table) override
    {
        ++rebuilds;
        RebuildAddressFile(table, {});
    }
};

// Creates an address file at `path` with `count` records filled by `fill` (row index from 0).
bool makeAddressFile(const QString& path, int count,
                     const std::function<void(AddressTable&, int)>& fill = {});

} // namespace postavo::test
