#pragma once
// The rich-text editor as one widget: tool bar, ruler, editing control and status bar, with
// the commands a window's menus call (find, replace, paragraph, page and font dialogs, RTF
// files, spell check). A window adds its own fields, menus and buttons around it.

#include <QStatusBar>
#include <QWidget>

class QLabel;

namespace postavo::richtext {

class FindReplaceDialog;
class RichDocument;
class RichTextEdit;
class RichTextRuler;
class RichTextToolBar;
class SpellChecker;

// Line and column within the page, and the page, of the editing control's cursor.
class RichTextStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit RichTextStatusBar(RichTextEdit* edit, QWidget* parent = nullptr);
    QString lineText() const;
    QString columnText() const;
    QString pageText() const;

private:
    QLabel* line_;
    QLabel* column_;
    QLabel* page_;
};

class RichTextEditor : public QWidget {
    Q_OBJECT
public:
    // Edits `document` (not owned); without one it makes its own.
    explicit RichTextEditor(RichDocument* document = nullptr, QWidget* parent = nullptr);

    RichTextEdit* edit() const { return edit_; }
    RichTextToolBar* toolBar() const { return toolBar_; }
    RichTextRuler* ruler() const { return ruler_; }
    RichTextStatusBar* statusBar() const { return statusBar_; }

public slots:
    // The find and the replace dialog (one at a time, beside the text).
    void showFind();
    void showReplace();
    // "Paragraph Properties" for the paragraphs at the cursor; true when applied.
    bool editParagraph();
    // "Page Properties"; true when a new layout was applied.
    bool editPage();
    // The font dialog for the selection or the typing attributes.
    bool chooseFont();
    // RTF files: asks for the file name; errors and skipped content are told in message boxes.
    bool saveAsRtf();
    bool loadRtf();
    bool insertRtfFile();
    // "Spell Check" on the whole document; the number of words changed.
    int spellCheck(SpellChecker* checker);

private:
    void showFindReplace(bool replace);

    RichTextEdit* edit_;
    RichTextToolBar* toolBar_;
    RichTextRuler* ruler_;
    RichTextStatusBar* statusBar_;
    FindReplaceDialog* findDialog_ = nullptr;
};

} // namespace postavo::richtext
