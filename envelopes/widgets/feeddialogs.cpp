#include "feeddialogs.h"

#include "dialogkit.h"
#include "envelopehelp.h"
#include "envelopeprinter.h"
#include "envelopesizes.h"
#include "messageboxes.h"
#include "printerdialogs.h"
#include "printers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace postavo::envelopes {

namespace {

QString shown(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

constexpr int kPageW = 84, kPageH = 108;  // the page picture
constexpr int kEnvLong = 76, kEnvShort = 34; // the envelope picture, upright

} // namespace

// ---- the feed picture ----

TFeedPicture::TFeedPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FeedPicture"));
    setMinimumSize(sizeHint());
}

void TFeedPicture::setFeed(const FeedMethod& feed)
{
    feed_ = feed.sanitized();
    update();
}

QRect TFeedPicture::envelopeRect() const
{
    const FeedPicture p = feedPicture(feed_);
    const QSize s = p.turn == 0 ? QSize(kEnvLong, kEnvShort) : QSize(kEnvShort, kEnvLong);
    const int pageLeft = (width() - kPageW) / 2, pageTop = (height() - kPageH) / 2;
    return QRect(pageLeft + feedPictureLeft(kPageW, s.width(), feed_.position), pageTop + 2, s.width(), s.height());
}

void TFeedPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect page((width() - kPageW) / 2, (height() - kPageH) / 2, kPageW, kPageH);
    // The page, with a few lines of "print" to tell it from the envelope.
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::white);
    p.drawRect(page);
    p.setPen(QColor(200, 200, 200));
    for (int y = page.top() + kPageH / 2; y < page.bottom() - 6; y += 8)
        p.drawLine(page.left() + 8, y, page.right() - 8, y);

    const FeedPicture fp = feedPicture(feed_);
    const QRect target = envelopeRect();
    // Drawn upright in its own coordinates, then turned onto the page.
    p.save();
    p.translate(target.center());
    p.rotate(-fp.turn); // positive turns are counter-clockwise
    const QRectF env(-kEnvLong / 2.0, -kEnvShort / 2.0, kEnvLong, kEnvShort);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(250, 246, 225));
    p.drawRect(env);
    if (fp.side == EnvelopeSide::Front) {
        // Stamp at the top right, address lines in the middle, return address top left.
        p.fillRect(QRectF(env.right() - 11, env.top() + 3, 8, 9), QColor(200, 40, 40));
        p.setPen(QColor(60, 60, 60));
        p.drawLine(QPointF(env.left() + 4, env.top() + 5), QPointF(env.left() + 18, env.top() + 5));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(env.left() + 28, env.top() + 16 + 4 * i), QPointF(env.left() + 56, env.top() + 16 + 4 * i));
    } else {
        // The back: the flap.
        p.setPen(QColor(60, 60, 60));
        p.drawLine(env.topLeft(), QPointF(env.center().x(), env.center().y() + 4));
        p.drawLine(env.topRight(), QPointF(env.center().x(), env.center().y() + 4));
    }
    p.restore();
    // Which way the envelope goes in.
    p.setPen(QPen(QColor(0, 90, 170), 2));
    const int ax = page.right() + 6;
    p.drawLine(ax, page.top() + 30, ax, page.top() + 4);
    p.drawLine(ax, page.top() + 4, ax - 4, page.top() + 10);
    p.drawLine(ax, page.top() + 4, ax + 4, page.top() + 10);
}

// ---- TEnvelopeFeed ----

