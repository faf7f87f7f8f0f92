#pragma once
// Spell checking on Hunspell, against a main dictionary and the user's own word list.
//
// The program folder's dictionary file postav.dct says which Hunspell dictionary is the main
// one: its first line that is not empty and not a comment (#) is a dictionary name such as
// en_US, looked up as NAME.aff and NAME.dic in the program folder and then in the system's
// Hunspell folders, or the path of a .dic file (relative to the program folder) with its .aff
// beside it. An empty file means en_US. The spell checker is offered only when postav.dct
// exists and the dictionary it names loads.
//
// The user's words are kept in userwords.dct in the program folder, one word a line in UTF-8;
// "Add Word" appends to it (the file is made when the first word is added).

#include <QString>
#include <QStringList>
#include <memory>

class QTextDocument;
class Hunspell;

namespace postavo::richtext {

class SpellChecker {
public:
    static constexpr const char* kDictionaryFile = "postav.dct";
    static constexpr const char* kUserWordsFile = "userwords.dct";

    SpellChecker();
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    // Loads a Hunspell dictionary (its .aff and .dic files) and the user's word list (which
    // may not exist yet).
    bool open(const QString& affixPath, const QString& dictionaryPath, const QString& userWordsPath,
              QString* error);
    // The dictionaries a program folder names, as described above. Null with a message when
    // postav.dct is missing or names no dictionary that can be loaded.
    static std::unique_ptr<SpellChecker> forProgramFolder(const QString& folder, QString* error);
    // Whether the spell-check command is offered for a program folder.
    static bool isAvailable(const QString& programFolder);
    // The .aff and .dic paths a postav.dct names; empty when they are not found.
    static bool locateDictionary(const QString& programFolder, QString* affixPath, QString* dictionaryPath,
                                 QString* error);

    bool isOpen() const { return bool(hunspell_); }
    bool isCorrect(const QString& word) const;
    QStringList suggestions(const QString& word, int max = 12) const;
    // Accepts `word` from now on and appends it to the user's word list. False with a message
    // when the list cannot be written (the word is still accepted until the checker closes).
    bool addWord(const QString& word, QString* error);
    QString userWordsPath() const { return userWordsPath_; }

private:
    QByteArray encode(const QString& word, bool* ok) const;
    QString decode(const std::string& word) const;

    std::unique_ptr<Hunspell> hunspell_;
    QString encoding_;
    QString userWordsPath_;
};

// A word the checker does not know, by document position.
struct Misspelling {
    int start = -1;
    int length = 0;
    QString word;
    bool isValid() const { return start >= 0; }
};

// The first unknown word at or after `from`. Words inside brackets ("[Full Name]", merge
// tokens) and words with digits are not checked.
Misspelling findMisspelling(const QTextDocument& document, int from, const SpellChecker& checker);

// Checking a document word by word, as the "Spell Check" dialog does: each step moves on to
// the next unknown word.
class SpellCheckRun {
public:
    SpellCheckRun(QTextDocument* document, SpellChecker* checker);

    // Moves to the next unknown word; false when there is none (the check is complete).
    bool next();
    const Misspelling& current() const { return current_; }
    QStringList suggestions() const;
    // Replaces the current word, keeping its character attributes, and goes on behind it.
    void replace(const QString& text);
    void skip();
    bool addWord(QString* error);

private:
    QTextDocument* document_;
    SpellChecker* checker_;
    int position_ = 0;
    Misspelling current_;
};

} // namespace postavo::richtext
