#include "richtexttoolbar.h"

#include "richtextedit.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QTextBlockFormat>
#include <QTextCharFormat>

namespace postavo::richtext {

namespace {

// Small drawn icons, so that the tool bar looks the same without an icon theme.
QIcon letterIcon(const QString& letter, bool bold, bool italic, bool underline)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont f(QStringLiteral("Liberation Serif"));
    f.setPixelSize(14);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, letter);
    return QIcon(pm);
}

QIcon alignIcon(Qt::Alignment a)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    const int widths[5] = {14, 9, 12, 8, 14};
    for (int i = 0; i < 5; ++i) {
        const int w = a == Qt::AlignJustify ? 14 : widths[i];
        const int x = a == Qt::AlignRight ? 15 - w : a == Qt::AlignHCenter ? (16 - w) / 2 : 1;
        p.drawLine(x, 2 + i * 3, x + w - 1, 2 + i * 3);
    }
    return QIcon(pm);
}

QIcon editIcon(int kind)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    if (kind == 0) {  // copy: two sheets
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 8, 10));
        p.drawRect(QRectF(6.5, 4.5, 8, 10));
    } else if (kind == 1) {  // cut: scissors
        p.drawLine(QPointF(4, 1), QPointF(10, 11));
        p.drawLine(QPointF(12, 1), QPointF(6, 11));
        p.drawEllipse(QPointF(4.5, 13), 2.5, 2.5);
        p.drawEllipse(QPointF(11.5, 13), 2.5, 2.5);
    } else {  // paste: a clipboard with a sheet
        p.setBrush(QColor(190, 150, 90));
        p.drawRect(QRectF(1.5, 2.5, 10, 12));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 6.5, 8, 8));
        p.drawRect(QRectF(4.5, 1.5, 4, 2));
    }
    return QIcon(pm);
}

QIcon swatch(const QColor& c)
{
    QPixmap pm(14, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(Qt::gray);
    if (c.isValid())
        p.setBrush(c);
    p.drawRect(0, 0, 13, 13);
    if (!c.isValid())
        p.drawLine(0, 13, 13, 0);
    return QIcon(pm);
}

} // namespace

