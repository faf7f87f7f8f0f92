#pragma once
// The windows of the address store: creating a database and choosing its field lengths,
// rebuilding the indexes of an address file and of the system catalogues, and Preferences.

#include "addressfields.h"
#include "preferences.h"

#include <QDialog>
#include <QMap>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace postavo {

class AddressTable;

// "Create new database"
class TNewDataBaseName : public QDialog {
    Q_OBJECT
public:
    TNewDataBaseName(const QString& proposal, QWidget* parent = nullptr);
    QString name() const;
    const FieldLengths& lengths() const { return lengths_; }
    bool okEnabled() const;
    bool invalidShown() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void validate();
    QLineEdit* name_ = nullptr;
    QLabel* invalid_ = nullptr;
    QPushButton* ok_ = nullptr;
    FieldLengths lengths_;
};

// "Specify Field Lengths"
class TSpecifyFieldLengths : public QDialog {
    Q_OBJECT
public:
    TSpecifyFieldLengths(const FieldLengths& lengths, QWidget* parent = nullptr);
    // The lengths taken on "Ok" (the old ones for a box that does not parse).
    const FieldLengths& lengths() const { return lengths_; }
    QLineEdit* box(const QString& field) const { return boxes_.value(field); }
    // The fields with their box captions, in the window's order.
    static const QVector<QPair<QString, QString>>& captions();
    void accept() override;

private:
    void revertIfInvalid(const QString& field);
    void loadDefaults();

    FieldLengths lengths_;
    FieldLengths reference_;  // what a box reverts to
    QMap<QString, QLineEdit*> boxes_;
    QCheckBox* keep_ = nullptr;
};

// "Rebuild indexes for " + file name
class TPVReindex : public QDialog {
    Q_OBJECT
public:
    TPVReindex(AddressTable& table, QWidget* parent = nullptr);
    bool succeeded() const { return ok_; }
    void reindex();

private:
    AddressTable& table_;
    QProgressBar* bar_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* reindexButton_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
    bool ok_ = false;
};

// "Rebuild System Indexes"
class TSystemReindex : public QDialog {
    Q_OBJECT
public:
    explicit TSystemReindex(QWidget* parent = nullptr);
    void reindex();

private:
    QProgressBar* bar_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* reindexButton_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
};

// "Preferences"
class TPreferences : public QDialog {
    Q_OBJECT
public:
    explicit TPreferences(QWidget* parent = nullptr);
    Preferences values() const;
    void accept() override;  // writes sections Adding and Editing

private:
    QCheckBox* plugDate_ = nullptr;
    QCheckBox* plugCityState_ = nullptr;
    QCheckBox* autoDup_ = nullptr;
    QLineEdit* country_ = nullptr;
    QVector<QCheckBox*> carry_;
    QVector<QCheckBox*> skip_;
    QComboBox* level_ = nullptr;
};

} // namespace postavo
