#pragma once
// "Dial Phone Number" (TPVDialer) and "TAPI Call - PICK UP THE PHONE" (TfrmTAPICall). The
// commands, settings and links are in dialer.h; these windows only ask and show.

#include "dialer.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace postavo {

class TPVDialer : public QDialog, private DialerUi {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 1031;
    explicit TPVDialer(const QString& number, QWidget* parent = nullptr);

    QLineEdit* numberEdit() const { return number_; }
    QLineEdit* prefixEdit() const { return prefix_; }
    QCheckBox* useTapiBox() const { return useTapi_; }
    QComboBox* portBox() const { return port_; }
    QLineEdit* deviceEdit() const { return device_; }
    QComboBox* methodBox() const { return method_; }
    QLineEdit* initEdit() const { return init_; }
    QWidget* modemOptions() const { return modem_; }
    const TDialer& dialer() const { return dialer_; }

    // Tests: a stand-in for the serial port, answers to the messages, the call window.
    void setModemLink(ModemLink* link) { link_ = link; }
    void setUi(DialerUi* ui) { ui_ = ui; }
    void setCallWindowRunner(std::function<void(const QString&)> run) { runCall_ = std::move(run); }

    void dial();

private:
    void showError(const QString& text) override;
    void pickUpPhone() override;
    DialingSettings fromControls() const;

    QLineEdit* number_ = nullptr;
    QLineEdit* prefix_ = nullptr;
    QCheckBox* useTapi_ = nullptr;
    QWidget* modem_ = nullptr;
    QComboBox* port_ = nullptr;
    QLineEdit* device_ = nullptr;
    QComboBox* method_ = nullptr;
    QLineEdit* init_ = nullptr;
    QPushButton* help_ = nullptr;
    QStringList devices_;
    TDialer dialer_;
    ModemLink* link_ = nullptr;
    DialerUi* ui_ = nullptr;
    std::function<void(const QString&)> runCall_;
};

class TfrmTAPICall : public QDialog {
    Q_OBJECT
public:
    // Asks the desktop for its tel: handler at once; the first showing presses "Call".
    explicit TfrmTAPICall(const QString& dialString, QWidget* parent = nullptr);
    QStringList statusLines() const;
    QPushButton* callButton() const { return call_; }
    QPushButton* hangupButton() const { return hangup_; }
    void callNumber();
    void hangUp();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void addStatus(const QString& line);
    QLineEdit* number_ = nullptr;
    QListWidget* status_ = nullptr;
    QPushButton* call_ = nullptr;
    QPushButton* hangup_ = nullptr;
    TelephonyHandler handler_;
    bool activated_ = false;
};

} // namespace postavo
