#pragma once
// The find and replace dialog of the editing control: it stays open beside the text while the
// user goes from one occurrence to the next.

#include <QDialog>
#include <QTextDocument>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace postavo::richtext {

class RichTextEdit;

class FindReplaceDialog : public QDialog {
    Q_OBJECT
public:
    // With `replace` the replace field and buttons are shown.
    FindReplaceDialog(RichTextEdit* edit, bool replace, QWidget* parent = nullptr);

    QLineEdit* findField() const { return find_; }
    QLineEdit* replaceField() const { return replace_; }
    QLabel* messageLabel() const { return message_; }
    QTextDocument::FindFlags flags() const;

public slots:
    bool findNext();
    bool replaceOne();
    int replaceAll();

private:
    RichTextEdit* edit_;
    QLineEdit* find_;
    QLineEdit* replace_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QLabel* message_;
};

} // namespace postavo::richtext
