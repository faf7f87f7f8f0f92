#include "labelsetup.h"

#include "addressfile.h"
#include "cp1252.h"
#include "labelcodes.h"
#include "engine/engine_error.h"
#include "engine/recordengine.h"
#include "printers.h"
#include "printunits.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace postavo::labels {

using printing::roundHalfEven;

namespace {

double twoDecimals(double v) { return roundHalfEven(v * 100.0) / 100.0; }
long hundredths(double v) { return long(roundHalfEven(v * 100.0)); }

// The paper codes of the platform for the sheets' standard papers.
constexpr int kLetterCode = 1;
constexpr int kA4Code = 9;
constexpr int kA5Code = 11;

} // namespace

// ---------------------------------------------------------------- paper

SheetPaper sheetPaper(const LabelSheetDefinition& d)
{
    SheetPaper p;
    p.landscape = isLandscapeCode(d.paperSize);
    const double width = twoDecimals(double(d.sheetWidth));
    const double depth = twoDecimals(double(d.sheetDepth));
    p.width = p.landscape ? depth : width;
    p.height = p.landscape ? width : depth;
    return p;
}

QString paperQuestion(const SheetPaper& paper)
{
    return QStringLiteral("Unable to confirm that the paper size was set to\r\n\r\n") + QString::number(paper.width, 'f', 2)
           + QStringLiteral("\" by ") + QString::number(paper.height, 'f', 2) + QStringLiteral("\"")
           + QStringLiteral("\r\n\r\n") + QStringLiteral("(you may have the wrong printer selected)")
           + QStringLiteral("\r\n\r\n") + QStringLiteral("Would you like to try printing anyways?");
}

QString setPrinterPaper(printing::TPrinters& printers, const LabelSheetDefinition& d)
{
    const SheetPaper paper = sheetPaper(d);
    const QString code = d.paperSize.trimmed().toUpper();
    // This driver family takes no paper from a program; its own setting is what prints.
    const bool keepsPaper = printers.driverName().toUpper().contains(QLatin1String("HPFDJ"));
    if (!keepsPaper) {
        if (code == QLatin1String("LTR") || code == QLatin1String("LTRL"))
            printers.setPaperCode(kLetterCode);
        else if (code == QLatin1String("A4") || code == QLatin1String("A4L"))
            printers.setPaperCode(kA4Code);
        else if (code == QLatin1String("A5"))
            printers.setPaperCode(kA5Code);
        else
            printers.setCustomPaper(int(roundHalfEven(paper.width * 254.0)), int(roundHalfEven(paper.height * 254.0)));
    }
    printers.setOrientation(paper.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);

    double w = twoDecimals(printers.pageWidth());
    double h = twoDecimals(printers.pageHeight());
    if (paper.landscape)
        std::swap(w, h);
    const bool differs = std::abs(hundredths(w) - hundredths(paper.width)) > 5
                         || std::abs(hundredths(h) - hundredths(paper.height)) > 5;
    return keepsPaper || differs ? paperQuestion(paper) : QString();
}

LabelPrintRun::LabelPrintRun(AddressTable& table, const LabelLayoutRow& layout)
    : table_(table), layout_(layout), guard_(table)
{
    surface_.setDataset(&table);
    surface_.setDisplayDataValues(true);
}

// ---------------------------------------------------------------- the window's state

LabelSetup::LabelSetup(AddressTable& table, LabelLayoutCatalogue& catalogue, LabelRunUi& ui, QString programFolder)
    : table_(table), catalogue_(catalogue), ui_(ui), folder_(std::move(programFolder))
{
}

QString LabelSetup::presortPath() const { return presortFilePath(folder_); }

void LabelSetup::setFilterInForce(bool on)
{
    filterAvailable_ = on;
    chooseRecords(on ? RecordChoice::MatchingFilter : RecordChoice::All);
}

void LabelSetup::chooseRecords(RecordChoice choice)
{
    if (choice == RecordChoice::MatchingFilter && !filterAvailable_)
        choice = RecordChoice::All;
    records_ = choice;
    presortDone_ = false;
    presortEnabled_ = choice != RecordChoice::CurrentOnly;
    if (!presortEnabled_)
        presort_ = false;
}

void LabelSetup::setStartFromCurrent(bool on)
{
    startFromCurrent_ = on;
    presortDone_ = false;
}

void LabelSetup::setPresort(bool on) { presort_ = on && presortEnabled_; }

void LabelSetup::activate()
{
    const QString path = presortPath();
    if (QFileInfo::exists(path))
        QFile::remove(path);
}

// ---------------------------------------------------------------- catalogue

QString LabelSetup::cloneDescription(const QString& description)
{
    return layoutDescription(QStringLiteral("Clone of :") + description);
}

std::optional<LabelLayoutRow> LabelSetup::cloneLayout(const LabelLayoutRow& row, QString* error)
{
    const QString path = catalogue_.layoutPath(row.binary);
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        if (error)
            *error = QLatin1String(kLayoutFileRemoved);
        return std::nullopt;
    }
    LabelSurface scratch;
    const LabelLayoutFileCheck check = loadLabelLayout(scratch, path);
    if (!check.sound()) {
        if (error)
            *error = check.message;
        return std::nullopt;
    }
    LabelLayoutRow copy = row;
    copy.recno = 0;
    copy.description = cloneDescription(row.description);
    copy.binary = catalogue_.newLayoutFileName();
    if (!catalogue_.save(copy, scratch, error))
        return std::nullopt;
    return copy;
}

