#pragma once
// The import windows: the text import (TAsciiImport), the table import (TDBFImport) and the
// import of older versions' address tables (TImportOlder). Each works on the address file open
// alone, runs the import with progress and "Cancel", shows the closing message and closes.

#include "asciiimport.h"
#include "dbfimport.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace postavo {
class AddressTable;
}

namespace postavo::transfer {

class ProgressPanel;

// What every import window has: the file line, its buttons, the progress panel, "Cancel".
class ImportWindowBase : public QDialog {
    Q_OBJECT
public:
    bool importing() const { return importing_; }
    ProgressPanel* progress() const { return progress_; }
    QString fileText() const;

protected:
    ImportWindowBase(const QString& caption, const QString& fileCaption, int helpTopic, AddressTable& table, QWidget* parent);
    QPushButton* addButton(const QString& text);
    void setFileText(const QString& text);
    // Runs the import, shows its closing message and closes the window.
    void runImport(const std::function<ImportResult(TransferProgress&)>& run, ImportKind kind);
    void reject() override;

    AddressTable& table_;
    QWidget* buttons_;
    QWidget* options_ = nullptr;
    ProgressPanel* progress_;
    QPushButton* cancel_;
    QPushButton* help_;

private:
    QLabel* file_;
    bool importing_ = false;
};

class TAsciiImport : public ImportWindowBase {
    Q_OBJECT
public:
    TAsciiImport(AddressTable& table, QWidget* parent = nullptr);

    // "Select ASCII File" with the file already chosen (the dialog's answer).
    void chooseFile(const QString& path);
    // The match window closed with "Ok" on `grid`.
    void acceptMatch(const FieldMatchGrid& grid);
    void startImport();
    const AsciiScan& scan() const { return plan_.scan; }
    QPushButton* matchButton() const { return match_; }
    QPushButton* importButton() const { return import_; }
    QString statusText() const;
    TextReadOptions readOptions() const;

private:
    void selectFile();
    void openMatch();

    AsciiImportPlan plan_;
    FieldMatchGrid grid_;
    bool matched_ = false;
    bool scanned_ = false;
    QString chosen_;
    QPushButton* match_;
    QPushButton* import_;
    QLabel* status_;
    QCheckBox* quoted_;
    QCheckBox* header_;
    QComboBox* encoding_;
};

class TDBFImport : public ImportWindowBase {
    Q_OBJECT
public:
    TDBFImport(AddressTable& table, QWidget* parent = nullptr);
    ~TDBFImport() override;

    void chooseFile(const QString& path);
    void acceptMatch(const FieldMatchGrid& grid);
    void startImport();
    FieldMatchGrid currentGrid() const;
    QPushButton* matchButton() const { return match_; }
    QPushButton* importButton() const { return import_; }

private:
    void selectFile();
    void openMatch();

    std::unique_ptr<SourceTable> source_;
    FieldMatchGrid grid_;
    bool matched_ = false;
    QString chosen_;
    QPushButton* match_;
    QPushButton* import_;
};

class TImportOlder : public ImportWindowBase {
    Q_OBJECT
public:
    TImportOlder(AddressTable& table, OlderVersion version, QWidget* parent = nullptr);
    ~TImportOlder() override;

    // False (with the message shown) when the table is refused.
    bool chooseFile(const QString& path);
    void startImport();
    QPushButton* importButton() const { return import_; }

private:
    void selectFile();

    OlderVersion version_;
    std::unique_ptr<SourceTable> source_;
    QString chosen_;
    QPushButton* import_;
};

} // namespace postavo::transfer
