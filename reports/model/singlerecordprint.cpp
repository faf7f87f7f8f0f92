#include "singlerecordprint.h"

#include "addressfields.h"
#include "printcanvas.h"

namespace postavo::reports {

using printing::TabJustify;
using printing::TabStop;
using printing::TPrintCanvas;

const std::array<SingleFieldDef, kSingleFieldCount>& singleFields()
{
    static const std::array<SingleFieldDef, kSingleFieldCount> fields = {{
        {SingleField::Prefix, "Prefix", "PREFIX", "Prefix"},
        {SingleField::Last, "Last", "LNAME", "Last"},
        {SingleField::First, "First", "FNAME", "First"},
        {SingleField::Middle, "Middle", "MIDDLE", "Middle"},
        {SingleField::Title, "Title", "TITLE", "Title"},
        {SingleField::Organization, "Organization", "ORG", "Organization"},
        {SingleField::Address1, "Address 1", "STREET", "Address 1"},
        {SingleField::Address2, "Address 2", "STREET2", "Address 2"},
        {SingleField::City, "City", "CITY", "City"},
        {SingleField::State, "State", "STATE", "State/Province"},
        {SingleField::Zip, "Zip/Postal", "ZIP", "Zip/Postal Code"},
        {SingleField::Country, "Country", "COUNTRY", "Country"},
        {SingleField::Phone1, "Phone 1", "PHONE", "Phone 1"},
        {SingleField::Phone2, "Phone 2", "PHONE2", "Phone 2"},
        {SingleField::Fax, "Fax", "FAX", "Fax"},
        {SingleField::EMail, "E-Mail", "EMAIL", "E-mail"},
        {SingleField::Comment1, "Comment 1", "USER1", "Comment 1"},
        {SingleField::Comment2, "Comment 2", "USER2", "Comment 2"},
        {SingleField::Codes, "Codes", "CODES", "Codes"},
        {SingleField::Date, "Date", "DATE", "Date"},
        {SingleField::Memo, "", "MEMO", "Memo"},
    }};
    return fields;
}

const std::array<SingleField, kSingleFieldCount>& singleFieldSwitchOrder()
{
    using F = SingleField;
    static const std::array<SingleField, kSingleFieldCount> order = {
        F::Last, F::First, F::Middle, F::Title, F::Organization, F::Address1, F::City, F::State, F::Zip, F::Country,
        F::Prefix, F::Address2, F::Comment1, F::Comment2, F::Codes, F::Phone2, F::Fax, F::EMail, F::Phone1, F::Date,
        F::Memo,
    };
    return order;
}

const SingleFieldDef& singleFieldDef(SingleField f) { return singleFields()[std::size_t(f)]; }

bool singleFieldByName(const QString& name, SingleField* out)
{
    const QString n = name.trimmed();
    for (const SingleFieldDef& d : singleFields()) {
        if (n.compare(QLatin1String(d.fieldName), Qt::CaseInsensitive) == 0
            || n.compare(QLatin1String(d.switchCaption), Qt::CaseInsensitive) == 0
            || (*d.label && n.compare(QLatin1String(d.label), Qt::CaseInsensitive) == 0)) {
            *out = d.field;
            return true;
        }
    }
    return false;
}

QString singleFieldValue(SingleField f, const ReportRecord& r)
{
    using F = SingleField;
    switch (f) {
    case F::Prefix: return r.prefix;
    case F::Last: return r.lname;
    case F::First: return r.fname;
    case F::Middle: return r.middle;
    case F::Title: return r.title;
    case F::Organization: return r.org;
    case F::Address1: return r.street;
    case F::Address2: return r.street2;
    case F::City: return r.city;
    case F::State: return r.state;
    case F::Zip: return r.zip;
    case F::Country: return r.country;
    case F::Phone1: return r.phone;
    case F::Phone2: return r.phone2;
    case F::Fax: return r.fax;
    case F::EMail: return r.email;
    case F::Comment1: return r.user1;
    case F::Comment2: return r.user2;
    case F::Codes: return r.codes;
    case F::Date: return displayDate(r.date);
    case F::Memo: return r.memo;
    }
    return {};
}

TSingleRecordPrint::TSingleRecordPrint(ReportRecord record, SingleRecordChoice choice, QDate today, QString dateFormat)
    : record_(std::move(record)), choice_(choice), today_(today), dateFormat_(std::move(dateFormat))
{
}

QString TSingleRecordPrint::todayText() const
{
    return today_.toString(dateFormat_.isEmpty() ? displayDateFormat() : dateFormat_);
}

void TSingleRecordPrint::printHeaderFooter(TPrintCanvas& c)
{
    const double right = c.pageWidth() - c.marginRight();
    c.setMarginTop(0.5);
    c.resetSection();
    c.home();
    c.printRight(QStringLiteral("Page ") + QString::number(c.pageNumber()), right);
    c.newLine();
    c.printRight(todayText(), right);
    c.setMarginTop(kMargin);
    c.resetSection();
    const auto s = c.section();
    c.setPen(Qt::black);
    c.moveTo(s.left, s.top);
    c.lineTo(s.right, s.top);
    c.moveTo(s.left, s.bottom);
    c.lineTo(s.right, s.bottom);
    c.home();
    c.newLine();
}

void TSingleRecordPrint::print(TPrintCanvas& c, const bool& stop)
{
    c.setFont(QStringLiteral("Times"), kFontSize);
    c.setMargins(kMargin, kMargin, kMargin, kMargin);
    c.setBrush(Qt::white, printing::BrushStyle::Clear);
    c.clearTabs();
    TabStop label;
    label.position = kMargin;
    label.width = kLabelWidth;
    label.justify = TabJustify::Left;
    c.addTab(label);
    TabStop value = label;
    value.afterPrevious = true;
    value.width = kValueWidth;
    c.addTab(value);

    printHeaderFooter(c);
    for (const SingleFieldDef& d : singleFields()) {
        if (d.field == SingleField::Memo || !choice_.chosen(d.field))
            continue;
        c.tab();
        c.setBold(true);
        c.print(QString::fromLatin1(d.label));
        c.setBold(false);
        c.tab();
        c.print(singleFieldValue(d.field, record_));
        c.newLine();
    }
    c.newLine();
    if (choice_.chosen(SingleField::Memo))
        printTheMemo(c, stop);
}

void TSingleRecordPrint::printTheMemo(TPrintCanvas& c, const bool& stop)
{
    c.setItalic(true);
    const double width = c.pageWidth() - c.marginLeft() - c.marginRight();
    const QStringList lines = memoLines(record_.memo, width, [&c](const QString& s) { return c.textWidth(s); });
    if (lines.isEmpty()) {
        c.setItalic(false);
        return;
    }
    const double sectionWidth = c.section().width();
    c.saveTabs();
    c.clearTabs();
    TabStop rule;
    rule.position = c.marginLeft();
    rule.width = sectionWidth;
    rule.boxBottom = true;
    c.addTab(rule);
    c.tab();
    c.newLine();
    c.clearTabs();
    TabStop cell = rule;
    cell.boxBottom = false;
    c.addTab(cell);
    for (const QString& line : lines) {
        if (stop || c.aborted())
            break;
        if (c.linesLeft() == 0) {
            c.setItalic(false);
            c.newPage();
            printHeaderFooter(c);
            c.setItalic(true);
        }
        c.tab();
        c.print(line);
        c.newLine();
    }
    c.restoreTabs();
    c.setItalic(false);
}

} // namespace postavo::reports
