#include "dialerwindows.h"

#include "dialogkit.h"
#include "helptopics.h"
#include "messageboxes.h"
#include "settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace postavo {

namespace {

void registerDialerHelp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    registerHelpTopic({TPVDialer::kHelpTopic, QStringLiteral("Dialing a phone number"),
                       {QStringLiteral("dial"), QStringLiteral("phone"), QStringLiteral("modem"), QStringLiteral("tel")},
                       QStringLiteral(
                           "<p>\"Dial Phone 1\" and \"Dial Phone 2\" dial the current record's number. With "
                           "\"Use TAPI to dial\" the number goes to the desktop's telephone program (the one "
                           "that opens tel: links). Otherwise the modem on the chosen port dials it: COM 1 to "
                           "COM 4 are the first four serial devices found, or type the device, for example "
                           "/dev/ttyUSB0. Pick up the phone when asked; the modem then hangs up and the call "
                           "stays on the handset.</p>")});
}

} // namespace

TPVDialer::TPVDialer(const QString& number, QWidget* parent) : QDialog(parent)
{
    registerDialerHelp();
    setObjectName(QStringLiteral("TPVDialer"));
    setWindowTitle(QStringLiteral("Dial Phone Number"));
    enableWhatsThis(this);
    devices_ = serialDevices();
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    number_ = new QLineEdit(number, this);
    explain(number_, QStringLiteral("The number as stored; change it here if needed."));
    prefix_ = new QLineEdit(this);
    explain(prefix_, QStringLiteral("Dialled before the number, for example 9 for an outside line."));
    form->addRow(QStringLiteral("Number to Dial"), number_);
    form->addRow(QStringLiteral("Prefix"), prefix_);
    v->addLayout(form);
    useTapi_ = new QCheckBox(QStringLiteral("Use TAPI to dial"), this);
    explain(useTapi_, QStringLiteral("Hands the number to the desktop's telephone program instead of a modem."));
    v->addWidget(useTapi_);

    modem_ = new QWidget(this);
    auto* mf = new QFormLayout(modem_);
    mf->setContentsMargins(0, 0, 0, 0);
    port_ = new QComboBox(modem_);
    for (int i = 0; i < 4; ++i)
        port_->addItem(portCaption(i));
    device_ = new QLineEdit(modem_);
    explain(device_, QStringLiteral("The serial device of the port; type another, such as /dev/ttyUSB0, to use it."));
    method_ = new QComboBox(modem_);
    method_->addItems({QStringLiteral("Tone"), QStringLiteral("Pulse")});
    init_ = new QLineEdit(modem_);
    explain(init_, QStringLiteral("Sent to the modem before dialling; \"AT\" is added in front when missing."));
    mf->addRow(QStringLiteral("Port"), port_);
    mf->addRow(QStringLiteral("Device"), device_);
    mf->addRow(QStringLiteral("Method"), method_);
    mf->addRow(QStringLiteral("Modem Initialization String"), init_);
    v->addWidget(modem_);
    auto showDevice = [this](int port) { device_->setPlaceholderText(portDevice(port, QString(), devices_)); };
    connect(port_, &QComboBox::currentIndexChanged, this, showDevice);
    connect(useTapi_, &QCheckBox::toggled, modem_, [this](bool on) { modem_->setVisible(!on); });

    auto* buttons = new QDialogButtonBox(this);
    auto* dialButton = buttons->addButton(QStringLiteral("Dial"), QDialogButtonBox::ActionRole);
    dialButton->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    help_ = makeHelpButton(this, kHelpTopic);
    buttons->addButton(help_, QDialogButtonBox::HelpRole);
    connect(dialButton, &QPushButton::clicked, this, [this] { dial(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(buttons);

    const DialingSettings s = readDialingSettings(Settings());
    prefix_->setText(s.prefix);
    init_->setText(s.init);
    port_->setCurrentIndex(s.port);
    showDevice(s.port);
    device_->setText(s.device);
    method_->setCurrentIndex(s.method);
    useTapi_->setChecked(s.useTapi);
    modem_->setVisible(!s.useTapi);
}

DialingSettings TPVDialer::fromControls() const
{
    DialingSettings s;
    s.prefix = prefix_->text();
    s.init = init_->text();
    s.port = port_->currentIndex();
    s.method = method_->currentIndex();
    s.useTapi = useTapi_->isChecked();
    s.device = device_->text().trimmed();
    return s;
}

void TPVDialer::dial()
{
    help_->hide();
    const DialingSettings s = fromControls();
    Settings settings;
    writeDialingSettings(settings, s);
    const QString dialed = dialString(s.prefix, number_->text());
    if (s.useTapi) {
        if (runCall_) {
            runCall_(dialed);
        } else {
            TfrmTAPICall call(dialed, this);
            call.exec();
        }
        return;
    }
    dialer_.NumberToDial = dialed;
    // The component keeps an "AT" it added; the window's text is what the user typed.
    if (dialer_.InitStr.isEmpty() || withAtPrefix(s.init) != dialer_.InitStr)
        dialer_.InitStr = s.init;
    dialer_.Method = s.method == 1 ? TMethod::dmPulse : TMethod::dmTone;
    dialer_.ComPort = TComPort(s.port);
    dialer_.Device = portDevice(s.port, s.device, devices_);
    SerialModemLink serial;
    dialer_.dial(link_ ? *link_ : serial, ui_ ? *ui_ : static_cast<DialerUi&>(*this));
}

void TPVDialer::showError(const QString& text)
{
    QMessageBox::critical(this, QStringLiteral("Error"), text);
}

void TPVDialer::pickUpPhone() { showInformation(QStringLiteral("Pick up phone"), this); }

// ---------------------------------------------------------------- TfrmTAPICall

TfrmTAPICall::TfrmTAPICall(const QString& dialString, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmTAPICall"));
    setWindowTitle(QStringLiteral("TAPI Call - PICK UP THE PHONE"));
    auto* v = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Number to call"), this));
    number_ = new QLineEdit(dialString.left(30), this);
    number_->setMaxLength(30);
    row->addWidget(number_, 1);
    v->addLayout(row);
    status_ = new QListWidget(this);
    v->addWidget(status_, 1);
    auto* buttons = new QHBoxLayout;
    call_ = new QPushButton(QStringLiteral("Call"), this);
    hangup_ = new QPushButton(QStringLiteral("Hangup"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    hangup_->setEnabled(false);
    connect(call_, &QPushButton::clicked, this, &TfrmTAPICall::callNumber);
    connect(hangup_, &QPushButton::clicked, this, &TfrmTAPICall::hangUp);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(call_);
    buttons->addWidget(hangup_);
    buttons->addStretch();
    buttons->addWidget(close);
    v->addLayout(buttons);
    resize(360, 240);

    // The desktop's tel: handler plays the part of the telephony line.
    handler_ = findTelephonyHandler();
    if (!handler_.installed)
        addStatus(QStringLiteral("Error!! - No TAPI devices found"));
}

QStringList TfrmTAPICall::statusLines() const
{
    QStringList lines;
    for (int i = 0; i < status_->count(); ++i)
        lines << status_->item(i)->text();
    return lines;
}

void TfrmTAPICall::addStatus(const QString& line) { status_->addItem(line); }

void TfrmTAPICall::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!activated_) {
        activated_ = true;
        call_->click();
    }
}

void TfrmTAPICall::callNumber()
{
    const QString number = number_->text();
    if (number.isEmpty())
        return;
    // Without a handler the reason stays in the list above the failure.
    if (handler_.installed)
        status_->clear();
    if (!handler_.installed || !handOverCall(number)) {
        addStatus(QStringLiteral("* Unknown Error calling number"));
        addStatus(QStringLiteral("* Is the line busy?"));
        return;
    }
    addStatus(QStringLiteral("TAPI started"));
    addStatus(QStringLiteral("Dialing"));
    addStatus(QStringLiteral("Connected: ") + handler_.name);
    call_->setEnabled(false);
    hangup_->setEnabled(true);
}

void TfrmTAPICall::hangUp()
{
    // The handler owns the call from here; the window is free for the next one.
    addStatus(QStringLiteral("Idle"));
    call_->setEnabled(true);
    hangup_->setEnabled(false);
}

} // namespace postavo
