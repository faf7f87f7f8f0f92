// Dialling by modem: the exact bytes a dial sends (checked on a stand-in and on a pseudo
// terminal pair made by socat, whose far end answers like a modem or not at all), the failures,
// the settings and the serial devices offered.
#include "dialer.h"
#include "settings.h"
#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace postavo;
using namespace postavo::testing;

namespace {

struct RecordingLink : ModemLink {
    QByteArray sent;
    QString opened;
    bool failOpen = false;
    int failWriteAt = -1;
    int writes = 0;
    bool closed = false;
    bool open(const QString& device, QString* error) override
    {
        opened = device;
        if (failOpen && error)
            *error = "no such device";
        return !failOpen;
    }
    bool write(const QByteArray& bytes) override
    {
        if (writes++ == failWriteAt)
            return false;
        sent += bytes;
        return true;
    }
    void close() override { closed = true; }
};

struct Answers : DialerUi {
    QStringList errors;
    QList<int> waits;
    int pickUps = 0;
    std::function<void()> onPickUp;
    void showError(const QString& text) override { errors << text; }
    void pickUpPhone() override
    {
        ++pickUps;
        if (onPickUp)
            onPickUp();
    }
    void wait(int ms) override { waits << ms; }
};

} // namespace

TEST(ModemCommands, DialStringInitAndDialCommands)
{
    EXPECT_EQ(dialString("9,", "(555) 123-4567"), "9,(555) 123-4567");
    EXPECT_EQ(withAtPrefix("&F"), "AT&F");
    EXPECT_EQ(withAtPrefix("at&f"), "at&f");
    EXPECT_EQ(withAtPrefix("A"), "ATA");
    EXPECT_EQ(dialCommand("555-1234 x12", TMethod::dmTone), "ATDT555-1234 x12\r\n");
    EXPECT_EQ(dialCommand("5551234", TMethod::dmPulse), "ATDP5551234\r\n");
    EXPECT_EQ(hangUpCommand(), "ATH\r\n");
}

TEST(ModemCommands, DialSendsInitWaitsDialsAndHangsUpAfterThePickUp)
{
    RecordingLink link;
    Answers ui;
    TDialer d;
    d.Device = "/dev/ttyS1";
    d.NumberToDial = dialString("9,", "(555) 123-4567");
    d.InitStr = "&F";
    ui.onPickUp = [&] { EXPECT_FALSE(link.sent.contains("ATH")) << "the modem hangs up only after the message"; };
    ASSERT_TRUE(d.dial(link, ui));
    EXPECT_EQ(link.opened, "/dev/ttyS1");
    EXPECT_EQ(link.sent, "AT&F\r\nATDT9,(555) 123-4567\r\nATH\r\n");
    EXPECT_EQ(ui.waits, QList<int>({1500}));
    EXPECT_EQ(ui.pickUps, 1);
    EXPECT_TRUE(link.closed);
    EXPECT_EQ(d.InitStr, "AT&F") << "kept for the next dial";

    RecordingLink pulse;
    Answers quiet;
    d.InitStr.clear();
    d.Method = TMethod::dmPulse;
    d.NumberToDial = "123";
    ASSERT_TRUE(d.dial(pulse, quiet));
    EXPECT_EQ(pulse.sent, "ATDP123\r\nATH\r\n");
    EXPECT_TRUE(quiet.waits.isEmpty()) << "no init: no wait";
}

TEST(ModemCommands, PortThatWillNotOpenOrWriteIsSaid)
{
    TDialer d;
    d.Device = "/dev/ttyUSB7";
    d.NumberToDial = "1";
    RecordingLink missing;
    missing.failOpen = true;
    Answers ui;
    EXPECT_FALSE(d.dial(missing, ui));
    EXPECT_EQ(ui.errors, QStringList({"Unable to open /dev/ttyUSB7"}));
    EXPECT_TRUE(missing.sent.isEmpty());

    RecordingLink stuck;
    stuck.failWriteAt = 0;
    Answers ui2;
    EXPECT_FALSE(d.dial(stuck, ui2));
    EXPECT_EQ(ui2.errors, QStringList({"Unable to dial number"}));
    EXPECT_EQ(ui2.pickUps, 0);
    EXPECT_TRUE(stuck.closed);
}

TEST(DialingSettings, RoundTripAndOutOfRangeValues)
{
    const QString dir = scratchDir("dialing_settings");
    Settings s(dir + "/postav.ini");
    DialingSettings d = readDialingSettings(s);
    EXPECT_EQ(d, DialingSettings{});
    d = {"9,", "&F", 2, 1, true, "/dev/ttyUSB0"};
    ASSERT_TRUE(writeDialingSettings(s, d));
    EXPECT_EQ(readDialingSettings(Settings(dir + "/postav.ini")), d);
    s.writeInteger("Dialing", "Port", 9);
    s.writeInteger("Dialing", "Method", 7);
    EXPECT_EQ(readDialingSettings(s).port, 3);
    EXPECT_EQ(readDialingSettings(s).method, 0);
}

