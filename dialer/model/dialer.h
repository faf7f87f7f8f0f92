#pragma once
// Dialling a telephone number: by Hayes AT commands written to a modem on a serial port
// (TDialer), or by handing the number to the desktop's handler for tel: links (a softphone or a
// phone link), and the "Dialing" settings both use.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QSerialPort;

namespace postavo {

class Settings;

// ---- settings (section "Dialing")
struct DialingSettings {
    QString prefix;     // Prefix: put in front of the number
    QString init;       // Init: modem initialisation string
    int port = 0;       // Port: 0 = COM 1 ... 3 = COM 4
    int method = 0;     // Method: 0 tone, 1 pulse
    bool useTapi = false;  // UseTAPI
    QString device;     // Device: a serial device path typed by the user ("" = the port's)
    bool operator==(const DialingSettings&) const = default;
};
DialingSettings readDialingSettings(const Settings& s);
bool writeDialingSettings(Settings& s, const DialingSettings& d);

// ---- serial ports
// The serial devices present under `devDir`: ttyS*, ttyUSB*, ttyACM*, in natural order.
QStringList serialDevices(const QString& devDir = QStringLiteral("/dev"));
// "COM 1" .. "COM 4"
QString portCaption(int port);
// The device a dial goes to: the typed one, else the port's among the devices found (COM 1 is
// the first), else /dev/ttyS<port>.
QString portDevice(int port, const QString& typedDevice, const QStringList& devices);

// ---- the modem's commands
enum class TComPort { dpCOM1, dpCOM2, dpCOM3, dpCOM4 };
enum class TMethod { dmTone, dmPulse };
// The prefix immediately followed by the number, nothing between or changed.
QString dialString(const QString& prefix, const QString& number);
// "AT" put in front unless the first two characters are "AT" in any letter case.
QString withAtPrefix(const QString& init);
QByteArray dialCommand(const QString& number, TMethod method);  // "ATDT"/"ATDP" + number + CR LF
QByteArray hangUpCommand();                                      // "ATH" CR LF

// What dialling by modem writes to: a serial port, or a stand-in in tests.
class ModemLink {
public:
    virtual ~ModemLink() = default;
    virtual bool open(const QString& device, QString* error) = 0;
    virtual bool write(const QByteArray& bytes) = 0;  // false when not all were written in time
    virtual void close() = 0;
};

// A serial port through Qt SerialPort, opened for writing only; nothing is set on the line and
// nothing read back. A write that does not leave within `timeoutMs` fails.
class SerialModemLink : public ModemLink {
public:
    explicit SerialModemLink(int timeoutMs = 3000) : timeoutMs_(timeoutMs) {}
    ~SerialModemLink() override;
    bool open(const QString& device, QString* error) override;
    bool write(const QByteArray& bytes) override;
    void close() override;

private:
    QSerialPort* port_ = nullptr;
    int timeoutMs_;
};

// The questions and pauses of a dial; the window answers them.
class DialerUi {
public:
    virtual ~DialerUi() = default;
    virtual void showError(const QString& text) = 0;
    // "Pick up phone": returns when the user has closed the message.
    virtual void pickUpPhone() = 0;
    // Waits while the window's events run.
    virtual void wait(int ms);
};

class TDialer {
public:
    TComPort ComPort = TComPort::dpCOM1;
    bool Confirm = false;
    TMethod Method = TMethod::dmTone;
    QString NumberToDial;
    QString InitStr;  // given "AT" in front by a dial that sends it
    QString Device;   // the serial device of ComPort (or the typed one)

    // Opens the device, sends the initialisation (then waits 1.5 s) and the dial command, tells
    // the user to pick up the phone, then hangs the modem up so the handset keeps the line.
    // False after "Unable to open <device>" or "Unable to dial number".
    bool dial(ModemLink& link, DialerUi& ui);
};
inline constexpr int kInitWaitMs = 1500;

// ---- the desktop's telephony handler (tel: links)
struct TelephonyHandler {
    bool installed = false;
    QString name;  // the handler's desktop entry, as the desktop names it
};
// Asks the desktop which program opens tel: links.
TelephonyHandler findTelephonyHandler();
// "tel:" + the dial string, its characters encoded as a URL needs.
QString telUrl(const QString& dialString);
// Hands the call to the handler (QDesktopServices::openUrl); false when it could not be.
bool handOverCall(const QString& dialString);

} // namespace postavo
