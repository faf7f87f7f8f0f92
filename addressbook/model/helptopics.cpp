#include "helptopics.h"

namespace postavo {

namespace {

QVector<HelpTopic> builtInTopics()
{
    using namespace help;
    auto t = [](int id, const char* title, const char* keywords, const char* html) {
        return HelpTopic{id, QString::fromUtf8(title), QString::fromUtf8(keywords).split(QLatin1Char(','), Qt::SkipEmptyParts),
                         QString::fromUtf8(html)};
    };
    return {
        t(Contents, "Contents", "contents,index",
          "<p>Postavo keeps your mailing lists as address files. Choose a topic:</p><ul>"
          "<li><a href='topic:50'>Getting started</a></li>"
          "<li><a href='topic:10'>The address book window</a></li>"
          "<li><a href='topic:18'>Keys of the address book</a></li>"
          "<li><a href='topic:11'>Adding records</a> and the <a href='topic:15'>New Record window</a></li>"
          "<li><a href='topic:12'>Changing records</a>, <a href='topic:16'>dates</a></li>"
          "<li><a href='topic:14'>Deleting and cloning records</a></li>"
          "<li><a href='topic:13'>Finding records</a> and <a href='topic:40'>filters</a></li>"
          "<li><a href='topic:41'>Saving and restoring filters</a></li>"
          "<li><a href='topic:17'>Tagging records</a></li>"
          "<li><a href='topic:20'>Creating a new address file</a>, <a href='topic:21'>field lengths</a></li>"
          "<li><a href='topic:24'>Opening an address file</a></li>"
          "<li><a href='topic:22'>Rebuilding indexes</a>, <a href='topic:23'>system indexes</a></li>"
          "<li><a href='topic:30'>Preferences</a></li>"
          "<li><a href='topic:71'>Frequently asked questions</a>, <a href='topic:70'>technical support</a></li></ul>"),
        t(HowToUseHelp, "How to use help", "help,search,keyword",
          "<p>The list on the left holds every topic. Type a word in <b>Search</b> to see only the topics "
          "about it; press Enter to open the first one. Underlined words jump to another topic; "
          "<b>Back</b> returns.</p><p>Every window has a <b>Help</b> button that opens its own topic. "
          "To learn what one control does, press the <b>?</b> button of the tool bar (or Shift+F1) and "
          "click the control.</p>"),
        t(GettingStarted, "Getting started", "start,begin,first steps",
          "<p>Postavo opens the address file you used last. The first time, it creates "
          "<tt>DATA/add0001.DBF</tt> for you, so you can start typing addresses at once:</p><ol>"
          "<li>Press <b>Add</b> and type the name and address. Enter moves to the next field.</li>"
          "<li>Press <b>Save</b> (or Ctrl+Enter). Alt+Enter saves and offers to add another.</li>"
          "<li>Move through the records with PgUp and PgDn, or the arrow buttons.</li>"
          "<li>Choose the order in the <b>Sort</b> menu, and narrow the list with <b>Filter</b> (Ctrl+F).</li></ol>"
          "<p>Keep separate mailing lists in separate files: <a href='topic:20'>File, New Address Database</a>.</p>"),
        t(MainWindow, "The address book window", "main window,record,form,status line,tabs",
          "<p>The window shows one record at a time. The name fields are at the top; the address, telephone, "
          "e-mail, codes, comments, date and tag are on the <b>Address Information</b> tab, and free notes on "
          "the <b>Memo</b> tab.</p><p>The buttons at the bottom move to the first, previous, next and last "
          "record, and <b>Add</b>, <b>Edit</b>, <b>Delete</b> and <b>Exit</b>. While a record is being "
          "edited only <b>Save</b> and <b>Cancel</b> are offered.</p><p>The status line shows the sort "
          "order on the left and, on the right, how many records the filter shows.</p>"
          "<p>See also <a href='topic:18'>keys</a>.</p>"),
        t(Keys, "Keys of the address book", "keys,keyboard,shortcuts,pgdn,pgup,enter,insert,overwrite",
          "<table cellpadding='3'><tr><th align='left'>Key</th><th align='left'>Browsing</th><th align='left'>Editing</th></tr>"
          "<tr><td>PgDn</td><td>next record</td><td>asks to save</td></tr>"
          "<tr><td>Ctrl+PgDn</td><td>last record</td><td>asks to save</td></tr>"
          "<tr><td>PgUp / Ctrl+PgUp</td><td>previous / first record</td><td>-</td></tr>"
          "<tr><td>Ctrl+Enter</td><td>-</td><td>save</td></tr>"
          "<tr><td>Alt+Enter</td><td>-</td><td>save and offer to add another</td></tr>"
          "<tr><td>Esc</td><td>-</td><td>asks to cancel the changes</td></tr>"
          "<tr><td>Ctrl+Up/Left/Right/Down</td><td>first/previous/next/last</td><td>-</td></tr>"
          "<tr><td>Ctrl+F</td><td colspan='2'>set a filter</td></tr></table>"
          "<p>Enter moves to the next field. Typing replaces the character at the cursor until you press "
          "Insert; Insert switches between overwriting and inserting (the status line shows OVR or INS). A beep tells you there is no record "
          "further in that direction.</p>"),
        t(Adding, "Adding records", "add,new record,carry,skip,default country",
          "<p>Press <b>Add</b>. If the <a href='topic:30'>preferences</a> ask for it, the "
          "<a href='topic:15'>New Record window</a> first takes the name and the zip code. The new record "
          "can start with fields carried forward from the record that was on screen, the default country "
          "and today's date; fields you chose to skip are passed over by Tab and Enter.</p>"
          "<p>Type the values, then <b>Save</b> (Ctrl+Enter). Alt+Enter saves and asks whether to add another.</p>"
          "<p><b>Record, Create a Duplicate Record (Clone)</b> adds an exact copy of the record on screen "
          "(it is not tagged).</p>"),
        t(NewRecord, "The New Record window", "new record,duplicate,zip,city,state",
          "<p>Type the last and first name to have Postavo look for a record with the same name: if one "
          "exists it is shown and you can decide whether to go on adding. Type the zip or postal code to "
          "have the city and state filled in from a record of your file with that code.</p>"
          "<p><b>Ok</b> (or PgDn) goes on; <b>Cancel</b> adds nothing.</p>"),
        t(Changing, "Changing records", "edit,change,save,cancel,memo",
          "<p>Press <b>Edit</b>, or double-click any field, or start typing in the memo. Change the values "
          "and press <b>Save</b> (Ctrl+Enter) to keep them or <b>Cancel</b> (Esc) to drop them. Moving to "
          "another record with PgDn asks whether to save.</p>"
          "<p>The <b>Date</b> button opens a <a href='topic:16'>calendar</a>. Clicking <b>Tagged</b> tags "
          "or untags the record at once.</p>"),
        t(SelectDate, "Select a Date", "date,calendar,today",
          "<p>Pick a day in the calendar; <b>Year-</b>, <b>Month-</b>, <b>Month +</b> and <b>Year+</b> "
          "page through it and <b>Today</b> goes back to today. <b>Ok</b> puts the date into the record, "
          "<b>No Date</b> empties it, <b>Cancel</b> leaves it as it was. Save the record afterwards.</p>"),
        t(Deleting, "Deleting and cloning records", "delete,remove,clone,copy",
          "<p><b>Delete</b> asks for confirmation and removes the record from every view at once. The "
          "space it took is freed the next time you <a href='topic:22'>rebuild the indexes</a>.</p>"
          "<p>To copy a record, use <b>Record, Create a Duplicate Record (Clone)</b>.</p>"),
        t(Finding, "Finding records", "find,search,filter,sort,order",
          "<p>Choose the order of the records in the <b>Sort</b> menu; the status line shows it. To see only "
          "some records, set a <a href='topic:40'>filter</a>: the status line then counts the matches and "
          "<b>Clear Filter</b> shows everything again.</p>"),
        t(Filter, "Address Filter", "filter,query,match,reverse,tagged,$",
          "<p>Type what the records must hold in any of the boxes; all the boxes you fill must match. A box "
          "matches the fields that <i>begin</i> with its text, in any letter case.</p><ul>"
          "<li><tt>$text</tt> finds the text anywhere in the field (<tt>$C</tt> in Codes).</li>"
          "<li><tt>&gt;</tt>, <tt>&gt;=</tt>, <tt>&lt;</tt>, <tt>&lt;=</tt> compare: <tt>&gt;=M</tt> in Last.</li>"
          "<li><tt>NY;NJ</tt> matches either, <tt>A+B</tt> both, <tt>A^B</tt> A but not B.</li>"
          "<li>Dates are typed as YYYYMMDD: <tt>1997</tt> finds every date of 1997.</li></ul>"
          "<p><b>Tagged</b> keeps only tagged records; <b>Reverse</b> shows the records that do <i>not</i> "
          "match. <b>Test</b> applies the filter and counts; <b>Clear</b> empties every box; <b>Ok</b> "
          "keeps the filter, <b>Cancel</b> returns to the filter you had. A filter that matches nothing is "
          "dropped.</p>"),
        t(SaveRestoreFilter, "Saving and restoring filters", "save filter,restore filter,flt",
          "<p><b>File, Save Filter</b> writes the current filter to a .FLT file; <b>File, Restore Filter</b> "
          "reads one back and applies it to the open address file.</p>"),
        t(Tagging, "Tagging records", "tag,tagged,clear tags,tag all",
          "<p>Tags mark records for later use: click <b>Tagged</b> on a record, or use "
          "<b>File, Tag All Filter Matches</b> to tag every record of the filter. Set <b>Tagged</b> in the "
          "<a href='topic:40'>filter</a> to work with the tagged records.</p><p><b>File, Clear Tags</b> "
          "untags every record at once.</p>"),
        t(NewDatabase, "Creating a new address file", "new,create,database,file",
          "<p><b>File, New Address Database</b> proposes the next free name (ADD0001, ADD0002...). A name "
          "starts with a letter or underscore, followed by letters, digits or underscores, at most 8 "
          "characters. The file is created in the DATA folder and opened. <b>Specify Field Lengths</b> "
          "sets how wide the fields of the new file are.</p>"),
        t(FieldLengths, "Specify Field Lengths", "field lengths,width,size",
          "<p>Each box is the number of characters a field of the new file holds, from 10 to 80. A value "
          "outside that range goes back to what the box held. <b>Defaults</b> loads the usual widths. Tick "
          "<b>Use these settings for all new databases</b> to keep them for later files too.</p>"),
        t(OpenDatabase, "Opening an address file", "open,file,recent",
          "<p><b>File, Open Address DataBase</b> opens any address file (.DBF). The last four files opened "
          "are listed at the end of the File menu.</p>"),
        t(RebuildIndexes, "Rebuilding indexes", "rebuild,reindex,index,pack,damaged",
          "<p><b>File, Rebuild Indexes for this file</b> removes deleted records for good and builds the "
          "sort orders again. Use it when the orders look wrong or after many deletions. Press "
          "<b>Reindex</b> to start.</p>"),
        t(RebuildSystemIndexes, "Rebuilding system indexes", "system,catalogues,letters,labels,reindex",
          "<p><b>File, Rebuild System File indexes</b> rebuilds the lists of letters, labels, envelopes, "
          "reports and states that Postavo keeps in its sysdata folder.</p>"),
        t(Preferences, "Preferences", "preferences,options,carry,skip,aggressive saving,country,date",
          "<p><b>When adding new records</b>: enter today's date, fill city and state from the zip code, "
          "check for duplicate names, the default country; the fields carried forward from the record "
          "on screen and the fields Tab and Enter skip.</p><p><b>Aggressive Saving Level</b>: how often "
          "Postavo makes sure your changes are on the disk: never until you close the file, every 5 saves, "
          "or every save.</p>"),
        t(ImportDbase, "Importing from dBASE files", "import,dbase,dbf",
          "<p>The <b>File, Import</b> commands bring records from other tables into the open address file.</p>"),
        t(ImportAscii, "Importing from text files", "import,ascii,text,csv",
          "<p><b>File, Import, Import from ASCII File</b> reads comma-delimited text into the open address file.</p>"),
        t(Faq, "Frequently asked questions", "faq,questions",
          "<p><b>Where are my addresses?</b> In the DATA folder of the program folder, one .DBF file per list.</p>"
          "<p><b>A record I deleted is still counted.</b> It is not: deleted records never show. Rebuild the "
          "indexes to free their space.</p><p><b>The sort order looks wrong.</b> Rebuild the indexes.</p>"),
        t(TechnicalSupport, "Technical support", "support,help,contact",
          "<p>Describe what you did, what you expected and what happened, and include the file name shown "
          "in the caption of the window.</p>"),
    };
}

QVector<HelpTopic>& topics()
{
    static QVector<HelpTopic> all = builtInTopics();
    return all;
}

} // namespace

const QVector<HelpTopic>& helpTopics() { return topics(); }

const HelpTopic* findHelpTopic(int id)
{
    for (const HelpTopic& t : topics())
        if (t.id == id)
            return &t;
    return nullptr;
}

void registerHelpTopic(const HelpTopic& topic)
{
    for (HelpTopic& t : topics())
        if (t.id == topic.id) {
            t = topic;
            return;
        }
    topics().append(topic);
}

QVector<const HelpTopic*> searchHelp(const QString& word)
{
    QVector<const HelpTopic*> out;
    const QString w = word.trimmed();
    for (const HelpTopic& t : topics()) {
        bool hit = w.isEmpty() || t.title.contains(w, Qt::CaseInsensitive);
        for (const QString& k : t.keywords)
            hit = hit || k.contains(w, Qt::CaseInsensitive);
        if (hit)
            out << &t;
    }
    return out;
}

int gettingStartedLinkTopic(const QString& linkText)
{
    const QString k = linkText.trimmed().toUpper();
    if (k == QLatin1String("NEW")) return help::NewDatabase;
    if (k == QLatin1String("DBASE")) return help::ImportDbase;
    if (k == QLatin1String("ASCII")) return help::ImportAscii;
    if (k == QLatin1String("ADD")) return help::Adding;
    if (k == QLatin1String("CHANGE")) return help::Changing;
    if (k == QLatin1String("FIND")) return help::Finding;
    if (k == QLatin1String("DELETE")) return help::Deleting;
    if (k == QLatin1String("TECHNICAL SUPPORT")) return help::TechnicalSupport;
    if (k == QLatin1String("FREQUENTLY ASKED QUESTIONS")) return help::Faq;
    return 0;
}

} // namespace postavo
