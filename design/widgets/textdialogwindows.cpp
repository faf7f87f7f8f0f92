#include "textdialogwindows.h"

#include "messageboxes.h"
#include "symbolfonts.h"
#include "textobjects.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace postavo::design {

namespace {

// "Ok", "Cancel" and "Help" (opening `topic`) under a dialog's controls.
QDialogButtonBox* okCancelHelp(QDialog& d, int topic)
{
    auto* box = new QDialogButtonBox(&d);
    box->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole)->setDefault(true);
    box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    QObject::connect(box->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole), &QPushButton::clicked,
                     [topic] { showHelpTopic(topic); });
    QObject::connect(box, &QDialogButtonBox::accepted, &d, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    return box;
}

LayoutFont fromQFont(const QFont& f, TColor colour)
{
    int style = 0;
    if (f.bold())
        style |= fsBold;
    if (f.italic())
        style |= fsItalic;
    if (f.underline())
        style |= fsUnderline;
    if (f.strikeOut())
        style |= fsStrikeOut;
    QString family = f.family();
    if (family == QLatin1String("Liberation Sans"))
        family = QStringLiteral("Arial");
    else if (family == QLatin1String("Liberation Serif"))
        family = QStringLiteral("Times New Roman");
    else if (family == QLatin1String("Liberation Mono"))
        family = QStringLiteral("Courier New");
    return LayoutFont::fromPoints(family, f.pointSizeF() > 0 ? f.pointSizeF() : 10, style, colour);
}

QFont toDialogFont(const LayoutFont& lf)
{
    QFont f(resolveFontFamily(lf.name));
    f.setPointSize(std::max(1, lf.points()));
    f.setBold(lf.style & fsBold);
    f.setItalic(lf.style & fsItalic);
    f.setUnderline(lf.style & fsUnderline);
    f.setStrikeOut(lf.style & fsStrikeOut);
    return f;
}

// The sample of the 3D effects dialog: a text object painted on a white field.
class SampleView : public QWidget {
public:
    explicit SampleView(TGPLabel& sample) : sample_(sample) { setMinimumSize(200, 60); }
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        sample_.setBounds(0, 0, width(), height());
        sample_.invalidate();
        sample_.paint(p);
    }
private:
    TGPLabel& sample_;
};

} // namespace

bool DesignDialogWindows::chooseFont(LayoutFont* font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, toDialogFont(*font));
    if (ok)
        *font = fromQFont(chosen, font->color);
    return ok;
}

bool DesignDialogWindows::chooseColour(TColor* colour)
{
    const QColor c = QColorDialog::getColor(toQColor(*colour));
    if (!c.isValid())
        return false;
    *colour = fromQColor(c);
    return true;
}

bool DesignDialogWindows::editText(QString* text)
{
    QDialog d;
    d.setWindowTitle(QStringLiteral("Text"));
    auto* lay = new QVBoxLayout(&d);
    lay->addWidget(new QLabel(QStringLiteral("Enter Text"), &d));
    auto* edit = new QLineEdit(*text, &d);
    lay->addWidget(edit);
    lay->addWidget(okCancelHelp(d, 40004));
    if (d.exec() != QDialog::Accepted)
        return false;
    *text = edit->text();
    return true;
}

bool DesignDialogWindows::text3DEffects(TGBaseLabel& label)
{
    QDialog d;
    d.setWindowTitle(QStringLiteral("Text 3D Effects"));
    TGPLabel sample;
    sample.Caption = QStringLiteral("Sample");
    sample.Font = label.Font;
    sample.DirectionShadow = label.DirectionShadow;
    sample.DepthShadow = label.DepthShadow;
    sample.colorShadow = label.colorShadow;
    sample.DirectionHighlight = label.DirectionHighlight;
    sample.DepthHighlight = label.DepthHighlight;
    sample.colorHighlight = label.colorHighlight;

    auto* form = new QFormLayout;
    auto list = [&](const QStringList& items, int current) {
        auto* c = new QComboBox(&d);
        c->addItems(items);
        c->setCurrentIndex(current);
        return c;
    };
    QStringList depths;
    for (int i = 0; i <= 10; ++i)
        depths << QString::number(i);
    auto* sdir = list({"None", "Right", "Left", "Lower Right", "Lower Left", "Down"}, sample.DirectionShadow);
    auto* sdep = list(depths, std::clamp(sample.DepthShadow, 0, 10));
    auto* hdir = list({"None", "Right", "Left", "Upper Right", "Upper Left", "Up"}, sample.DirectionHighlight);
    auto* hdep = list(depths, std::clamp(sample.DepthHighlight, 0, 10));
    auto colourButton = [&](TColor* target) {
        auto* b = new QPushButton(&d);
        auto show = [b, target] { b->setStyleSheet(QStringLiteral("background:%1").arg(toQColor(*target).name())); };
        show();
        QObject::connect(b, &QPushButton::clicked, [this, target, show] {
            if (chooseColour(target))
                show();
        });
        return b;
    };
    auto* view = new SampleView(sample);
    auto* scol = colourButton(&sample.colorShadow);
    auto* hcol = colourButton(&sample.colorHighlight);
    auto* fcol = colourButton(&sample.Font.color);
    form->addRow(QStringLiteral("Shadow Direction"), sdir);
    form->addRow(QStringLiteral("Shadow Depth"), sdep);
    form->addRow(QStringLiteral("Shadow Color"), scol);
    form->addRow(QStringLiteral("Highlight Direction"), hdir);
    form->addRow(QStringLiteral("Highlight Depth"), hdep);
    form->addRow(QStringLiteral("Highlight Color"), hcol);
    form->addRow(QStringLiteral("Font Color"), fcol);
    auto update = [&] {
        sample.DirectionShadow = sdir->currentIndex();
        sample.DepthShadow = sdep->currentIndex();
        sample.DirectionHighlight = hdir->currentIndex();
        sample.DepthHighlight = hdep->currentIndex();
        view->update();
    };
    for (auto* c : {sdir, sdep, hdir, hdep})
        QObject::connect(c, &QComboBox::currentIndexChanged, &d, update);
    for (auto* b : {scol, hcol, fcol})
        QObject::connect(b, &QPushButton::clicked, view, qOverload<>(&QWidget::update));
    auto* lay = new QVBoxLayout(&d);
    lay->addLayout(form);
    lay->addWidget(view);
    lay->addWidget(okCancelHelp(d, 40008));
    if (d.exec() != QDialog::Accepted)
        return false;
    label.setFont(sample.Font);
    label.setShadow(sample.DirectionShadow, sample.DepthShadow, sample.colorShadow);
    label.setHighlight(sample.DirectionHighlight, sample.DepthHighlight, sample.colorHighlight);
    return true;
}

