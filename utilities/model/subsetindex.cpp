#include "subsetindex.h"

#include "addressfile.h"
#include "cp1252.h"
#include "recordengine.h"

#include <QFile>

#include <algorithm>

namespace postavo {

using engine::EngineError;

namespace {
bool failWith(const EngineError& e, QString* error)
{
    if (error)
        *error = fromCp1252(std::string_view(e.what()));
    return false;
}
} // namespace

bool SubsetIndex::create(const QString& path, const QString& keyExpr, QString* error)
{
    remove();
    engine::Table* t = table_->engineTable();
    if (!t)
        return false;
    const int order = t->order();
    try {
        QFile::remove(path);
        t->createTempIndex(QFile::encodeName(path).toStdString(), keyExpr.toStdString());
        t->setOrder(order == -1 ? 0 : order);
    } catch (const EngineError& e) {
        return failWith(e, error);
    }
    path_ = path;
    open_ = true;
    added_.assign(std::size_t(t->recCount()) + 1, false);
    count_ = 0;
    return true;
}

bool SubsetIndex::add(std::vector<std::uint32_t> recnos, QString* error)
{
    engine::Table* t = table_->engineTable();
    if (!open_ || !t)
        return false;
    std::sort(recnos.begin(), recnos.end());
    try {
        for (std::uint32_t r : recnos) {
            if (r >= added_.size())
                added_.resize(std::size_t(r) + 1, false);
            if (added_[r])
                continue;
            t->go(r);
            if (t->eof())
                continue;
            t->keyAdd();
            added_[r] = true;
            ++count_;
        }
    } catch (const EngineError& e) {
        return failWith(e, error);
    }
    return true;
}

bool SubsetIndex::activate(QString* error)
{
    engine::Table* t = table_->engineTable();
    if (!open_ || !t)
        return false;
    try {
        t->setOrder(-1);
        t->goTop();
    } catch (const EngineError& e) {
        return failWith(e, error);
    }
    return true;
}

void SubsetIndex::remove()
{
    if (!open_)
        return;
    open_ = false;
    try {
        if (engine::Table* t = table_->engineTable())
            t->closeTempIndex();
    } catch (const EngineError&) {
        // The file goes all the same; the table has lost nothing.
    }
    QFile::remove(path_);
    added_.clear();
    count_ = 0;
}

} // namespace postavo
