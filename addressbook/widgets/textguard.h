#pragma once
// Address files hold Windows-1252 text. Characters it cannot hold are stopped where they are
// typed or pasted, and the user is told which ones, rather than stored as '?' behind the
// user's back.

#include <QPlainTextEdit>
#include <QStringList>
#include <QValidator>

#include <functional>

class QLineEdit;

namespace postavo {

// Refuses any text holding a character Windows-1252 cannot hold (typing, pasting, dropping:
// the box keeps its text) and tells `onRefused` which characters they were.
class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    explicit Cp1252Validator(std::function<void(const QStringList&)> onRefused, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

private:
    std::function<void(const QStringList&)> onRefused_;
};

// Installs the validator on a box.
void guardCp1252(QLineEdit* box, std::function<void(const QStringList&)> onRefused);

// The short note shown when characters were stopped.
QString refusedCharactersNote(const QStringList& characters);

// The memo editor: the same refusal for typed, pasted, dropped and composed text.
class TMemoEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TMemoEdit(QWidget* parent = nullptr);

signals:
    void refused(const QStringList& characters);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool refuses(const QString& text);
};

} // namespace postavo
