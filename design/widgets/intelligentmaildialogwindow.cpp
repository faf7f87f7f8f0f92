#include "intelligentmaildialogwindow.h"

#include "messageboxes.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace postavo::design {

TIntelligentMailDialog::TIntelligentMailDialog(const IntelligentMailSettings& s, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Intelligent Mail Barcode"));
    auto digits = [this](int max, const QString& text, const char* name) {
        auto* e = new QLineEdit(text, this);
        e->setObjectName(QLatin1String(name));
        e->setMaxLength(max);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
        connect(e, &QLineEdit::textChanged, this, &TIntelligentMailDialog::update);
        return e;
    };
    id_ = digits(2, s.fields.barcodeIdentifier, "BarcodeIdentifier");
    service_ = digits(3, s.fields.serviceType, "ServiceType");
    mailer_ = digits(9, s.fields.mailerIdentifier, "MailerIdentifier");
    serial_ = digits(9, s.fields.serialNumber, "SerialNumber");
    routing_ = new QComboBox(this);
    routing_->setObjectName(QStringLiteral("RoutingCode"));
    routing_->addItems({QStringLiteral("None"), QStringLiteral("5-digit zip code"), QStringLiteral("ZIP+4"),
                        QStringLiteral("ZIP+4 and delivery point")});
    routing_->setCurrentIndex(std::clamp(s.routing, 0, 3));
    zipField_ = new QLineEdit(s.zipCodeField, this);
    addressField_ = new QLineEdit(s.addressField, this);
    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("Problem"));
    message_->setStyleSheet(QStringLiteral("color: red"));
    message_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Barcode identifier:"), id_);
    form->addRow(QStringLiteral("&Service type:"), service_);
    form->addRow(QStringLiteral("&Mailer identifier:"), mailer_);
    form->addRow(QStringLiteral("S&erial number:"), serial_);
    form->addRow(QStringLiteral("&Routing code:"), routing_);
    form->addRow(QStringLiteral("&Zip code field:"), zipField_);
    form->addRow(QStringLiteral("&Address field:"), addressField_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TIntelligentMailDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelpTopic(kIntelligentMailHelpTopic); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The tracking code your mailer identifier was issued for; the "
                                                "routing code comes from each record's zip code."),
                                 this));
    layout->addLayout(form);
    layout->addWidget(message_);
    layout->addWidget(buttons);
    update();
}

IntelligentMailSettings TIntelligentMailDialog::settings() const
{
    IntelligentMailSettings s;
    s.fields = {id_->text(), service_->text(), mailer_->text(), serial_->text()};
    s.routing = routing_->currentIndex();
    s.zipCodeField = zipField_->text().trimmed();
    s.addressField = addressField_->text().trimmed();
    return s;
}

QString TIntelligentMailDialog::problem() const { return imb::fieldsProblem(settings().fields); }

void TIntelligentMailDialog::update() { message_->setText(problem()); }

void TIntelligentMailDialog::accept()
{
    if (!problem().isEmpty()) {
        QApplication::beep();
        return;
    }
    QDialog::accept();
}

bool IntelligentMailDialogWindows::editSettings(IntelligentMailSettings* settings)
{
    TIntelligentMailDialog d(*settings, QApplication::activeWindow());
    if (d.exec() != QDialog::Accepted)
        return false;
    *settings = d.settings();
    return true;
}

} // namespace postavo::design
