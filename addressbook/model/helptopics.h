#pragma once
// The help topics: a small user manual, one topic per window or task, found by number (every
// "Help" button), by contents and by keyword. Other windows register their own topics.

#include <QString>
#include <QStringList>
#include <QVector>

namespace postavo {

namespace help {
enum Topic : int {
    Contents = 1,
    HowToUseHelp = 2,
    MainWindow = 10,
    Adding = 11,
    Changing = 12,
    Finding = 13,
    Deleting = 14,
    NewRecord = 15,
    SelectDate = 16,
    Tagging = 17,
    Keys = 18,
    NewDatabase = 20,
    FieldLengths = 21,
    RebuildIndexes = 22,
    RebuildSystemIndexes = 23,
    OpenDatabase = 24,
    Preferences = 30,
    Filter = 40,
    SaveRestoreFilter = 41,
    GettingStarted = 50,
    ImportDbase = 60,
    ImportAscii = 61,
    TechnicalSupport = 70,
    Faq = 71,
};
} // namespace help

struct HelpTopic {
    int id = 0;
    QString title;
    QStringList keywords;
    QString html;  // body; links "topic:N" open topic N
};

// Every topic known, in contents order.
const QVector<HelpTopic>& helpTopics();
const HelpTopic* findHelpTopic(int id);
// Adds or replaces a topic (other windows bring theirs).
void registerHelpTopic(const HelpTopic& topic);
// Topics whose title or keywords contain `word` (any letter case).
QVector<const HelpTopic*> searchHelp(const QString& word);
// The getting-started page's link texts, to their topics ("NEW", "ADD", ...).
int gettingStartedLinkTopic(const QString& linkText);

} // namespace postavo
