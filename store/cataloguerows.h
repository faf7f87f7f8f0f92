#pragma once
// What every catalogue of sysdata/ does with its rows alike: list them, find one by record
// number, delete one, close the table. The catalogue brings its own reader of the current row.

#include "engine/engine_error.h"
#include "engine/recordengine.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace postavo {

// The folder of the catalogues: `sysdataDir`, or the program's sysdata/ when it is empty, with a
// slash at the end.
QString catalogueFolder(const QString& sysdataDir);

// Every row the catalogue shows, in its order, each read by `read()` at the current row. An
// engine error ends the list there; its message goes to `error` (may be null). No table, no rows.
template <class Read>
auto catalogueRows(engine::Table* table, Read read, QString* error) -> std::vector<decltype(read())>
{
    std::vector<decltype(read())> rows;
    if (!table)
        return rows;
    try {
        for (table->goTop(); !table->eof(); table->skip(1))
            rows.push_back(read());
    } catch (const engine::EngineError& e) {
        if (error)
            *error = QString::fromStdString(e.what());
    }
    return rows;
}

// Row `recno` read by `read()`; none for 0, a row past the end, a deleted row, or an engine error
// (its message to `error`, may be null).
template <class Read>
auto catalogueRow(engine::Table* table, quint32 recno, Read read, QString* error) -> std::optional<decltype(read())>
{
    if (!table || recno == 0)
        return std::nullopt;
    try {
        table->go(recno);
        if (table->eof() || table->isDeleted())
            return std::nullopt;
        return read();
    } catch (const engine::EngineError& e) {
        if (error)
            *error = QString::fromStdString(e.what());
        return std::nullopt;
    }
}

// The first of `rows` whose description is `description`, letter case and blanks at the ends
// ignored.
template <class Row>
std::optional<Row> findDescription(const std::vector<Row>& rows, const QString& description)
{
    const QString wanted = description.trimmed();
    for (const Row& r : rows)
        if (r.description.trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return r;
    return std::nullopt;
}

// Writes one row: a new one when *recno is 0 (*recno is then set), else row *recno; `write`
// fills its fields. All or nothing: on an engine error the row's changes are dropped, so that
// nothing half-written is stored later, and false with the engine's message.
bool storeCatalogueRow(engine::Table& table, quint32* recno, const std::function<void(engine::Table&)>& write,
                       QString* error);

// Marks row `recno` deleted and commits; false with the engine's message.
bool deleteCatalogueRow(engine::Table& table, quint32 recno, QString* error);

// A catalogue just opened shows its rows by description, deleted ones hidden, from the first;
// false with the engine's message.
bool listByDescription(engine::Table& table, QString* error);

// Closes the table (an engine error there changes nothing now) and lets it go.
void closeCatalogue(std::unique_ptr<engine::Table>& table);

// A description or other text for a catalogue field: empty when Windows-1252 holds it, the
// problem to show otherwise.
QString catalogueTextProblem(const QString& text);

} // namespace postavo
