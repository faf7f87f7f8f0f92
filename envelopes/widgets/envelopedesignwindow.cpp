#include "envelopedesignwindow.h"

#include "addressfile.h"
#include "dialogkit.h"
#include "envelopehelp.h"
#include "envelopepanel.h"
#include "envelopesizedialog.h"
#include "settings.h"
#include "windowplacement.h"

#include <QAction>
#include <QApplication>
#include <QActionGroup>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace postavo::envelopes {

namespace {

// The tools' pictures, drawn rather than shipped.
QIcon toolIcon(TLPanelState s)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    const QRect box(2, 2, 20, 20);
    switch (s) {
    case psPointing: {
        const QPointF arrow[] = {{7, 3}, {7, 19}, {11, 15}, {14, 21}, {16, 20}, {13, 14}, {18, 14}};
        p.setBrush(Qt::white);
        p.drawPolygon(arrow, 7);
        break;
    }
    case psLabel: p.drawText(box, Qt::AlignCenter, QStringLiteral("A")); break;
    case psDataLabel: p.drawText(box, Qt::AlignCenter, QStringLiteral("db")); break;
    case psMultiLineLabel:
        for (int y = 6; y <= 18; y += 4)
            p.drawLine(4, y, 20, y);
        break;
    case psAddressLabel:
        p.drawRect(3, 5, 18, 14);
        for (int y = 9; y <= 15; y += 3)
            p.drawLine(6, y, 16, y);
        break;
    case psRectangle: p.drawRect(4, 6, 16, 12); break;
    case psEllipse: p.drawEllipse(QRect(3, 6, 18, 12)); break;
    case psRoundRectangle: p.drawRoundedRect(QRect(3, 6, 18, 12), 4, 4); break;
    case psLine: p.drawLine(4, 20, 20, 4); break;
    case psImage:
        p.drawRect(3, 4, 18, 16);
        p.drawLine(5, 18, 10, 11);
        p.drawLine(10, 11, 14, 16);
        p.drawLine(14, 16, 19, 9);
        break;
    case psPostNetBarCode:
        p.setPen(QPen(Qt::black, 1.4));
        for (int i = 0; i < 8; ++i) {
            const bool full = i % 3 != 1;
            p.drawLine(QPointF(3.5 + 2.4 * i, full ? 7 : 12), QPointF(3.5 + 2.4 * i, 17));
        }
        break;
    case psFIMBarCode: p.drawText(box, Qt::AlignCenter, QStringLiteral("FIM")); break;
    case psIntelligentMailBarCode: {
        const char pattern[] = "FADTFDATF";
        p.setPen(QPen(Qt::black, 1.4));
        for (int i = 0; i < 9; ++i) {
            const char b = pattern[i];
            p.drawLine(QPointF(3 + 2.2 * i, b == 'F' || b == 'A' ? 5 : 10), QPointF(3 + 2.2 * i, b == 'F' || b == 'D' ? 19 : 14));
        }
        break;
    }
    }
    return QIcon(pm);
}

} // namespace

TEnvelopeDesignScreen::TEnvelopeDesignScreen(AddressTable* table, QWidget* parent) : QDialog(parent), table_(table)
{
    registerEnvelopeHelp();
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Envelope Design Screen"));
    enableWhatsThis(this);
    setSizeGripEnabled(true);

    // ---- top: description and default font ----
    descriptionEdit_ = new QLineEdit(this);
    descriptionEdit_->setObjectName(QStringLiteral("Description"));
    descriptionEdit_->setMaxLength(60);
    explain(descriptionEdit_, QStringLiteral("The name of this envelope layout in the list (50 characters are kept)."));
    connect(descriptionEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        description_ = keptDescription(text);
        save_->show();
    });
    fontButton_ = new QPushButton(this);
    fontButton_->setObjectName(QStringLiteral("DefaultFont"));
    fontButton_->setAutoDefault(false);
    explain(fontButton_, QStringLiteral("The font new text objects take."));
    connect(fontButton_, &QPushButton::clicked, this, &TEnvelopeDesignScreen::chooseDefaultFont);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Description:"), this));
    top->addWidget(descriptionEdit_, 1);
    top->addWidget(fontButton_);

    // ---- the surface ----
    panel_ = new TEnvelopePanel(nullptr, this);
    panel_->setDataset(table_);
    panel_->LabelChangedEvent = [this](design::TGBasePanel*) { surfaceChanged(); };
    panel_->DroppedObjectEvent = [this](const QRect&) { setTool(psPointing); };
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("SurfaceArea"));
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setWidget(panel_);
    scroll_->setAlignment(Qt::AlignCenter);

    // ---- tool bar ----
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("Tools"));
    buildToolBar(bar);

    // ---- bottom ----
    auto button = [this](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* cancel = button(QStringLiteral("Cancel"), "Cancel");
    save_ = button(QStringLiteral("Save"), "Save");
    QPushButton* changeSizeButton = button(QStringLiteral("Change Size"), "ChangeSize");
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(save_, &QPushButton::clicked, this, &TEnvelopeDesignScreen::saveAndClose);
    connect(changeSizeButton, &QPushButton::clicked, this, &TEnvelopeDesignScreen::changeSize);
    explain(changeSizeButton, QStringLiteral("Choose another envelope size for this layout."));
    auto* bottom = new QHBoxLayout;
    const char* navNames[] = {"First", "Previous", "Next", "Last"};
    const char* navCaptions[] = {"|<", "<", ">", ">|"};
    for (int i = 0; i < 4; ++i) {
        QPushButton* b = button(QString::fromLatin1(navCaptions[i]), navNames[i]);
        b->setMaximumWidth(36);
        b->setEnabled(table_ != nullptr);
        explain(b, QStringLiteral("Moves to the %1 record; the objects show its values.").arg(QString::fromLatin1(navNames[i]).toLower()));
        connect(b, &QPushButton::clicked, this, [this, i] { moveRecord(i); });
        bottom->addWidget(b);
    }
    bottom->addStretch();
    bottom->addWidget(changeSizeButton);
    bottom->addWidget(cancel);
    bottom->addWidget(save_);
    bottom->addWidget(makeHelpButton(this, help::DesignScreen));
    bottom->addWidget(makeMouseHelpButton(this));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(bar);
    layout->addWidget(scroll_, 1);
    layout->addLayout(bottom);
    resize(1000, 640);
    setDescription(QString());
}

