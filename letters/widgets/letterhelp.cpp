#include "letterhelp.h"

#include "helptopics.h"

namespace postavo::letters {

void registerLetterHelp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    registerHelpTopic({help::PrintLetters, QStringLiteral("Printing letters"),
                       {QStringLiteral("letter"), QStringLiteral("print"), QStringLiteral("form letter")},
                       QStringLiteral("<p>Pick a letter in the list, choose which records get a letter and how many "
                                      "copies of each, and press <b>Print</b> or <b>Preview</b>. <b>New</b>, "
                                      "<b>Modify</b>, <b>Clone</b> and <b>Delete</b> keep the list of letters.</p>")});
    registerHelpTopic({help::LetterDesigner, QStringLiteral("Designing a letter"),
                       {QStringLiteral("letter"), QStringLiteral("merge"), QStringLiteral("field")},
                       QStringLiteral("<p>Write the letter as in a word processor. <b>Insert field</b> puts a merge "
                                      "field such as [Full Name] at the cursor; when the letter prints, each field "
                                      "is replaced by the record's value. Page breaks start new pages; a page never "
                                      "breaks by itself.</p>")});
    registerHelpTopic({help::PreviewLetters, QStringLiteral("Previewing letters"),
                       {QStringLiteral("letter"), QStringLiteral("preview")},
                       QStringLiteral("<p>The letter as it prints for the current record. Click the page to zoom in, "
                                      "right-click to zoom out; the record buttons move to other records.</p>")});
}

} // namespace postavo::letters
