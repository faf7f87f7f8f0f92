#pragma once
// The Intelligent Mail barcode object's question answered on screen: the dialog "Intelligent
// Mail Barcode".

#include "intelligentmaildialogs.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;

namespace postavo::design {

class TIntelligentMailDialog : public QDialog {
    Q_OBJECT
public:
    explicit TIntelligentMailDialog(const IntelligentMailSettings& settings, QWidget* parent = nullptr);
    IntelligentMailSettings settings() const;
    // The problem shown under the fields; empty when Ok may close the window.
    QString problem() const;

    QLineEdit* barcodeIdentifierEdit() const { return id_; }
    QLineEdit* serviceTypeEdit() const { return service_; }
    QLineEdit* mailerIdentifierEdit() const { return mailer_; }
    QLineEdit* serialNumberEdit() const { return serial_; }

public slots:
    void accept() override;

private:
    void update();

    QLineEdit *id_, *service_, *mailer_, *serial_, *zipField_, *addressField_;
    QComboBox* routing_;
    QLabel* message_;
};

class IntelligentMailDialogWindows : public IntelligentMailDialogs {
public:
    bool editSettings(IntelligentMailSettings* settings) override;
};

} // namespace postavo::design
