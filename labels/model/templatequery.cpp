#include "templatequery.h"

#include "labelcodes.h"

namespace postavo::labels {

namespace {

// The makers the original list names, searched for first and in this order.
const QStringList& listedMakers()
{
    static const QStringList m = {QStringLiteral("AVERY"), QStringLiteral("NEBS"), QStringLiteral("COSTAR")};
    return m;
}

QString clause(const QString& c)
{
    return QLatin1Char(' ') + c + QLatin1Char(' ');
}

QString printerWord(const QString& code)
{
    for (const PrinterType& p : printerTypes())
        if (code.compare(QLatin1String(p.code), Qt::CaseInsensitive) == 0)
            return QLatin1String(p.entryWord);
    return {};
}

int indexIgnoringCase(const QStringList& list, const QString& text)
{
    for (int i = 0; i < list.size(); ++i)
        if (list[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

const QStringList& productTypeEntries()
{
    static const QStringList e = [] {
        QStringList l;
        for (const ProductType& p : productTypes())
            l << QLatin1String(p.entry);
        l << QLatin1String(kAllProductTypes);
        return l;
    }();
    return e;
}

QStringList manufacturerEntries(const QList<MakerPrinters>& otherMakers)
{
    QStringList e = {QStringLiteral("Avery Laserjet"), QStringLiteral("Avery Inkjet"), QStringLiteral("Avery Dot Matrix"),
                     QStringLiteral("Costar LabelPrinter")};
    for (const MakerPrinters& m : otherMakers) {
        for (const PrinterType& p : printerTypes())
            if (m.printers.contains(QLatin1String(p.code)))
                e << m.maker.toUpper() + QLatin1Char(' ') + QLatin1String(p.displayWord);
    }
    e << QLatin1String(kAllMakers);
    return e;
}

QString templateFilter(const QString& manufacturerEntry, const QString& productTypeEntry, bool europeanOnly,
                       const QStringList& otherMakers)
{
    QStringList clauses;
    const QString maker = manufacturerEntry.toUpper();
    if (!maker.isEmpty()) {
        for (const QString& name : listedMakers() + otherMakers) {
            if (!name.isEmpty() && maker.contains(name.toUpper())) {
                clauses << clause(QStringLiteral("UPPER(manufac)=\"%1\"").arg(name.toUpper()));
                break;
            }
        }
        for (const PrinterType& p : printerTypes()) {
            if (maker.contains(QLatin1String(p.entryWord))) {
                clauses << clause(QStringLiteral("UPPER(printer)=\"%1\"").arg(QLatin1String(p.code)));
                break;
            }
        }
    }
    for (const ProductType& p : productTypes()) {
        if (productTypeEntry.compare(QLatin1String(p.entry), Qt::CaseInsensitive) == 0) {
            clauses << clause(QStringLiteral("UPPER(PRODTYPE)=\"%1\"").arg(QLatin1String(p.code)));
            break;
        }
    }
    if (europeanOnly)
        clauses << QStringLiteral(" (\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))");
    return clauses.join(QStringLiteral(" and "));
}

TemplateWindowStart templateWindowStart(const LabelSheetDefinition& current, const QStringList& entries)
{
    TemplateWindowStart s;
    QString maker = current.manufac.trimmed().toUpper();
    QString printer = current.printer.trimmed().toUpper();
    QString prodType = current.prodType;
    if (current.isUserDefined()) {
        maker = QStringLiteral("AVERY");
        printer = QStringLiteral("LJ");
        prodType = QStringLiteral("ADDRESS/SHIPPING LABELS");
        s.seekCurrent = false;
    }

    const QString word = printerWord(printer);
    if (maker == QLatin1String("AVERY") && (printer == "LJ" || printer == "IJ" || printer == "DM"))
        s.manufacturerText = QStringLiteral("AVERY ") + word;
    else if (maker == QLatin1String("NEBS") && (printer == "LJ" || printer == "DM"))
        s.manufacturerText = QStringLiteral("NEBS ") + word;
    else if (maker == QLatin1String("COSTAR"))
        s.manufacturerText = QStringLiteral("COSTAR LABELPRINTER");
    else if (!maker.isEmpty() && !word.isEmpty() && !listedMakers().contains(maker)
             && indexIgnoringCase(entries, maker + QLatin1Char(' ') + word) >= 0)
        s.manufacturerText = maker + QLatin1Char(' ') + word;  // a maker the list carries besides the original ones
    else
        s.manufacturerText = QStringLiteral("AVERY LASERJET");
    s.manufacturerIndex = indexIgnoringCase(entries, s.manufacturerText);

    s.productTypeIndex = indexIgnoringCase(productTypeEntries(), prodType);
    if (s.productTypeIndex < 0)
        s.productTypeIndex = int(productTypeEntries().size()) - 1;  // "All"
    return s;
}

int templateStartRow(const QStringList& descriptions, const TemplateWindowStart& start, const QString& tplDescrip)
{
    if (descriptions.isEmpty())
        return -1;
    if (!start.seekCurrent)
        return 0;
    const int i = int(descriptions.indexOf(tplDescrip));
    return i >= 0 ? i : int(descriptions.size()) - 1;
}

} // namespace postavo::labels