TEnvelopeFeed::TEnvelopeFeed(const FeedMethod& feed, QWidget* parent) : QDialog(parent)
{
    registerEnvelopeHelp();
    setWindowTitle(QStringLiteral("Paper Feed Method"));
    enableWhatsThis(this);
    const FeedMethod f = feed.sanitized();
    auto radio = [this](const char* caption, const char* name) {
        auto* r = new QRadioButton(QString::fromLatin1(caption), this);
        r->setObjectName(QLatin1String(name));
        connect(r, &QRadioButton::toggled, this, &TEnvelopeFeed::changed);
        return r;
    };
    left_ = radio("&Left", "Left");
    right_ = radio("&Right", "Right");
    center_ = radio("&Center", "Center");
    portrait_ = radio("&Portrait", "Portrait");
    landscape_ = radio("&Landscape", "Landscape");
    up_ = radio("&Up", "Up");
    down_ = radio("&Down", "Down");
    auto* clockwise = new QCheckBox(QStringLiteral("Clock&wise Rotation"), this);
    clockwise->setObjectName(QStringLiteral("ClockwiseRotation"));
    clockwise->setChecked(f.clockwise);
    connect(clockwise, &QCheckBox::toggled, this, &TEnvelopeFeed::changed);
    clockwise_ = clockwise;
    explain(clockwise, QStringLiteral("Turn this on when your printer turns landscape pages the other way."));

    auto group = [this](const char* title, std::initializer_list<QWidget*> items) {
        auto* g = new QGroupBox(QString::fromLatin1(title), this);
        auto* l = new QVBoxLayout(g);
        auto* buttons = new QButtonGroup(g);
        for (QWidget* w : items) {
            l->addWidget(w);
            if (auto* r = qobject_cast<QRadioButton*>(w))
                buttons->addButton(r);
        }
        return g;
    };
    QGroupBox* position = group("Position", {left_, right_, center_});
    QGroupBox* orientation = group("Orientation", {portrait_, landscape_, clockwise});
    QGroupBox* facing = group("Facing", {up_, down_});
    (f.position == positionLeft ? left_ : f.position == positionRight ? right_ : center_)->setChecked(true);
    (f.landscape() ? landscape_ : portrait_)->setChecked(true);
    (f.facing == facingUp ? up_ : down_)->setChecked(true);
    // "Clockwise Rotation" belongs to landscape.
    connect(portrait_, &QRadioButton::clicked, clockwise, &QWidget::hide);
    connect(landscape_, &QRadioButton::clicked, clockwise, &QWidget::show);
    clockwise->setVisible(f.landscape());
    explain(position, QStringLiteral("Where the envelope goes into the paper path."));
    explain(orientation, QStringLiteral("Portrait: the envelope goes in long edge first. Landscape: short edge first."));
    explain(facing, QStringLiteral("Whether the envelope's front faces up or down as it goes in."));

    picture_ = new TFeedPicture(this);
    picture_->setFeed(f);
    auto* intro = new QLabel(QStringLiteral("Please indicate how you normally feed envelopes into your printer:"), this);
    auto* note = new QLabel(QStringLiteral("(note: there are many printers and many ways to feed envelopes - this may "
                                           "take some experimenting)"),
                            this);
    note->setWordWrap(true);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(position);
    groups->addWidget(orientation);
    groups->addWidget(facing);
    groups->addWidget(picture_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::FeedMethod));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(groups);
    layout->addWidget(note);
    layout->addLayout(buttons);
}

QRadioButton* TEnvelopeFeed::button(const QString& objectName) const
{
    return findChild<QRadioButton*>(objectName);
}

QWidget* TEnvelopeFeed::clockwiseBox() const { return clockwise_; }

FeedMethod TEnvelopeFeed::feed() const
{
    FeedMethod f;
    f.position = left_->isChecked() ? positionLeft : right_->isChecked() ? positionRight : positionCenter;
    f.orientation = landscape_->isChecked() ? feedLandscape : feedPortrait;
    f.facing = up_->isChecked() ? facingUp : facingDown;
    f.clockwise = static_cast<QCheckBox*>(clockwise_)->isChecked();
    return f;
}

void TEnvelopeFeed::changed()
{
    // The buttons report while the window is still being built.
    if (picture_ && clockwise_ && left_ && right_ && landscape_ && up_)
        picture_->setFeed(feed());
}

// ---- TEnvelopePrePrint ----