TEnvelopeDesignScreen::~TEnvelopeDesignScreen() { qApp->removeEventFilter(this); }

void TEnvelopeDesignScreen::buildToolBar(QToolBar* bar)
{
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (const EnvelopeTool& t : envelopeTools()) {
        QAction* a = bar->addAction(toolIcon(t.state), QString::fromLatin1(*t.caption ? t.caption : t.hint));
        a->setObjectName(QStringLiteral("Tool%1").arg(int(t.state)));
        a->setToolTip(QString::fromLatin1(t.hint));
        a->setWhatsThis(QString::fromLatin1(t.hint));
        a->setCheckable(true);
        group->addAction(a);
        const TLPanelState state = t.state;
        connect(a, &QAction::triggered, this, [this, state] { setTool(state); });
        tools_.insert(int(t.state), a);
    }
    tools_.value(psPointing)->setChecked(true);
    bar->addSeparator();
    auto toggleAction = [this, bar](const QString& hint, const char* name, const QString& text) {
        QAction* a = bar->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setToolTip(hint);
        a->setWhatsThis(hint);
        a->setCheckable(true);
        return a;
    };
    QAction* grid = toggleAction(QStringLiteral("Show grid"), "ShowGrid", QStringLiteral("Grid"));
    connect(grid, &QAction::toggled, this, [this](bool on) { panel_->setShowGrid(on); });
    QAction* snap = toggleAction(QStringLiteral("Snap to Grid"), "SnapToGrid", QStringLiteral("Snap"));
    connect(snap, &QAction::toggled, this, [this](bool on) { panel_->setSnapToGrid(on); });
    QAction* names = toggleAction(QStringLiteral("Toggle display of field names or field values"), "FieldNames",
                                  QStringLiteral("Names"));
    connect(names, &QAction::toggled, this, [this](bool on) { panel_->setDisplayDataValues(!on); });
    QAction* margins = toggleAction(QStringLiteral("Show the current printer's unprintable areas"), "PrinterMargins",
                                    QStringLiteral("Margins"));
    connect(margins, &QAction::toggled, this, [this](bool on) { panel_->setShowPrinterMargins(on); });
    QAction* usps = toggleAction(QStringLiteral("Show USPS Automation Template"), "UspsTemplate", QStringLiteral("USPS"));
    connect(usps, &QAction::toggled, this, [this](bool on) { panel_->setShowUspsTemplate(on); });
    bar->addSeparator();
    zoomLabel_ = new QLabel(zoomCaption(1.0f), this);
    zoomLabel_->setObjectName(QStringLiteral("Zoom"));
    zoomLabel_->setMinimumWidth(44);
    zoomLabel_->setAlignment(Qt::AlignCenter);
    zoomLabel_->setWhatsThis(QStringLiteral("The zoom; the arrows (or + and - on the number pad) change it."));
    bar->addWidget(zoomLabel_);
    auto spin = [this, bar](Qt::ArrowType arrow, const char* name, bool up) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setArrowType(arrow);
        b->setAutoRepeat(true);
        b->setToolTip(up ? QStringLiteral("Zoom in") : QStringLiteral("Zoom out"));
        connect(b, &QToolButton::clicked, this, [this, up] { changeZoom(up); });
        bar->addWidget(b);
    };
    spin(Qt::UpArrow, "ZoomUp", true);
    spin(Qt::DownArrow, "ZoomDown", false);
}

QAction* TEnvelopeDesignScreen::toolAction(TLPanelState state) const { return tools_.value(int(state)); }

QAction* TEnvelopeDesignScreen::toggle(const QString& objectName) const { return findChild<QAction*>(objectName); }

void TEnvelopeDesignScreen::setTool(TLPanelState state)
{
    panel_->setPanelState(state);
    if (QAction* a = tools_.value(int(state)))
        a->setChecked(true);
}

