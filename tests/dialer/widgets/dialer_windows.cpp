// The dialer's windows: "Dial Phone Number" with its settings and modem options, a dial through
// a modem stand-in, and "TAPI Call" handing the number to a stub tel: handler registered in a
// desktop environment of the test's own.
#include "dialerwindows.h"
#include "mainwindowsetup.h"
#include "settings.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::testing;

namespace {

struct RecordingLink : ModemLink {
    QByteArray sent;
    QString opened;
    bool open(const QString& device, QString*) override
    {
        opened = device;
        return true;
    }
    bool write(const QByteArray& bytes) override
    {
        sent += bytes;
        return true;
    }
    void close() override {}
};

struct Answers : DialerUi {
    int pickUps = 0;
    QStringList errors;
    void showError(const QString& text) override { errors << text; }
    void pickUpPhone() override { ++pickUps; }
    void wait(int) override {}
};

// A desktop whose only tel: handler is a script that writes the link it gets to `out`.
struct StubDesktop {
    QString root, out;
    explicit StubDesktop(bool withHandler)
    {
        root = scratchDir(withHandler ? "tel_desktop" : "tel_nodesktop");
        out = root + "/called.txt";
        QFile::remove(out);
        const QString apps = root + "/data/applications";
        QDir().mkpath(apps);
        QDir().mkpath(root + "/config");
        if (withHandler) {
            writeBytes(root + "/stubphone.sh", ("#!/bin/sh\nprintf '%s' \"$1\" > '" + out + "'\n").toUtf8());
            QFile::setPermissions(root + "/stubphone.sh", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            writeBytes(apps + "/stubphone.desktop",
                       ("[Desktop Entry]\nType=Application\nName=Stub Phone\nExec=" + root
                        + "/stubphone.sh %u\nMimeType=x-scheme-handler/tel;\n").toUtf8());
            writeBytes(root + "/config/mimeapps.list",
                       "[Default Applications]\nx-scheme-handler/tel=stubphone.desktop\n");
        }
        qputenv("XDG_CONFIG_HOME", (root + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (root + "/data").toUtf8());
        qputenv("XDG_DATA_DIRS", (root + "/data").toUtf8());
        qputenv("XDG_CONFIG_DIRS", (root + "/config").toUtf8());
        // The desktop's opener hands links to programs only when there is a display to show them.
        if (qgetenv("DISPLAY").isEmpty() && qgetenv("WAYLAND_DISPLAY").isEmpty())
            qputenv("DISPLAY", ":77");
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("DESKTOP_SESSION");
        qunsetenv("KDE_FULL_SESSION");
        qunsetenv("GNOME_DESKTOP_SESSION_ID");
    }
};

} // namespace

TEST(DialerWindow, SettingsLoadedOptionsHiddenForTapiAndDialThroughTheModem)
{
    auto dir = freshProgramFolder();
    setSetting("Dialing", "Prefix", "9,");
    setSetting("Dialing", "Init", "&F");
    setSetting("Dialing", "Port", "1");
    setSetting("Dialing", "Method", "1");
    TPVDialer w("(555) 123-4567");
    w.show();
    EXPECT_EQ(w.windowTitle(), "Dial Phone Number");
    EXPECT_EQ(w.numberEdit()->text(), "(555) 123-4567");
    EXPECT_EQ(w.prefixEdit()->text(), "9,");
    EXPECT_EQ(w.portBox()->currentText(), "COM 2");
    EXPECT_EQ(w.methodBox()->currentText(), "Pulse");
    EXPECT_FALSE(w.modemOptions()->isHidden());
    w.useTapiBox()->setChecked(true);
    EXPECT_TRUE(w.modemOptions()->isHidden());
    w.useTapiBox()->setChecked(false);

    RecordingLink link;
    Answers ui;
    w.setModemLink(&link);
    w.setUi(&ui);
    w.deviceEdit()->setText("/dev/ttyUSB3");
    w.dial();
    EXPECT_EQ(link.opened, "/dev/ttyUSB3");
    EXPECT_EQ(link.sent, "AT&F\r\nATDP9,(555) 123-4567\r\nATH\r\n");
    EXPECT_EQ(ui.pickUps, 1);
    EXPECT_TRUE(w.isVisible()) << "Dial does not close the window";
    EXPECT_EQ(w.dialer().InitStr, "AT&F");
    EXPECT_TRUE(w.findChild<QPushButton*>("HelpButton")->isHidden());
    const DialingSettings s = readDialingSettings(Settings());
    EXPECT_EQ(s, (DialingSettings{"9,", "&F", 1, 1, false, "/dev/ttyUSB3"}));

    // With TAPI the modem is not touched and the call window gets prefix and number.
    QString called;
    w.setCallWindowRunner([&](const QString& n) { called = n; });
    w.useTapiBox()->setChecked(true);
    link.sent.clear();
    w.dial();
    EXPECT_EQ(called, "9,(555) 123-4567");
    EXPECT_TRUE(link.sent.isEmpty());
}

TEST(TapiCall, TheNumberGoesToTheDesktopsTelHandler)
{
    if (QStandardPaths::findExecutable("xdg-open").isEmpty())
        GTEST_SKIP() << "xdg-utils is not installed (scripts/setup installs it)";
    StubDesktop desk(true);
    TfrmTAPICall w("9,(555) 123-4567");
    EXPECT_EQ(w.windowTitle(), "TAPI Call - PICK UP THE PHONE");
    w.show();  // the first showing presses Call
    EXPECT_EQ(w.statusLines(), QStringList({"TAPI started", "Dialing", "Connected: stubphone"}));
    EXPECT_FALSE(w.callButton()->isEnabled());
    EXPECT_TRUE(w.hangupButton()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(desk.out) && !readBytes(desk.out).isEmpty(); }, 10000));
    EXPECT_EQ(readBytes(desk.out), "tel:9,(555)%20123-4567");
    w.hangupButton()->click();
    EXPECT_EQ(w.statusLines().last(), "Idle");
    EXPECT_TRUE(w.callButton()->isEnabled());
}

TEST(TapiCall, WithoutAHandlerTheReasonAndTheFailureAreShown)
{
    if (QStandardPaths::findExecutable("xdg-mime").isEmpty())
        GTEST_SKIP() << "xdg-utils is not installed (scripts/setup installs it)";
    StubDesktop desk(false);
    TfrmTAPICall w("555");
    w.show();
    EXPECT_EQ(w.statusLines(), QStringList({"Error!! - No TAPI devices found", "* Unknown Error calling number",
                                            "* Is the line busy?"}));
    EXPECT_TRUE(w.callButton()->isEnabled());
    EXPECT_FALSE(w.hangupButton()->isEnabled());
}
