#include "resultgrid.h"

#include "addressfile.h"
#include "catalogues.h"
#include "rawrecords.h"
#include "recordengine.h"

namespace postavo {

using engine::EngineError;

QStringList resultColumns(const AddressTable& table, bool streetSecond)
{
    QStringList columns;
    for (const QString& name : table.fieldOrder()) {
        const AddressTable::Field* f = table.field(name);
        if (f && (f->type == 'M' || f->name == QLatin1String("TAG") || f->name == QLatin1String("ISDEL") ||
                  f->label.isEmpty()))
            continue;
        columns << name;
    }
    if (!columns.contains(QLatin1String("Tagged"), Qt::CaseInsensitive))
        columns << QStringLiteral("Tagged");
    if (streetSecond && columns.removeAll(QStringLiteral("STREET")) > 0)
        columns.insert(std::min<qsizetype>(1, columns.size()), QStringLiteral("STREET"));
    return columns;
}

QString AddressGrid::gridLabel(const QString& column) const { return table_.gridLabel(column); }
std::vector<quint32> AddressGrid::gridRows() { return active_ ? table_.visibleRecords() : std::vector<quint32>(); }

bool AddressGrid::gridRead(quint32 recno, const QStringList& columns, QStringList* values)
{
    return table_.readRecord(recno, values, columns);
}

bool AddressGrid::gridEditable(const QString& column) const { return table_.gridEditable(column); }

bool AddressGrid::gridWrite(quint32 recno, const QString& column, const QString& value)
{
    if (!fitsCp1252(value)) {
        error_ = QStringLiteral("\"%1\" holds characters that an address file cannot store.").arg(value);
        return false;
    }
    if (!table_.gridWrite(recno, column, value)) {
        error_ = table_.lastError();
        return false;
    }
    return true;
}

int AddressGrid::width(const QString& column) const { return table_.fieldWidth(column); }

// ---------------------------------------------------------------- CSZ.DBF

std::unique_ptr<StateTableGrid> StateTableGrid::open(const QString& sysdataDir, QString* message)
{
    QString ignored;
    std::unique_ptr<engine::Table> t = openCatalogue(Catalogue::States, &ignored, sysdataDir);
    if (t) {
        try {
            t->setDeletedHidden(true);
            t->setOrder(catalogueDef(Catalogue::States).tagName);
            if (rawField(*t, "STATE").valid() && rawField(*t, "LOW_ZIP").valid())
                return std::unique_ptr<StateTableGrid>(new StateTableGrid(std::move(t)));
        } catch (const EngineError&) {
        }
    }
    if (message)
        *message = QStringLiteral("Unable to open CSZ.DBF");
    return nullptr;
}

StateTableGrid::StateTableGrid(std::unique_ptr<engine::Table> t) : table_(std::move(t)) {}

StateTableGrid::~StateTableGrid()
{
    try {
        table_->close();
    } catch (const EngineError&) {
    }
}

QStringList StateTableGrid::gridColumns() const
{
    return {QStringLiteral("NAME"), QStringLiteral("STATE"), QStringLiteral("LOW_ZIP"), QStringLiteral("HIGH_ZIP")};
}

QString StateTableGrid::gridLabel(const QString& column) const
{
    for (const CatalogueFieldDef& f : catalogueDef(Catalogue::States).fields)
        if (column == QLatin1String(f.name))
            return QString::fromLatin1(f.label);
    return column;
}

std::vector<quint32> StateTableGrid::gridRows()
{
    std::vector<quint32> rows;
    try {
        for (table_->goTop(); !table_->eof(); table_->skip(1))
            rows.push_back(table_->recNo());
    } catch (const EngineError& e) {
        error_ = AddressTable::fromFile(e.what());
    }
    return rows;
}

bool StateTableGrid::gridRead(quint32 recno, const QStringList& columns, QStringList* values)
{
    std::string rec;
    try {
        if (!table_->readRecord(recno, rec))
            return false;
    } catch (const EngineError&) {
        return false;
    }
    values->clear();
    for (const QString& c : columns)
        *values << AddressTable::fromFile(
            trimmedBytes(reinterpret_cast<const unsigned char*>(rec.data()), rawField(*table_, c.toStdString())));
    return true;
}

bool StateTableGrid::gridWrite(quint32 recno, const QString& column, const QString& value)
{
    if (!fitsCp1252(value)) {
        error_ = QStringLiteral("\"%1\" holds characters that the state table cannot store.").arg(value);
        return false;
    }
    if (value.size() > width(column)) {
        error_ = QStringLiteral("\"%1\" is longer than the field (%2 characters).").arg(value).arg(width(column));
        return false;
    }
    try {
        table_->go(recno);
        table_->replace(column.toStdString(), AddressTable::toFile(value));
        table_->commit();
    } catch (const EngineError& e) {
        error_ = AddressTable::fromFile(e.what());
        return false;
    }
    return true;
}

int StateTableGrid::width(const QString& column) const { return rawField(*table_, column.toStdString()).length; }

quint32 StateTableGrid::addRow()
{
    try {
        table_->appendBlank();
        table_->commit();
        return table_->recNo();
    } catch (const EngineError& e) {
        error_ = AddressTable::fromFile(e.what());
        return 0;
    }
}

bool StateTableGrid::deleteRow(quint32 recno)
{
    try {
        table_->go(recno);
        table_->deleteRecord();
        table_->commit();
    } catch (const EngineError& e) {
        error_ = AddressTable::fromFile(e.what());
        return false;
    }
    return true;
}

} // namespace postavo