void TEnvelopeDesignScreen::setDescription(const QString& description)
{
    description_ = keptDescription(description);
    descriptionEdit_->setText(description);
}

void TEnvelopeDesignScreen::setSizeCode(int code)
{
    code_ = code;
    if (activated_)
        panel_->sizeFromCode(code_);
}

void TEnvelopeDesignScreen::setPrinterArea(const PrinterArea& area) { panel_->setPrinterArea(area); }

void TEnvelopeDesignScreen::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated_)
        return;
    activated_ = true;
    Settings settings;
    restorePlacement(this, QString::fromLatin1(kClassName), settings, parentWidget() ? parentWidget()->window() : nullptr);
    panel_->setSurfaceFont(layoutFont(readDefaultFont(settings, FontSection::Envelope)));
    panel_->sizeFromCode(code_);
    panel_->show();
    // The objects settle their sizes as they are first painted (a FIM mark turns square, text
    // fits its font): paint once now, so that only the user's changes show "Save".
    panel_->grab();
    save_->hide();
    refreshFontCaption();
    watching_ = true;
    // The window's keys (scrolling, zoom) come before the focused control's.
    qApp->installEventFilter(this);
}

void TEnvelopeDesignScreen::done(int result)
{
    qApp->removeEventFilter(this);
    if (activated_) {
        Settings settings;
        storePlacement(this, QString::fromLatin1(kClassName), settings);
    }
    QDialog::done(result);
}

void TEnvelopeDesignScreen::surfaceChanged()
{
    if (watching_)
        save_->show();
}

void TEnvelopeDesignScreen::changeZoom(bool up)
{
    const float next = zoomStep(panel_->zoom(), up);
    if (next == panel_->zoom())
        return;
    panel_->selection().clear();
    panel_->setZoom(next);
    zoomLabel_->setText(zoomCaption(next));
    panel_->update();
}

void TEnvelopeDesignScreen::zoomIn() { changeZoom(true); }
void TEnvelopeDesignScreen::zoomOut() { changeZoom(false); }

void TEnvelopeDesignScreen::changeSize()
{
    const std::optional<int> chosen = chooseSize ? chooseSize(code_) : TChooseEnvelopeLayout::choose(code_, this);
    if (!chosen)
        return;
    const bool changed = *chosen != code_;
    code_ = *chosen;
    panel_->sizeFromCode(code_);
    panel_->pullObjectsInside();
    // A new size is a change of the layout too: without "Save" it could not be kept.
    if (changed && watching_)
        save_->show();
}

void TEnvelopeDesignScreen::saveAndClose()
{
    panel_->deleteOutsideObjects();
    description_ = keptDescription(descriptionEdit_->text());
    accept();
}

void TEnvelopeDesignScreen::chooseDefaultFont()
{
    bool ok = false;
    const QFont start = design::screenFont(panel_->surfaceFont());
    QFont chosen = QFontDialog::getFont(&ok, start, this, QStringLiteral("Default Font"));
    DefaultFont f = defaultFontOf(panel_->surfaceFont());
    if (ok) {
        f.name = chosen.family();
        f.size = chosen.pointSize() > 0 ? chosen.pointSize() : f.size;
        f.bold = chosen.bold();
        f.italic = chosen.italic();
        panel_->setSurfaceFont(layoutFont(f));
    }
    Settings settings;
    writeDefaultFont(settings, FontSection::Envelope, f);
    refreshFontCaption();
}

void TEnvelopeDesignScreen::refreshFontCaption()
{
    fontButton_->setText(defaultFontCaption(defaultFontOf(panel_->surfaceFont())));
}

void TEnvelopeDesignScreen::moveRecord(int which)
{
    if (!table_ || !table_->isOpen())
        return;
    switch (which) {
    case 0: table_->first(); break;
    case 1: table_->previous(); break;
    case 2: table_->next(); break;
    default: table_->last(); break;
    }
    panel_->refreshObjects();
    panel_->update();
}

bool TEnvelopeDesignScreen::eventFilter(QObject* watched, QEvent* e)
{
    auto* w = qobject_cast<QWidget*>(watched);
    if ((e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) && w && w->window() == this
        && !descriptionEdit_->hasFocus()) {
        auto* k = static_cast<QKeyEvent*>(e);
        QScrollBar* v = scroll_->verticalScrollBar();
        if (e->type() == QEvent::KeyRelease && (k->modifiers() & Qt::KeypadModifier)
            && (k->key() == Qt::Key_Plus || k->key() == Qt::Key_Minus)) {
            changeZoom(k->key() == Qt::Key_Plus);
            return true;
        }
        if (e->type() == QEvent::KeyPress) {
            switch (k->key()) {
            case Qt::Key_PageUp: v->setValue(v->value() - v->singleStep()); return true;
            case Qt::Key_PageDown: v->setValue(v->value() + v->singleStep()); return true;
            case Qt::Key_Home: v->setValue(v->minimum()); return true;
            case Qt::Key_End: v->setValue(v->maximum()); return true;
            default: break;
            }
        }
    }
    return QDialog::eventFilter(watched, e);
}

} // namespace postavo::envelopes