TEnvelopePrePrint::TEnvelopePrePrint(printing::TPrinters& printers, int code, const FeedMethod& feed,
                                     const QString& note, QWidget* parent)
    : QDialog(parent), printers_(printers), feed_(feed.sanitized()), note_(note)
{
    registerEnvelopeHelp();
    setWindowTitle(QStringLiteral("Envelope Print"));
    enableWhatsThis(this);
    const EnvelopeDimensions d = envelopeDimensions(code);
    envelopeWidth_ = d.width;
    envelopeHeight_ = d.height;

    auto label = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setWordWrap(true);
        return l;
    };
    printer_ = label("Printer");
    paper_ = label("Paper");
    source_ = label("Source");
    orientation_ = label("Orientation");
    warning_ = label("Warning");
    placement_ = label("Placement");
    noteLabel_ = label("PaperNote");
    feedLabel_ = label("FeedDescription");
    for (QLabel* l : {warning_, placement_})
        l->setStyleSheet(QStringLiteral("color: red"));

    auto* printerBox = new QGroupBox(QStringLiteral("Printer Setup"), this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Printer:"), printer_);
    form->addRow(QStringLiteral("Paper:"), paper_);
    form->addRow(QStringLiteral("Source:"), source_);
    form->addRow(QStringLiteral("Orientation:"), orientation_);
    auto* pl = new QVBoxLayout(printerBox);
    pl->addLayout(form);
    pl->addWidget(noteLabel_);
    pl->addWidget(warning_);
    pl->addWidget(placement_);
    explain(printerBox, QStringLiteral("The printer the envelopes go to, with its paper and orientation."));

    auto* feedBox = new QGroupBox(QStringLiteral("Paper Feed"), this);
    picture_ = new TFeedPicture(feedBox);
    auto* fl = new QHBoxLayout(feedBox);
    fl->addWidget(picture_);
    fl->addWidget(feedLabel_, 1);
    explain(feedBox, QStringLiteral("How you feed envelopes into the printer."));

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    setup_ = new QPushButton(QStringLiteral("Printer Setup"), this);
    setup_->setObjectName(QStringLiteral("PrinterSetup"));
    setup_->setAutoDefault(false);
    feedButton_ = new QPushButton(QStringLiteral("Paper Feed Method"), this);
    feedButton_->setObjectName(QStringLiteral("PaperFeedMethod"));
    feedButton_->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TEnvelopePrePrint::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(setup_, &QPushButton::clicked, this, [this] {
        if (printerSetup ? printerSetup() : printing::printerSetupDialog(printers_, this))
            note_.clear(); // the user chose the paper now
        refresh();
    });
    connect(feedButton_, &QPushButton::clicked, this, [this] {
        std::optional<FeedMethod> chosen;
        if (chooseFeed) {
            chosen = chooseFeed(feed_);
        } else {
            TEnvelopeFeed d(feed_, this);
            if (d.exec() == QDialog::Accepted)
                chosen = d.feed();
        }
        if (chosen) {
            feed_ = chosen->sanitized();
            printers_.setOrientation(feed_.pageOrientation());
        }
        refresh();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(setup_);
    buttons->addWidget(feedButton_);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(makeHelpButton(this, help::EnvelopePrint));
    buttons->addWidget(makeMouseHelpButton(this));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerBox);
    layout->addWidget(feedBox);
    layout->addLayout(buttons);
    refresh();
}

void TEnvelopePrePrint::refresh()
{
    printer_->setText(printers_.printerName());
    paper_->setText(printers_.paperName());
    source_->setText(printers_.paperSource());
    orientation_->setText(printers_.orientation() == QPageLayout::Landscape ? QStringLiteral("Landscape")
                                                                            : QStringLiteral("Portrait"));
    const double pw = printers_.pageWidth(), ph = printers_.pageHeight();
    const QString warning = pageMismatchWarning(envelopeWidth_, envelopeHeight_, pw, ph);
    warning_->setText(shown(warning));
    warning_->setVisible(!warning.isEmpty());
    const QString placement = placementProblem(envelopeWidth_, envelopeHeight_, pw, ph, feed_);
    placement_->setText(placement);
    placement_->setVisible(!placement.isEmpty());
    noteLabel_->setText(note_);
    noteLabel_->setVisible(!note_.isEmpty());
    feedLabel_->setText(shown(feedDescription(feed_)));
    picture_->setFeed(feed_);
}

QString TEnvelopePrePrint::printerText() const
{
    return QStringLiteral("%1 | %2 | %3 | %4").arg(printer_->text(), paper_->text(), source_->text(), orientation_->text());
}

QString TEnvelopePrePrint::warningText() const { return warning_->isHidden() ? QString() : warning_->text(); }
QString TEnvelopePrePrint::placementText() const { return placement_->isHidden() ? QString() : placement_->text(); }
QString TEnvelopePrePrint::feedText() const { return feedLabel_->text(); }

void TEnvelopePrePrint::accept()
{
    const QString placement =
        placementProblem(envelopeWidth_, envelopeHeight_, printers_.pageWidth(), printers_.pageHeight(), feed_);
    if (!placement.isEmpty()) {
        const QString question = placement + QStringLiteral("\r\n\r\nPrint anyway?");
        const bool yes = confirmPlacement ? confirmPlacement(question)
                                          : askYesNoDefaultNo(question, QStringLiteral("Warning"), this);
        if (!yes)
            return;
    }
    QDialog::accept();
}

} // namespace postavo::envelopes
