#include "dialer.h"

#include "settings.h"

#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QEventLoop>
#include <QProcess>
#include <QSerialPort>
#include <QTimer>
#include <QUrl>

namespace postavo {

namespace {
const QString kSection = QStringLiteral("Dialing");
} // namespace

DialingSettings readDialingSettings(const Settings& s)
{
    DialingSettings d;
    d.prefix = s.readString(kSection, QStringLiteral("Prefix"));
    d.init = s.readString(kSection, QStringLiteral("Init"));
    d.port = std::clamp(s.readInteger(kSection, QStringLiteral("Port"), 0), 0, 3);
    d.method = s.readInteger(kSection, QStringLiteral("Method"), 0) == 1 ? 1 : 0;
    d.useTapi = s.readBool(kSection, QStringLiteral("UseTAPI"), false);
    d.device = s.readString(kSection, QStringLiteral("Device"));
    return d;
}

bool writeDialingSettings(Settings& s, const DialingSettings& d)
{
    return s.writeString(kSection, QStringLiteral("Prefix"), d.prefix)
        && s.writeString(kSection, QStringLiteral("Init"), d.init)
        && s.writeInteger(kSection, QStringLiteral("Port"), d.port)
        && s.writeInteger(kSection, QStringLiteral("Method"), d.method)
        && s.writeBool(kSection, QStringLiteral("UseTAPI"), d.useTapi)
        && s.writeString(kSection, QStringLiteral("Device"), d.device);
}

QStringList serialDevices(const QString& devDir)
{
    QDir dir(devDir);
    QStringList found;
    for (const char* family : {"ttyS", "ttyUSB", "ttyACM"}) {
        QStringList names = dir.entryList({QString::fromLatin1(family) + QLatin1Char('*')}, QDir::System | QDir::Files);
        names.erase(std::remove_if(names.begin(), names.end(),
                                   [&](const QString& n) {
                                       bool digits = false;
                                       n.mid(int(qstrlen(family))).toUInt(&digits);
                                       return !digits;
                                   }),
                    names.end());
        // ttyS2 before ttyS10.
        const int skip = int(qstrlen(family));
        std::sort(names.begin(), names.end(),
                  [skip](const QString& a, const QString& b) { return a.mid(skip).toUInt() < b.mid(skip).toUInt(); });
        for (const QString& n : names)
            found << dir.absoluteFilePath(n);
    }
    return found;
}

QString portCaption(int port) { return QStringLiteral("COM %1").arg(port + 1); }

QString portDevice(int port, const QString& typedDevice, const QStringList& devices)
{
    if (!typedDevice.trimmed().isEmpty())
        return typedDevice.trimmed();
    if (port >= 0 && port < devices.size())
        return devices.at(port);
    return QStringLiteral("/dev/ttyS%1").arg(port);
}

QString dialString(const QString& prefix, const QString& number) { return prefix + number; }

QString withAtPrefix(const QString& init)
{
    if (init.left(2).toUpper() == QLatin1String("AT"))
        return init;
    return QStringLiteral("AT") + init;
}

QByteArray dialCommand(const QString& number, TMethod method)
{
    return QByteArray(method == TMethod::dmPulse ? "ATDP" : "ATDT") + number.toLatin1() + "\r\n";
}

QByteArray hangUpCommand() { return "ATH\r\n"; }

// ---------------------------------------------------------------- serial link

SerialModemLink::~SerialModemLink() { close(); }

bool SerialModemLink::open(const QString& device, QString* error)
{
    close();
    port_ = new QSerialPort(device);
    if (!port_->open(QIODevice::WriteOnly)) {
        if (error)
            *error = port_->errorString();
        close();
        return false;
    }
    return true;
}

bool SerialModemLink::write(const QByteArray& bytes)
{
    if (!port_ || port_->write(bytes) != bytes.size())
        return false;
    while (port_->bytesToWrite() > 0)
        if (!port_->waitForBytesWritten(timeoutMs_))
            return false;
    return true;
}

void SerialModemLink::close()
{
    if (!port_)
        return;
    if (port_->isOpen())
        port_->close();
    delete port_;
    port_ = nullptr;
}

// ---------------------------------------------------------------- dialling

void DialerUi::wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool TDialer::dial(ModemLink& link, DialerUi& ui)
{
    QString error;
    if (!link.open(Device, &error)) {
        ui.showError(QStringLiteral("Unable to open ") + Device);
        return false;
    }
    bool ok = true;
    if (!InitStr.isEmpty()) {
        InitStr = withAtPrefix(InitStr);
        ok = link.write(InitStr.toLatin1() + "\r\n");
        if (ok)
            ui.wait(kInitWaitMs);
    }
    ok = ok && link.write(dialCommand(NumberToDial, Method));
    if (ok) {
        ui.pickUpPhone();
        link.write(hangUpCommand());
    } else {
        ui.showError(QStringLiteral("Unable to dial number"));
    }
    link.close();
    return ok;
}

// ---------------------------------------------------------------- tel: links

TelephonyHandler findTelephonyHandler()
{
    TelephonyHandler h;
    QProcess p;
    p.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                         QStringLiteral("x-scheme-handler/tel")});
    if (!p.waitForFinished(5000) || p.exitStatus() != QProcess::NormalExit) {
        p.kill();
        return h;
    }
    h.name = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    h.installed = p.exitCode() == 0 && !h.name.isEmpty();
    if (h.name.endsWith(QLatin1String(".desktop")))
        h.name.chop(8);
    return h;
}

QString telUrl(const QString& dialString)
{
    return QStringLiteral("tel:") + QString::fromLatin1(QUrl::toPercentEncoding(dialString, "+,;=*#()-"));
}

bool handOverCall(const QString& dialString)
{
    const QString url = telUrl(dialString);
    // Display servers without desktop services (offscreen, minimal) still have the desktop's
    // own opener.
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        return QDesktopServices::openUrl(QUrl(url));
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url});
}

} // namespace postavo
