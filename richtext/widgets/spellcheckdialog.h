#pragma once
// "Spell Check": goes through the document word by word, showing each unknown word with the
// dictionary's suggestions, to replace it, skip it or add it to the user's words.

#include "spellchecker.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace postavo::richtext {

class RichTextEdit;

class SpellCheckDialog : public QDialog {
    Q_OBJECT
public:
    SpellCheckDialog(RichTextEdit* edit, SpellChecker* checker, QWidget* parent = nullptr);

    // Checks the whole document; says so when it is done. Returns the number of words changed.
    static int check(RichTextEdit* edit, SpellChecker* checker, QWidget* parent = nullptr);

    // Moves to the first unknown word; false when there is none.
    bool start();

    QLineEdit* wordField() const { return word_; }
    QLineEdit* replaceField() const { return replaceWith_; }
    QListWidget* suggestionList() const { return suggestions_; }
    QPushButton* replaceButton() const { return replaceButton_; }
    QPushButton* skipButton() const { return skipButton_; }
    QPushButton* addButton() const { return addButton_; }
    int replacements() const { return replacements_; }

private slots:
    void replaceWord();
    void skipWord();
    void addWord();

private:
    void advance();
    void showCurrent();

    RichTextEdit* edit_;
    SpellCheckRun run_;
    QLineEdit* word_;
    QLineEdit* replaceWith_;
    QListWidget* suggestions_;
    QPushButton* replaceButton_;
    QPushButton* skipButton_;
    QPushButton* addButton_;
    int replacements_ = 0;
};

} // namespace postavo::richtext