bool LabelSetup::deleteLayout(const LabelLayoutRow& row, QString* error)
{
    engine::Table* t = catalogue_.table();
    if (!t || !catalogue_.row(row.recno)) {
        if (error)
            *error = QStringLiteral("The label layout \"%1\" is no longer in the catalogue.").arg(row.description);
        return false;
    }
    try {
        t->go(row.recno);
        t->replaceLogical("DELETED", true);
        t->deleteRecord();
        t->commit();
    } catch (const engine::EngineError& e) {
        try {
            t->discardChanges();
        } catch (const engine::EngineError&) {
        }
        if (error)
            *error = QStringLiteral("The label layout could not be deleted from LABEL.DBF: %1")
                         .arg(QString::fromLocal8Bit(e.what()));
        return false;
    }
    // A damaged catalogue may name one file twice: a file another layout still uses stays.
    const QString path = catalogue_.layoutPath(row.binary);
    bool shared = false;
    for (const LabelLayoutRow& other : catalogue_.rows())
        if (other.binary.trimmed().compare(row.binary.trimmed(), Qt::CaseInsensitive) == 0)
            shared = true;
    if (!path.isEmpty() && !shared && QFileInfo::exists(path))
        QFile::remove(path);
    return true;
}

// ---------------------------------------------------------------- Print and Preview

std::unique_ptr<LabelPrintRun> LabelSetup::prepareRun(const LabelLayoutRow& layout, printing::TPrinters* printers)
{
    if (!table_.isOpen())
        return nullptr;
    if (positions.countOn(layout.sheet) == 0) {
        ui_.showInformation(QLatin1String(kNoPositions));
        return nullptr;
    }
    // 2. The layout, from its file.
    auto run = std::make_unique<LabelPrintRun>(table_, layout);
    const QString path = catalogue_.layoutPath(layout.binary);
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        ui_.showInformation(QLatin1String(kLayoutFileRemoved));
        return nullptr;
    }
    const LabelLayoutFileCheck check = loadLabelLayout(run->surface_, path);
    if (!check.sound()) {
        ui_.showInformation(check.message);
        return nullptr;
    }
    run->surface_.rules().sizeFromDefinition(layout.sheet);

    // 3-4. The records (the table's state is remembered by the run).
    const quint32 current = run->guard_.recno();
    QString filter;
    switch (records_) {
    case RecordChoice::All: filter = QStringLiteral("!ISDEL"); break;
    case RecordChoice::CurrentOnly: filter = QStringLiteral("RECNO()=") + QString::number(current); break;
    case RecordChoice::MatchingFilter: filter = table_.filter(); break;
    }
    if (filter != table_.filter() && !table_.setFilter(filter)) {
        ui_.showInformation(QStringLiteral("The records to print cannot be chosen: %1").arg(table_.lastError()));
        return nullptr;
    }
    if (table_.visibleCount() == 0) {
        ui_.showInformation(QLatin1String(kNoRecords));
        return nullptr;
    }

    // 5. Where to start.
    if (startFromCurrent_ && current > 0) {
        table_.goTo(current);
        bool ok = false;
        const bool visible = table_.hasRecord() && table_.recNo() == current
                             && !(table_.engineTable() && table_.engineTable()->isDeleted())
                             && (table_.filter().isEmpty() || table_.evalCondition(table_.filter(), &ok));
        if (!visible) {
            ui_.showInformation(QLatin1String(kOutOfRange));
            table_.first();
        }
    } else {
        table_.first();
    }

    // 6-7. The presort, once per choice of records.
    LabelPrintOptions options;
    options.sheet = layout.sheet;
    options.positions = positions;
    options.copies = copies;
    options.presort = presort_;
    if (presort_) {
        if (!presortDone_) {
            BulkMailPresort presort(table_);
            QString error;
            const BulkMailPresort::Result r = ui_.runPresort(presort, presortPath(), &error);
            if (r == BulkMailPresort::Result::Failed && !error.isEmpty())
                ui_.showInformation(error);
            presortDone_ = r == BulkMailPresort::Result::Done;
        }
        if (!presortDone_)
            return nullptr;
        if (!table_.setOrder(QStringLiteral("ZIP"))) {
            ui_.showInformation(QStringLiteral("The address file has no ZIP index to print in presort order. "
                                               "Rebuild its indexes first."));
            return nullptr;
        }
        QString error;
        if (!readPresortFile(presortPath(), &options.presortLines, &error)) {
            // The file went away since the presort: sort again next time.
            presortDone_ = false;
            ui_.showInformation(error);
            return nullptr;
        }
        ui_.showInformation(QLatin1String(kPresortOrder));
    }

    // 8-11. The printer's paper.
    if (printers) {
        const QString question = setPrinterPaper(*printers, layout.sheet);
        if (!question.isEmpty() && !ui_.askYesNo(question, QStringLiteral("Confirm")))
            return nullptr;
    }

    run->printer_ = std::make_unique<TLabelPrinter>(run->surface_, table_, std::move(options));
    return run;
}

} // namespace postavo::labels
