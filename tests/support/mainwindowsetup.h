#pragma once
// Setting up the address book for a test: a fresh program folder with a start file, settings,
// and a scripted user who answers every question. activatewindow.h shows the main window.
#include "addressbookcontroller.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

#include <functional>
#include <memory>

namespace postavo::testing {

// Answers every question and records every message, question and beep.
struct BookUi : AddressBookUi {
    QStringList messages;
    QStringList questions;  // "caption: text"
    int beeps = 0;
    int prompts = 0;
    NewRecordPrompt lastPrompt;
    std::optional<NewRecordAnswer> newRecord = NewRecordAnswer{};
    std::function<bool(const QString& caption, const QString& text)> answer = [](const QString&, const QString&) { return true; };
    int rebuilds = 0;

    void showInformation(const QString& text) override { messages << text; }
    bool askYesNo(const QString& text, const QString& caption) override
    {
        questions << caption + ": " + text;
        return answer(caption, text);
    }
    bool askYesNoDefaultNo(const QString& text, const QString& caption) override
    {
        questions << caption + ": " + text;
        return answer(caption, text);
    }
    void rebuildIndexes(AddressTable& table) override
    {
        ++rebuilds;
        RebuildAddressFile(table, {});
    }
    void beep() override { ++beeps; }
    std::optional<NewRecordAnswer> askNewRecord(const NewRecordPrompt& p) override
    {
        ++prompts;
        lastPrompt = p;
        return newRecord;
    }
};

using Row = QMap<QString, QString>;

// A new empty program folder (the program's folder for this test) that lives as long as the
// returned object.
std::unique_ptr<QTemporaryDir> freshProgramFolder();
// An address file at `path` holding `rows` (field name -> value; "MEMO" for the memo).
bool makeBook(const QString& path, const QVector<Row>& rows);
// DATA/add0001.DBF in the program folder, with `rows`, and named first in the recent list.
QString makeStartBook(const QVector<Row>& rows);
// Writes a settings value in the program's settings file.
void setSetting(const char* section, const char* key, const QString& value);

} // namespace postavo::testing
