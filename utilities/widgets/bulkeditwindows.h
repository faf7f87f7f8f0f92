#pragma once
// The bulk edit windows: "Convert Case", "Delete Records", "Search and Replace". Each works on
// the main window's table under the filter its launcher applied, shows its progress, can be
// cancelled, and says what it changed.

#include "bulkedits.h"
#include "maintenancekit.h"

#include <QDialog>

#include <map>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace postavo {

class AddressTable;

class TConvertCaseWindow : public QDialog {
    Q_OBJECT
public:
    enum class Scope { CurrentRecord, AllRecords, MatchingFilter };
    // `filterText`: the user's filter expression, empty when none is set.
    TConvertCaseWindow(AddressTable& table, MaintenanceUi& ui, const QString& filterText, QWidget* parent = nullptr);

    void setScope(Scope s);
    void setConversion(CaseConversion c);
    QCheckBox* fieldBox(const QString& field) const { return boxes_.at(field); }
    QCheckBox* allBox() const { return all_; }
    QRadioButton* scopeButton(Scope s) const { return scopes_[int(s)]; }
    void convert();  // "Convert"
    const BulkOutcome& outcome() const { return outcome_; }
    void reject() override;  // "Cancel": closes when idle, asks while converting

private:
    AddressTable& table_;
    MaintenanceUi& ui_;
    QString filter_;
    std::map<QString, QCheckBox*> boxes_;
    QCheckBox* all_ = nullptr;
    QRadioButton* scopes_[3] = {};
    QRadioButton* conversions_[3] = {};
    QWidget* options_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* convert_ = nullptr;
    PassDisplay progress_;
    BulkOutcome outcome_;
    bool running_ = false;
};

class TDeleteRecordsWindow : public QDialog {
    Q_OBJECT
public:
    TDeleteRecordsWindow(AddressTable& table, MaintenanceUi& ui, const QString& filterText, QWidget* parent = nullptr);
    QRadioButton* choiceButton(DeleteChoice c) const { return choices_[int(c)]; }
    void setChoice(DeleteChoice c);
    void deleteNow();  // "Delete Now"
    const BulkOutcome& outcome() const { return outcome_; }
    void reject() override;

private:
    AddressTable& table_;
    MaintenanceUi& ui_;
    QString filter_;
    QRadioButton* choices_[3] = {};
    QWidget* options_ = nullptr;
    QWidget* progressPanel_ = nullptr;
    QProgressBar* bar_ = nullptr;
    PassDisplay progress_;
    BulkOutcome outcome_;
    bool running_ = false;
};

class TSearchReplaceWindow : public QDialog {
    Q_OBJECT
public:
    TSearchReplaceWindow(AddressTable& table, MaintenanceUi& ui, const QString& filterText, QWidget* parent = nullptr);
    // The request as the window's controls make it.
    ReplaceRequest request() const;
    void setRequest(const ReplaceRequest& r);
    QComboBox* fieldList() const { return field_; }
    QLineEdit* findBox() const { return find_; }
    QLineEdit* withBox() const { return with_; }
    QRadioButton* filterScope() const { return useFilter_; }
    void replace();  // "Replace "
    const BulkOutcome& outcome() const { return outcome_; }
    void reject() override;

private:
    void fieldChosen();

    AddressTable& table_;
    MaintenanceUi& ui_;
    QString filter_;
    QComboBox* field_ = nullptr;
    QRadioButton* exact_ = nullptr;
    QRadioButton* contains_ = nullptr;
    QLineEdit* find_ = nullptr;
    QCheckBox* caseSensitive_ = nullptr;
    QRadioButton* whole_ = nullptr;
    QRadioButton* matching_ = nullptr;
    QLineEdit* with_ = nullptr;
    QRadioButton* allRecords_ = nullptr;
    QRadioButton* useFilter_ = nullptr;
    QWidget* options_ = nullptr;
    QWidget* progressPanel_ = nullptr;
    QProgressBar* bar_ = nullptr;
    PassDisplay progress_;
    BulkOutcome outcome_;
    bool running_ = false;
};

} // namespace postavo
