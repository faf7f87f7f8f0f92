#pragma once
// The Intelligent Mail barcode object: prints the 65-bar IMb of the current record, the tracking
// code from the four fields typed in its dialog and the routing code from the record's zip code
// (and street, for the delivery point). Layouts that hold none never mention the class.

#include "designobject.h"
#include "intelligentmaildialogs.h"

namespace postavo::design {

enum IntelligentMailRouting { imbNoRouting, imbZip5, imbZip9, imbZip11 };

class TGIntelligentMailBarCode : public TGGraphicControl {
    Q_OBJECT
public:
    TGIntelligentMailBarCode();
    QByteArray className() const override { return "TGIntelligentMailBarCode"; }
    const PropertyTable& properties() const override;

    // ---- published ----
    QString BarcodeIdentifier = QStringLiteral("00");
    QString ServiceType, MailerIdentifier, SerialNumber;
    QString ZipCodeField, AddressField;
    int RoutingCode = imbZip11;

    // The values read at the last refreshData.
    QString zipText, addressText;

    imb::Fields fields() const;
    IntelligentMailSettings settings() const;
    void setSettings(const IntelligentMailSettings& s);
    // The bars printed for the current values ("FADT..."); empty when nothing prints.
    QString printedBars() const;
    // The bars shown in the designer: the printed ones, else the standard's example.
    QString screenBars() const;
    // Its dialog; on OK the object takes the settings.
    void editSettings();

    void refreshData() override;
    void printObject(printing::TPrintCanvas& report, double x, double y) override;
    void paint(QPainter& painter) override;

protected:
    void buildMenu(MenuEntries& menu) override;
};

} // namespace postavo::design