bool DesignDialogWindows::selectField(const QStringList& labels, QString* chosen)
{
    QDialog d;
    d.setWindowTitle(QStringLiteral("Select Field"));
    auto* list = new QListWidget(&d);
    list->setObjectName(QStringLiteral("ListOfFields"));
    list->addItems(labels);
    const int at = labels.indexOf(*chosen);
    list->setCurrentRow(at >= 0 ? at : 0);
    auto* lay = new QVBoxLayout(&d);
    lay->addWidget(list);
    lay->addWidget(okCancelHelp(d, 40007));
    if (d.exec() != QDialog::Accepted || !list->currentItem())
        return false;
    *chosen = list->currentItem()->text();
    return true;
}

bool DesignDialogWindows::counterSettings(CounterSettings* s)
{
    QDialog d;
    d.setWindowTitle(QStringLiteral("Counter"));
    auto* start = new QSpinBox(&d);
    start->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    start->setValue(s->startingNumber);
    auto* repeat = new QSpinBox(&d);
    repeat->setRange(1, 999);
    repeat->setValue(s->repeatEach);
    auto* before = new QLineEdit(s->textBefore, &d);
    auto* after = new QLineEdit(s->textAfter, &d);
    auto* zeros = new QSpinBox(&d);
    zeros->setRange(0, 9);
    zeros->setValue(s->leadingZeros);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Starting Number")), 0, 0);
    grid->addWidget(start, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Repeat number for #of  labels?")), 1, 0);
    grid->addWidget(repeat, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Text  before")), 2, 0);
    grid->addWidget(before, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Text after")), 3, 0);
    grid->addWidget(after, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Leading zeros to ")), 4, 0);
    grid->addWidget(zeros, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("digits")), 4, 2);
    auto* lay = new QVBoxLayout(&d);
    lay->addLayout(grid);
    lay->addWidget(okCancelHelp(d, 40006));
    if (d.exec() != QDialog::Accepted)
        return false;
    *s = {start->value(), repeat->value(), before->text(), after->text(), zeros->value()};
    return true;
}

bool DesignDialogWindows::symbolSelector(LayoutFont* font, QString* character)
{
    QDialog d;
    d.setWindowTitle(QStringLiteral("Symbol Selector"));
    LayoutFont f = *font;
    auto* list = new QListWidget(&d);
    list->setViewMode(QListView::IconMode);
    // Each code is shown as the chosen font pictures it.
    auto fill = [&] {
        list->setFont(screenFont(f));
        const int row = list->currentRow();
        list->clear();
        for (int code = 32; code <= 255; ++code)
            list->addItem(symbolFontText(f.name, QString(QChar(code))));
        list->setCurrentRow(row);
    };
    fill();
    const int current = character->isEmpty() ? 0 : character->at(0).unicode() - 32;
    list->setCurrentRow(std::clamp(current, 0, 223));
    auto* fontButton = new QPushButton(&d);
    auto caption = [&] {
        QString c = f.name + QStringLiteral(" ") + QString::number(f.points()) + QStringLiteral("pt ");
        if (f.style & fsBold)
            c += QStringLiteral("Bold ");
        if (f.style & fsItalic)
            c += QStringLiteral("Italic ");
        fontButton->setText(c);
    };
    caption();
    QObject::connect(fontButton, &QPushButton::clicked, &d, [&] {
        if (chooseFont(&f)) {
            fill();
            caption();
        }
    });
    auto* lay = new QVBoxLayout(&d);
    lay->addWidget(list);
    lay->addWidget(fontButton);
    lay->addWidget(okCancelHelp(d, 40005));
    if (d.exec() != QDialog::Accepted)
        return false;
    *font = f;
    *character = QString(QChar(list->currentRow() + 32));
    return true;
}

} // namespace postavo::design
