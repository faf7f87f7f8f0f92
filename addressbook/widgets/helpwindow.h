#pragma once
// The one help window: contents on the left, keyword search, the topic on the right.

#include <QDialog>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace postavo {

class THelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);
    void showTopic(int id);
    void showSearch();
    int currentTopic() const { return current_; }

private:
    void fillList(const QString& word);

    QLineEdit* search_ = nullptr;
    QListWidget* list_ = nullptr;
    QTextBrowser* page_ = nullptr;
    int current_ = 0;
};

// Opens (or brings forward) the help window at a topic; usable from a modal dialog too.
void openHelp(int topic, bool focusSearch = false);
// Routes every "Help" button (printing's showHelpTopic) to the help window.
void installHelpWindow();

} // namespace postavo
