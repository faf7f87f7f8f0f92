#pragma once
// The edit field of the record form: Enter moves on, typing overwrites while Insert is off (see
// typingmode.h), a double-click asks to start editing.

#include <QLineEdit>

namespace postavo {

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
