#include "templateselection.h"

#include "catalogues.h"
#include "cp1252.h"
#include "engine/engine_error.h"
#include "engine/recordengine.h"
#include "labelvalidation.h"
#include "programfolder.h"

namespace postavo::labels {

TemplateSelection::TemplateSelection(QString sysdataDir)
    : dir_(sysdataDir.isEmpty() ? ProgramFolder::sysdataPath() : std::move(sysdataDir))
{
    makers_ = labels::manufacturerEntries();
}

TemplateSelection::~TemplateSelection()
{
    if (table_) {
        try {
            table_->close();
        } catch (const engine::EngineError&) {
        }
    }
}

bool TemplateSelection::open(QString* message)
{
    table_ = openCatalogue(Catalogue::LabelTemplate, message, dir_);
    if (!table_)
        return false;
    try {
        catalogue_ = LabelStockCatalogue::fromTable(*table_);
        table_->setDeletedHidden(true);
        table_->setOrder(std::string_view("DESCRIPT"));
    } catch (const engine::EngineError&) {
        table_.reset();
        if (message)
            *message = QStringLiteral("Unable to Open LBLTPL.DBF");
        return false;
    }
    makers_ = labels::manufacturerEntries(catalogue_.otherMakers());
    otherMakerNames_ = catalogue_.otherMakerNames();
    return true;
}

const QStringList& TemplateSelection::productTypeEntries() const
{
    return labels::productTypeEntries();
}

void TemplateSelection::start(const LabelSheetDefinition& current)
{
    const TemplateWindowStart s = templateWindowStart(current, makers_);
    maker_ = s.manufacturerIndex;
    product_ = s.productTypeIndex;
    european_ = false;
    search_.clear();
    query();
    current_ = templateStartRow(descriptions(), s, current.tplDescrip);
}

void TemplateSelection::setManufacturer(int index)
{
    maker_ = index >= 0 && index < makers_.size() ? index : -1;
    search_.clear();
    query();
}

void TemplateSelection::setProductType(int index)
{
    product_ = index >= 0 && index < productTypeEntries().size() ? index : -1;
    search_.clear();
    query();
}

void TemplateSelection::setEuropeanOnly(bool on)
{
    european_ = on;
    search_.clear();
    query();
}

QString TemplateSelection::filter() const
{
    const QString maker = maker_ >= 0 ? makers_[maker_] : QString();
    const QString product = product_ >= 0 ? productTypeEntries()[product_] : QString();
    return templateFilter(maker, product, european_, otherMakerNames_);
}

void TemplateSelection::query()
{
    rows_.clear();
    current_ = -1;
    if (!table_)
        return;
    try {
        table_->setQuery(toCp1252(filter()));
        for (table_->goTop(); !table_->eof(); table_->skip())
            rows_.push_back(readTemplateRow(*table_));
    } catch (const engine::EngineError&) {
        rows_.clear();
    }
    if (!rows_.empty())
        current_ = 0;
}

void TemplateSelection::setSearchText(const QString& text)
{
    search_ = text;
    if (text.trimmed().isEmpty()) {
        query();
        return;
    }
    rows_.clear();
    for (int i : catalogue_.search(text))
        rows_.push_back(catalogue_.rows()[size_t(i)]);
    current_ = rows_.empty() ? -1 : 0;
}

QStringList TemplateSelection::descriptions() const
{
    QStringList d;
    for (const LabelSheetDefinition& r : rows_)
        d << r.tplDescrip;
    return d;
}

void TemplateSelection::setCurrentRow(int row)
{
    if (row >= 0 && row < int(rows_.size()))
        current_ = row;
}

const LabelSheetDefinition* TemplateSelection::current() const
{
    return current_ >= 0 && current_ < int(rows_.size()) ? &rows_[size_t(current_)] : nullptr;
}

TemplateSelection::Choice TemplateSelection::accept() const
{
    Choice c;
    const LabelSheetDefinition* d = current();
    if (!d) {
        c.message = QStringLiteral("No label template is selected.");
        return c;
    }
    c.definition = *d;
    const QString problem = checkEnteredDefinition(*d);
    if (!problem.isEmpty())
        c.message = QStringLiteral("The template \"%1\" cannot be used: %2").arg(d->tplDescrip, problem);
    return c;
}

} // namespace postavo::labels
