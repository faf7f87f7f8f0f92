#pragma once
// The windows around the paper feed: the feed picture, TEnvelopeFeed ("Paper Feed Method") and
// TEnvelopePrePrint ("Envelope Print"), the printer and feed check before each envelope job.

#include "envelopefeed.h"

#include <QDialog>
#include <QWidget>
#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace postavo::printing {
class TPrinters;
}

namespace postavo::envelopes {

// A page with the envelope drawn over it where and how the feed method puts it.
class TFeedPicture : public QWidget {
    Q_OBJECT
public:
    explicit TFeedPicture(QWidget* parent = nullptr);
    void setFeed(const FeedMethod& feed);
    QSize sizeHint() const override { return {96, 124}; }
    // The envelope picture's rectangle in the widget (for tests and the eye).
    QRect envelopeRect() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    FeedMethod feed_;
};

class TEnvelopeFeed : public QDialog {
    Q_OBJECT
public:
    TEnvelopeFeed(const FeedMethod& feed, QWidget* parent = nullptr);
    FeedMethod feed() const;
    QRadioButton* button(const QString& objectName) const;
    QWidget* clockwiseBox() const;

private:
    void changed();

    QRadioButton *left_ = nullptr, *right_ = nullptr, *center_ = nullptr, *portrait_ = nullptr,
                 *landscape_ = nullptr, *up_ = nullptr, *down_ = nullptr;
    QWidget* clockwise_ = nullptr;
    TFeedPicture* picture_ = nullptr;
};

class TEnvelopePrePrint : public QDialog {
    Q_OBJECT
public:
    // `note`: what choosing the envelope's paper had to say (the printer has no such paper).
    TEnvelopePrePrint(printing::TPrinters& printers, int envelopeCode, const FeedMethod& feed, const QString& note,
                      QWidget* parent = nullptr);
    FeedMethod feed() const { return feed_; }

    // Both parts of the window as they are now (after "Printer Setup" or "Paper Feed Method").
    void refresh();
    QString printerText() const;
    QString warningText() const;   // empty when hidden
    QString placementText() const; // empty when the envelope fits
    QString feedText() const;
    QPushButton* printerSetupButton() const { return setup_; }
    QPushButton* feedButton() const { return feedButton_; }

    // Replaces the platform's printer setup and the feed window (tests).
    std::function<bool()> printerSetup;
    std::function<std::optional<FeedMethod>(const FeedMethod&)> chooseFeed;
    // Asked on Ok when the envelope would not fit on the page; true prints anyway.
    std::function<bool(const QString&)> confirmPlacement;

public slots:
    void accept() override;

private:
    printing::TPrinters& printers_;
    FeedMethod feed_;
    double envelopeWidth_, envelopeHeight_;
    QString note_;
    QLabel *printer_, *paper_, *source_, *orientation_, *warning_, *placement_, *noteLabel_, *feedLabel_;
    TFeedPicture* picture_;
    QPushButton *setup_, *feedButton_;
};

} // namespace postavo::envelopes
