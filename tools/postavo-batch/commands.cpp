#include "commands.h"

namespace postavo::batch {

const std::vector<Command>& commands()
{
    static const std::vector<Command> list = {
        {"test-page", "--printer NAME | --pdf FILE [--paper CODE] [--landscape]",
         "print the printer test page, or write it to a PDF file", &runTestPage},
        {"layout", "check FILE | dump FILE | resave IN OUT | render FILE --data ADDRESSFILE [--record N] [--label-size WxH] --pdf OUT",
         "check a layout or report file, list its objects, write it back in the program's form, or print it filled with one record", &runLayout},
        {"label-sheet", "--folder PROGRAMFOLDER --layout DESCRIPTION --pdf OUT",
         "draw the outline and position number of every label of a label layout's sheet on its paper", &runLabelSheet},
        {"envelopes", "--folder PROGRAMFOLDER --layout DESCRIPTION --data ADDRESSFILE [--filter EXPR | --record N] [--feed METHOD] [--paper CODE] (--pdf OUT | --printer NAME)",
         "print one envelope per record with an envelope layout of the program folder, placed as the paper feed method says", &runEnvelopes},
        {"rtf", "IN.rtf (--pdf OUT.pdf | --rtf OUT.rtf | --text OUT.txt)",
         "draw a letter's pages to PDF, write it back as RTF, or write its plain text", &runRtf},
        {"report", "--folder PROGRAMFOLDER (--builtin 1|2|3|4 [--title T] [--memo] [--codes] | --layout DESCRIPTION) --data ADDRESSFILE [--filter EXPR | --record N] (--pdf OUT | --printer NAME)",
         "print a built-in list report or a banded report of the program folder's catalogue", &runReport},
        {"record", "--data ADDRESSFILE --record N [--fields LIST] --pdf OUT",
         "print one record as a list of its fields (LIST: field names such as LNAME,FNAME,MEMO)", &runRecord},
        {"zip-count", "--data ADDRESSFILE [--filter EXPR] --pdf OUT",
         "count the records per zip code and print the counts in four columns", &runZipCount},
        {"labels",
         "--folder PROGRAMFOLDER --layout DESCRIPTION --data ADDRESSFILE [--filter EXPR | --record N] [--from-record N] "
         "[--presort] [--positions LIST] [--copies N] (--pdf OUT | --printer NAME)",
         "print a label layout for the records of an address file; --positions numbers the labels of a sheet from 1, "
         "row by row (1,4,8-30), and applies to every sheet", &runLabels},
        {"presort", "--data ADDRESSFILE [--filter EXPR] --out PRESORT.PSL",
         "count the records by zip code and write the bulk-mail presort file", &runPresort},
        {"letters", "--folder PROGRAMFOLDER --letter DESCRIPTION --data ADDRESSFILE [--filter EXPR | --record N] [--copies N] (--pdf OUT | --printer NAME)",
         "print a letter of the program folder merged with each record, to a PDF file or a printer", &runLetters},
        {"merge", "--folder PROGRAMFOLDER --letter DESCRIPTION --data ADDRESSFILE --record N --rtf OUT",
         "write the letter merged with one record as an RTF file", &runMerge},
    };
    return list;
}

QString Args::take(const QString& name, bool* missing)
{
    const int at = args_.indexOf(name);
    if (at < 0)
        return {};
    if (at + 1 >= args_.size()) {
        if (missing)
            *missing = true;
        args_.removeAt(at);
        return {};
    }
    const QString value = args_.at(at + 1);
    args_.remove(at, 2);
    return value;
}

bool Args::takeFlag(const QString& name)
{
    return args_.removeAll(name) > 0;
}

} // namespace postavo::batch
