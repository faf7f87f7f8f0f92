#pragma once
// One address record as the reports read it (values with their trailing blanks removed), the
// texts the built-in reports compose from it, and the word wrap of memo texts in inches.

#include <QString>
#include <QStringList>
#include <functional>

namespace postavo::reports {

struct ReportRecord {
    QString lname, fname, middle, prefix, title, org, street, street2, city, state, zip, country;
    QString date; // the DATE field's stored text (yyyymmdd)
    QString phone, phone2, fax, email, codes, user1, user2;
    QString memo;
    quint32 recno = 0;
};

// ---- texts of the built-in reports ----
// Reports 1-3: "Smith, John Q." (an empty last name leaves ", " in front).
QString listName(const ReportRecord& r);
// Report 1: "Boston, MA  02134 ".
QString cityLineReport1(const ReportRecord& r);
// Report 4: "Smith, Mr. John Q."; an empty prefix with a first name leaves two blanks.
QString fullNameReport4(const ReportRecord& r);
// Report 4: "Title, Org", or the organization alone (a title without one is not printed).
QString titleAndOrganization(const ReportRecord& r);
// Report 4: "Boston, MA, 02134"; a state without a city starts with ", ".
QString cityLineReport4(const ReportRecord& r);
// Report 4: "Ph: 555-1234  Fax: 555-9876  ".
QString phoneAndFax(const ReportRecord& r);

// Text with its leading blanks removed.
QString trimLeft(const QString& s);

// ---- word wrap ----
// The lines of `text` (line breaks CR LF, LF or CR) no wider than `width` as `measure` measures
// them: a line breaks after the last whole word that fits and keeps the blanks after it; a word
// longer than a whole line is broken inside.
QStringList wrapLines(const QString& text, double width, const std::function<double(const QString&)>& measure);
// The memo lines a report prints: the wrapped lines, or none when they are a single line of
// blanks (an empty memo included).
QStringList memoLines(const QString& memo, double width, const std::function<double(const QString&)>& measure);

} // namespace postavo::reports
