#pragma once
// The edit field of the record form: Enter moves on, typing overwrites while Insert is off,
// a double-click asks to start editing.

#include <QLineEdit>

namespace postavo {

// The Insert key's toggle, shared by every record field (as the keyboard's own is). Off, the
// starting state, means typing overwrites.
bool insertToggle();
void setInsertToggle(bool on);

// Whether a key press should first select the character at the cursor so that typing
// overwrites it: a key that types text, with no Ctrl or Alt, that is not one of the keys
// the field uses for moving and editing.
bool typingOverwrites(bool insertOn, int qtKey, const QString& text, Qt::KeyboardModifiers mods);

class TRecordEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TRecordEdit(const QString& fieldName, QWidget* parent = nullptr);
    QString fieldName() const { return field_; }
    void setForceUpper(bool on) { upper_ = on; }

signals:
    void doubleClicked();
    void enterPressed();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    QString field_;
    bool upper_ = false;
};

} // namespace postavo