TEST(SerialDevices, OfferedInNaturalOrderAndMappedToComPorts)
{
    const QString dir = scratchDir("serial_devices");
    for (const char* n : {"ttyS10", "ttyS2", "ttyS0", "ttyACM0", "ttyUSB1", "ttyUSB0", "ttySX", "tty1", "null"})
        writeBytes(dir + "/" + n, "");
    const QStringList found = serialDevices(dir);
    QStringList names;
    for (const QString& f : found)
        names << QFileInfo(f).fileName();
    EXPECT_EQ(names, QStringList({"ttyS0", "ttyS2", "ttyS10", "ttyUSB0", "ttyUSB1", "ttyACM0"}));
    EXPECT_EQ(portCaption(0), "COM 1");
    EXPECT_EQ(portDevice(1, "", found), dir + "/ttyS2");
    EXPECT_EQ(portDevice(1, " /dev/ttyACM3 ", found), "/dev/ttyACM3");
    EXPECT_EQ(portDevice(3, "", {"/dev/ttyUSB0"}), "/dev/ttyS3");
}

// ---- a real serial line: a pseudo terminal pair, the far end a modem stand-in

namespace {

struct PtyPair {
    QProcess socat;
    QString host, modem;
    int modemFd = -1;
    bool start(const QString& dir)
    {
        host = dir + "/host";
        modem = dir + "/modem";
        socat.start("socat", {"pty,raw,echo=0,link=" + host, "pty,raw,echo=0,link=" + modem});
        if (!socat.waitForStarted(5000))
            return false;
        if (!QTest::qWaitFor([&] { return QFile::exists(host) && QFile::exists(modem); }, 5000))
            return false;
        modemFd = ::open(QFile::encodeName(modem).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        return modemFd >= 0;
    }
    // What arrived at the modem end within `ms` after the last byte.
    QByteArray drain(int ms = 300)
    {
        QByteArray got;
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < ms) {
            char buf[256];
            const ssize_t n = ::read(modemFd, buf, sizeof buf);
            if (n > 0) {
                got.append(buf, int(n));
                quiet.restart();
            } else {
                QTest::qWait(10);
            }
        }
        return got;
    }
    void answer(const QByteArray& text)
    {
        if (!text.isEmpty())
            (void)!::write(modemFd, text.constData(), size_t(text.size()));
    }
    ~PtyPair()
    {
        if (modemFd >= 0)
            ::close(modemFd);
        socat.terminate();
        socat.waitForFinished(3000);
    }
};

} // namespace

TEST(ModemOnAPty, ExactBytesWhateverTheModemAnswers)
{
    if (QStandardPaths::findExecutable("socat").isEmpty())
        GTEST_SKIP() << "socat is not installed (scripts/setup installs it)";
    for (const QByteArray& reply : {QByteArray("OK\r\n"), QByteArray("BUSY\r\n"), QByteArray("NO CARRIER\r\n"),
                                    QByteArray()}) {
        const QString dir = scratchDir("modem_pty");
        PtyPair pty;
        ASSERT_TRUE(pty.start(dir));
        SerialModemLink link(2000);
        Answers ui;
        QByteArray beforePickUp;
        ui.onPickUp = [&] {
            beforePickUp = pty.drain();
            pty.answer(reply);
        };
        TDialer d;
        d.Device = pty.host;
        d.InitStr = "&F";
        d.NumberToDial = "9,(555) 123-4567";
        ASSERT_TRUE(d.dial(link, ui)) << reply.toStdString() << ui.errors.join(";").toStdString();
        EXPECT_TRUE(ui.errors.isEmpty());
        EXPECT_EQ(beforePickUp, "AT&F\r\nATDT9,(555) 123-4567\r\n") << reply.toStdString();
        EXPECT_EQ(pty.drain(), "ATH\r\n") << reply.toStdString();
    }
}

TEST(ModemOnAPty, MissingAndBusyPortsSayUnableToOpen)
{
    if (QStandardPaths::findExecutable("socat").isEmpty())
        GTEST_SKIP() << "socat is not installed (scripts/setup installs it)";
    const QString dir = scratchDir("modem_busy");
    Answers ui;
    SerialModemLink link;
    TDialer d;
    d.Device = dir + "/ttyNONE";
    d.NumberToDial = "1";
    EXPECT_FALSE(d.dial(link, ui));
    EXPECT_EQ(ui.errors, QStringList({"Unable to open " + dir + "/ttyNONE"}));

    PtyPair pty;
    ASSERT_TRUE(pty.start(dir));
    SerialModemLink holder;
    QString error;
    ASSERT_TRUE(holder.open(pty.host, &error)) << error.toStdString();
    Answers ui2;
    d.Device = pty.host;
    EXPECT_FALSE(d.dial(link, ui2));
    EXPECT_EQ(ui2.errors, QStringList({"Unable to open " + pty.host}));
    holder.close();
}
