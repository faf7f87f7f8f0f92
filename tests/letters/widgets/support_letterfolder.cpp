// A program folder for the letter window tests: an address file of three people and a letter
// catalogue, with the program folder pointing at it.
#include "support_letterfolder.h"

#include "addressdata.h"
#include "lettercatalogue.h"
#include "programfolder.h"
#include "richdocument.h"
#include "testsupport.h"

#include <QDir>
#include <QTextCursor>
#include <QTextDocument>

namespace postavo::testing {

LetterFolder makeLetterFolder(const QString& name)
{
    LetterFolder f;
    f.folder = scratchDir(name);
    QDir(f.folder).mkpath("sysdata");
    QDir(f.folder).mkpath("DATA");
    f.data = f.folder + "/DATA/add0001.dbf";
    makeAddressRecords(f.data, {
        {{"FNAME", "Ada"}, {"LNAME", "Lovelace"}, {"CITY", "London"}},
        {{"FNAME", "Bob"}, {"LNAME", "Baker"}, {"CITY", "Denver"}, {"STATE", "CO"}},
        {{"FNAME", "Carol"}, {"LNAME", "Cooper"}, {"CITY", "Boston"}, {"STATE", "MA"}},
    });
    ProgramFolder::setPath(f.folder);
    return f;
}

quint32 addLetter(const QString& description, const QStringList& pages)
{
    letters::LetterCatalogue cat;
    if (!cat.open(nullptr))
        return 0;
    richtext::RichDocument doc;
    QTextCursor c(doc.document());
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            richtext::insertPageBreak(c);
        c.insertText(pages[i]);
    }
    letters::LetterEntry e{0, description};
    cat.saveLetter(&e, doc);
    return e.recno;
}

} // namespace postavo::testing
