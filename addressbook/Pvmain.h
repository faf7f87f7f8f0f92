#pragma once
// The main window: the address book the user lives in.

#include <QMainWindow>

class QLabel;
class QStackedWidget;

namespace postavo {

class TAddressMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TAddressMain";

    explicit TAddressMain(QWidget* parent = nullptr);

    // Brings the window to the front, restored if it was minimised (a second copy asked).
    void bringToFront();

    bool firstActivationDone() const { return activated_; }

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormActivate();

    QStackedWidget* pages_ = nullptr;
    QLabel* emptyPanel_ = nullptr;
    bool activated_ = false;
};

} // namespace postavo
