#pragma once
// TGDataPanel: a design surface bound to the current address record; the label, envelope and
// report designers derive from it.

#include "designsurface.h"

namespace postavo::design {

class TGDataPanel : public TGBasePanel {
    Q_OBJECT
public:
    explicit TGDataPanel(QWidget* parent = nullptr, QObject* owner = nullptr);

    bool DisplayDataValues() const { return display_; }
    void setDisplayDataValues(bool on);
    bool displayDataValues() const override { return display_; }

    // Set by the owning window. Objects read the dataset's current record; the catalogue is
    // the window's.
    void setDataset(AddressTable* table) { dataset_ = table; }
    AddressTable* dataset() const override { return dataset_; }
    void setCatalogue(QObject* table, const QString& fieldName)
    {
        catalogue_ = table;
        catalogueField_ = fieldName;
    }
    QObject* catalogue() const { return catalogue_; }
    QString catalogueField() const { return catalogueField_; }

    void RefreshObjects() override;

private:
    bool display_ = true;
    AddressTable* dataset_ = nullptr;
    QObject* catalogue_ = nullptr;
    QString catalogueField_;
};

} // namespace postavo::design