QList<int> RichTextToolBar::fontSizes()
{
    return {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
}

QList<QPair<QString, QColor>> RichTextToolBar::colors()
{
    return {{QStringLiteral("Black"), QColor(0, 0, 0)},       {QStringLiteral("Maroon"), QColor(128, 0, 0)},
            {QStringLiteral("Green"), QColor(0, 128, 0)},     {QStringLiteral("Olive"), QColor(128, 128, 0)},
            {QStringLiteral("Navy"), QColor(0, 0, 128)},      {QStringLiteral("Purple"), QColor(128, 0, 128)},
            {QStringLiteral("Teal"), QColor(0, 128, 128)},    {QStringLiteral("Gray"), QColor(128, 128, 128)},
            {QStringLiteral("Silver"), QColor(192, 192, 192)}, {QStringLiteral("Red"), QColor(255, 0, 0)},
            {QStringLiteral("Lime"), QColor(0, 255, 0)},      {QStringLiteral("Yellow"), QColor(255, 255, 0)},
            {QStringLiteral("Blue"), QColor(0, 0, 255)},      {QStringLiteral("Fuchsia"), QColor(255, 0, 255)},
            {QStringLiteral("Aqua"), QColor(0, 255, 255)},    {QStringLiteral("White"), QColor(255, 255, 255)}};
}

RichTextToolBar::RichTextToolBar(RichTextEdit* edit, QWidget* parent) : QToolBar(parent), edit_(edit)
{
    setIconSize(QSize(16, 16));
    font_ = new QFontComboBox(this);
    font_->setToolTip(QStringLiteral("Font"));
    font_->setWritingSystem(QFontDatabase::Latin);
    addWidget(font_);
    size_ = new QComboBox(this);
    size_->setEditable(true);
    size_->setToolTip(QStringLiteral("Font Size"));
    for (int s : fontSizes())
        size_->addItem(QString::number(s));
    size_->setMinimumContentsLength(3);
    addWidget(size_);

    color_ = new QComboBox(this);
    color_->setToolTip(QStringLiteral("Font Color"));
    color_->addItem(swatch(QColor()), QStringLiteral("Automatic"), QColor());
    background_ = new QComboBox(this);
    background_->setToolTip(QStringLiteral("Background Color"));
    background_->addItem(swatch(QColor()), QStringLiteral("None"), QColor());
    for (const auto& [name, c] : colors()) {
        color_->addItem(swatch(c), name, c);
        background_->addItem(swatch(c), name, c);
    }
    addWidget(color_);
    addWidget(background_);
    addSeparator();

    normal_ = addAction(letterIcon(QStringLiteral("N"), false, false, false), QStringLiteral("Normal"));
    bold_ = addAction(letterIcon(QStringLiteral("B"), true, false, false), QStringLiteral("Bold"));
    italic_ = addAction(letterIcon(QStringLiteral("I"), false, true, false), QStringLiteral("Italic"));
    underline_ = addAction(letterIcon(QStringLiteral("U"), false, false, true), QStringLiteral("Underline"));
    for (QAction* a : {bold_, italic_, underline_})
        a->setCheckable(true);
    addSeparator();
    auto* alignments = new QActionGroup(this);
    left_ = addAction(alignIcon(Qt::AlignLeft), QStringLiteral("Align Left"));
    right_ = addAction(alignIcon(Qt::AlignRight), QStringLiteral("Align Right"));
    justify_ = addAction(alignIcon(Qt::AlignJustify), QStringLiteral("Justify"));
    center_ = addAction(alignIcon(Qt::AlignHCenter), QStringLiteral("Center"));
    for (QAction* a : {left_, right_, justify_, center_}) {
        a->setCheckable(true);
        alignments->addAction(a);
    }
    addSeparator();
    copy_ = addAction(editIcon(0), QStringLiteral("Copy"));
    cut_ = addAction(editIcon(1), QStringLiteral("Cut"));
    paste_ = addAction(editIcon(2), QStringLiteral("Paste"));

    connect(font_, &QFontComboBox::textActivated, this, [this](const QString& family) {
        edit_->setFontFamily(family);
        edit_->setFocus();
    });
    connect(size_, &QComboBox::textActivated, this, [this](const QString& text) {
        bool ok = false;
        const double points = text.toDouble(&ok);
        if (ok && points >= 1 && points <= 1638)
            edit_->setFontPointSize(points);
        edit_->setFocus();
    });
    connect(color_, &QComboBox::activated, this, [this](int i) {
        edit_->setTextColor(color_->itemData(i).value<QColor>());
        edit_->setFocus();
    });
    connect(background_, &QComboBox::activated, this, [this](int i) {
        edit_->setTextBackground(background_->itemData(i).value<QColor>());
        edit_->setFocus();
    });
    connect(normal_, &QAction::triggered, edit_, &RichTextEdit::setNormal);
    connect(bold_, &QAction::triggered, edit_, &RichTextEdit::setBold);
    connect(italic_, &QAction::triggered, edit_, &RichTextEdit::setItalic);
    connect(underline_, &QAction::triggered, edit_, &RichTextEdit::setUnderline);
    connect(left_, &QAction::triggered, this, [this] { edit_->setAlignment(Qt::AlignLeft); });
    connect(right_, &QAction::triggered, this, [this] { edit_->setAlignment(Qt::AlignRight); });
    connect(justify_, &QAction::triggered, this, [this] { edit_->setAlignment(Qt::AlignJustify); });
    connect(center_, &QAction::triggered, this, [this] { edit_->setAlignment(Qt::AlignHCenter); });
    connect(copy_, &QAction::triggered, edit_, &RichTextEdit::copy);
    connect(cut_, &QAction::triggered, edit_, &RichTextEdit::cut);
    connect(paste_, &QAction::triggered, edit_, &RichTextEdit::paste);
    connect(edit_, &RichTextEdit::copyAvailable, copy_, &QAction::setEnabled);
    connect(edit_, &RichTextEdit::copyAvailable, cut_, &QAction::setEnabled);
    connect(edit_, &RichTextEdit::currentCharFormatChanged, this, &RichTextToolBar::showCharFormat);
    connect(edit_, &RichTextEdit::currentBlockFormatChanged, this, &RichTextToolBar::showBlockFormat);
    showCharFormat(edit_->currentCharFormat());
    showBlockFormat(edit_->textCursor().blockFormat());
    copy_->setEnabled(edit_->textCursor().hasSelection());
    cut_->setEnabled(edit_->textCursor().hasSelection());
}

void RichTextToolBar::showCharFormat(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    font_->setCurrentFont(QFont(families.value(0, edit_->document()->defaultFont().family())));
    const double points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                          : edit_->document()->defaultFont().pointSizeF();
    size_->setEditText(QString::number(points));
    bold_->setChecked(format.fontWeight() >= QFont::DemiBold);
    italic_->setChecked(format.fontItalic());
    underline_->setChecked(format.underlineStyle() != QTextCharFormat::NoUnderline);
    const QColor fg = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : QColor();
    const QColor bg = format.hasProperty(QTextFormat::BackgroundBrush) ? format.background().color() : QColor();
    const int fi = color_->findData(fg);
    color_->setCurrentIndex(fi >= 0 ? fi : 0);
    const int bi = background_->findData(bg);
    background_->setCurrentIndex(bi >= 0 ? bi : 0);
}

void RichTextToolBar::showBlockFormat(const QTextBlockFormat& format)
{
    const Qt::Alignment a = format.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignRight)
        right_->setChecked(true);
    else if (a & Qt::AlignHCenter)
        center_->setChecked(true);
    else if (a & Qt::AlignJustify)
        justify_->setChecked(true);
    else
        left_->setChecked(true);
}

} // namespace postavo::richtext
