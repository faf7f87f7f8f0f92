#include "cataloguerows.h"

#include "cp1252.h"
#include "programfolder.h"

namespace postavo {

QString catalogueFolder(const QString& sysdataDir)
{
    QString d = sysdataDir.isEmpty() ? ProgramFolder::sysdataPath() : sysdataDir;
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}

bool storeCatalogueRow(engine::Table& table, quint32* recno, const std::function<void(engine::Table&)>& write,
                       QString* error)
{
    try {
        if (*recno == 0)
            table.appendBlank();
        else
            table.go(*recno);
        write(table);
        table.commit();
        *recno = table.recNo();
    } catch (const engine::EngineError& e) {
        try {
            table.discardChanges();
        } catch (const engine::EngineError&) {
        }
        if (error)
            *error = QString::fromStdString(e.what());
        return false;
    }
    return true;
}

bool deleteCatalogueRow(engine::Table& table, quint32 recno, QString* error)
{
    try {
        table.go(recno);
        table.deleteRecord();
        table.commit();
    } catch (const engine::EngineError& e) {
        if (error)
            *error = QString::fromStdString(e.what());
        return false;
    }
    return true;
}

bool listByDescription(engine::Table& table, QString* error)
{
    try {
        table.setDeletedHidden(true);
        table.setOrder(std::string("DESCRIPT"));
        table.goTop();
    } catch (const engine::EngineError& e) {
        if (error)
            *error = QString::fromStdString(e.what());
        return false;
    }
    return true;
}

void closeCatalogue(std::unique_ptr<engine::Table>& table)
{
    if (!table)
        return;
    try {
        table->close();
    } catch (const engine::EngineError&) {
    }
    table.reset();
}

QString catalogueTextProblem(const QString& text)
{
    if (fromCp1252(toCp1252(text)) != text)
        return QStringLiteral("The description \"%1\" holds characters the catalogue cannot store.").arg(text);
    return {};
}

} // namespace postavo
