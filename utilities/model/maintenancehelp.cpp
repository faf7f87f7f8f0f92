#include "helptopics.h"
#include "maintenanceui.h"

namespace postavo {

void registerMaintenanceHelp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    auto add = [](int id, const char* title, const char* keywords, const char* html) {
        registerHelpTopic({id, QString::fromUtf8(title),
                           QString::fromUtf8(keywords).split(QLatin1Char(','), Qt::SkipEmptyParts),
                           QString::fromUtf8(html)});
    };
    add(help::StateZipCheck, "Checking states and zip codes", "state,zip,postal code,CSZ,check",
        "<p><b>Utilities &gt; Check &amp; Repair State and Zip Codes</b> compares the state and zip of every "
        "record that is not deleted with the state table (<tt>sysdata/CSZ.DBF</tt>), which lists the zip or "
        "postal code ranges of each state and province. A record is listed when its state is not in the table "
        "(the abbreviation must be written in capitals) or its zip lies in none of its state's ranges.</p>"
        "<p>Tick the box to include records with an empty state or zip. Correct the listed records in the grid, "
        "tag them to print or export them later, or edit the state table itself.</p>");
    add(help::DuplicateCheck, "Finding duplicate records", "duplicate,double,similar,check",
        "<p><b>Utilities &gt; Check &amp; Repair Duplicates</b> lists records that look like copies of each "
        "other: the same last and first name, the same last name and first initial, the same beginning of the "
        "street address, or <b>similar name and address</b>, which also finds spellings such as "
        "<i>Jon Smith, 12 Main Street</i> and <i>John Smith, 12 Main St</i> and shows how close each pair is "
        "(1.00 = the same).</p><p>Delete, correct or tag the records in the grid.</p>");
    add(help::ConvertCase, "Converting letter case", "case,upper,lower,capital,convert",
        "<p><b>Utilities &gt; Convert Case</b> rewrites the ticked fields in capitals, small letters, or with "
        "the first letter of each word capitalised, for the current record, all records, or the records "
        "matching the filter. It cannot be undone.</p>");
    add(help::DeleteRecords, "Deleting many records", "delete,records,remove,zap",
        "<p><b>Utilities &gt; Delete Records</b> deletes every record, the records matching the filter, or those "
        "that do not. Rebuild the indexes afterwards to reclaim the space.</p>");
    add(help::SearchReplace, "Search and replace", "search,replace,find,change",
        "<p><b>Utilities &gt; Search &amp; Replace Field Values</b> finds records by one field - exactly equal "
        "(the field begins with the text) or containing it - and replaces the whole field or only the matching "
        "text. A value that would not fit the field is never cut: you are told which records it concerns.</p>");
}

} // namespace postavo
