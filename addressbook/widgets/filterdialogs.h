#pragma once
// "Address Filter" and "Tagging".

#include "filters.h"

#include <QDialog>
#include <QMap>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace postavo {

class AddressBookController;

class TAddressFilter : public QDialog {
    Q_OBJECT
public:
    // `captions`: field name -> the main window's label for it.
    TAddressFilter(AddressBookController& c, const QMap<QString, QString>& captions, QWidget* parent = nullptr);
    QueryValues boxes() const;
    void setBoxes(const QueryValues& q);
    QString matchLine() const;
    QLineEdit* box(const QString& field) const;

    void test();
    void clear();
    void accept() override;  // Test, then close
    void reject() override;  // the remembered values come back

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    AddressBookController& c_;
    QueryValues remembered_;
    QVector<QLineEdit*> boxes_;  // in query order
    QCheckBox* tagged_ = nullptr;
    QCheckBox* reverse_ = nullptr;
    QLabel* matches_ = nullptr;
    QLabel* dateFormat_ = nullptr;
};

class TTagging : public QDialog {
    Q_OBJECT
public:
    explicit TTagging(AddressBookController& c, QWidget* parent = nullptr);
    // Runs the pass; returns when it has ended (the window then offers "Ok").
    void run();
    bool finished() const { return finished_; }
    // Stops the pass after the current record, as Cancel does when the user says Yes.
    void stop() { stop_ = true; }
    // Esc or closing the window while the pass runs asks as Cancel does.
    void reject() override;

private:
    void cancelClicked();
    AddressBookController& c_;
    QLabel* label_ = nullptr;
    QLabel* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool stop_ = false;
    bool finished_ = false;
};

} // namespace postavo
