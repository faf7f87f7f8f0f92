#include "labeldesignwindow.h"

#include "addressfile.h"
#include "dialogkit.h"
#include "labelhelp.h"
#include "labelsheetwindows.h"
#include "messageboxes.h"
#include "settings.h"
#include "windowplacement.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace postavo::labels {

namespace {

// The tool bar's pictures, drawn rather than shipped: each shows what its tool places.
QIcon toolIcon(TLPanelState state)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    const QRect box(3, 3, 18, 18);
    switch (state) {
    case psPointing: {
        QPainterPath arrow;
        arrow.moveTo(7, 3);
        arrow.lineTo(7, 19);
        arrow.lineTo(11, 15);
        arrow.lineTo(14, 21);
        arrow.lineTo(16, 20);
        arrow.lineTo(13, 14);
        arrow.lineTo(18, 14);
        arrow.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        break;
    }
    case psLabel: p.drawText(box, Qt::AlignCenter, QStringLiteral("A")); break;
    case psCounterLabel: p.drawText(box, Qt::AlignCenter, QStringLiteral("12")); break;
    case psSymbolLabel: p.drawText(box, Qt::AlignCenter, QString(QChar(0x263A))); break;
    case psDataLabel:
        p.drawRect(QRectF(2.5, 6.5, 19, 11));
        p.setFont(QFont(f.family(), 7));
        p.drawText(QRect(2, 6, 20, 12), Qt::AlignCenter, QStringLiteral("ab"));
        break;
    case psMultiLineLabel:
        for (int y : {6, 11, 16})
            p.drawLine(QPointF(4, y), QPointF(y == 16 ? 14 : 20, y));
        break;
    case psMultiLineDataLabel:
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        for (int y : {8, 12, 16})
            p.drawLine(QPointF(6, y), QPointF(18, y));
        break;
    case psAddressLabel:
        p.drawRect(QRectF(2.5, 5.5, 19, 13));
        for (int y : {9, 12, 15})
            p.drawLine(QPointF(5, y), QPointF(y == 9 ? 12 : 16, y));
        break;
    case psRectangle: p.drawRect(QRectF(3.5, 6.5, 17, 11)); break;
    case psEllipse: p.drawEllipse(QRectF(3.5, 6.5, 17, 11)); break;
    case psRoundRectangle: p.drawRoundedRect(QRectF(3.5, 6.5, 17, 11), 4, 4); break;
    case psLine: p.drawLine(QPointF(12, 3), QPointF(12, 21)); break;
    case psImage:
        p.drawRect(QRectF(3.5, 5.5, 17, 13));
        p.drawLine(QPointF(5, 17), QPointF(10, 11));
        p.drawLine(QPointF(10, 11), QPointF(13, 14));
        p.drawLine(QPointF(13, 14), QPointF(16, 10));
        p.drawLine(QPointF(16, 10), QPointF(19, 17));
        break;
    case psPostNetBarCode:
        p.setPen(QPen(Qt::black, 1.2));
        for (int i = 0; i < 9; ++i) {
            const double x = 3.5 + i * 2;
            const bool full = i % 3 != 1;
            p.drawLine(QPointF(x, full ? 7 : 12), QPointF(x, 17));
        }
        break;
    }
    return QIcon(pm);
}

QIcon toggleIcon(const QString& text)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, text);
    return QIcon(pm);
}

const char* const kToolHelp[kToolCount] = {
    "Select, move and size objects.",
    "Places a text you type.",
    "Places a number that counts up as labels print.",
    "Places one character of a symbol font.",
    "Places one field of the address record.",
    "Places several lines of text you type.",
    "Places the memo of the address record.",
    "Places the mailing address of the record: name, organisation, street, city, state and zip.",
    "Places a rectangle.",
    "Places an ellipse.",
    "Places a rectangle with rounded corners.",
    "Places a line.",
    "Places a picture.",
    "Places the POSTNET barcode of the record's zip code (labels at least 2.85 inches wide).",
};

} // namespace

TLabelDesignScreen::TLabelDesignScreen(QWidget* parent, LabelDesignerUi* ui)
    : QDialog(parent)
{
    registerLabelHelpTopics();
    setObjectName(QLatin1String(kClassName));
    setWindowTitle(QStringLiteral("Label Design Screen"));
    enableWhatsThis(this);
    setSizeGripEnabled(true);
    showMessage = [this](const QString& text) { showInformation(text, this); };
    if (!ui) {
        auto* own = new LabelSheetWindows(this);
        ownUi_.reset(own);
        ui = own;
    }

    // ---- the surface in a scrolled grey area ----
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("SurfaceArea"));
    scroll_->setBackgroundRole(QPalette::Dark);
    container_ = new QWidget;
    container_->setObjectName(QStringLiteral("SurfaceBack"));
    panel_ = new TGLabelPanel(container_, this);
    panel_->move(12, 12);
    panel_->installEventFilter(this);
    panel_->selectionFrame()->installEventFilter(this);
    scroll_->setWidget(container_);
    scroll_->setWidgetResizable(false);
    design_ = std::make_unique<LabelDesign>(panel_->rules(), *ui);
    design_->stateChanged = [this] { sync(); };
    panel_->LabelChangedEvent = [this](design::TGBasePanel*) { design_->surfaceChanged(); };

    // ---- top: layout, description, default font ----
    layout_ = new QLabel(this);
    layout_->setObjectName(QStringLiteral("LayoutName"));
    description_ = new QLineEdit(this);
    description_->setObjectName(QStringLiteral("Description"));
    description_->setMaxLength(60);
    explain(description_, QStringLiteral("The name of this label layout in the list of layouts (50 characters are kept)."));
    connect(description_, &QLineEdit::textEdited, this, [this](const QString& t) { design_->setDescription(t); });
    font_ = new QPushButton(this);
    font_->setObjectName(QStringLiteral("DefaultFont"));
    font_->setAutoDefault(false);
    explain(font_, QStringLiteral("The font new text objects start with."));
    connect(font_, &QPushButton::clicked, this, [this] {
        Settings settings;
        design_->chooseDefaultFont(settings);
    });
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Layout:"), this));
    top->addWidget(layout_, 1);
    top->addWidget(new QLabel(QStringLiteral("Description:"), this));
    top->addWidget(description_, 2);
    top->addWidget(font_);

    // ---- tool bar ----
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("Tools"));
    buildToolBar(toolBar_);

    // ---- bottom ----
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    save_ = new QPushButton(QStringLiteral("Save"), this);
    save_->setObjectName(QStringLiteral("SaveButton"));
    changeLayout_ = new QPushButton(QStringLiteral("Change Layout"), this);
    changeLayout_->setObjectName(QStringLiteral("ChangeLayout"));
    for (QPushButton* b : {cancel_, save_, changeLayout_})
        b->setAutoDefault(false);
    explain(cancel_, QStringLiteral("Closes the designer without keeping the changes."));
    explain(save_, QStringLiteral("Keeps the layout and closes the designer."));
    explain(changeLayout_, QStringLiteral("Picks another label stock for this layout."));
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(save_, &QPushButton::clicked, this, [this] { saveClick(); });
    connect(changeLayout_, &QPushButton::clicked, this, [this] {
        design_->changeLayout();
        fitContainer();
    });
    auto* mouseHelp = new QToolButton(this);
    mouseHelp->setObjectName(QStringLiteral("MouseHelp"));
    mouseHelp->setText(QStringLiteral("?"));
    mouseHelp->setToolTip(QStringLiteral("Click here, then on any part of the window to learn what it does"));
    connect(mouseHelp, &QToolButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
    const char* const moves[] = {"|<", "<", ">", ">|"};
    const char* const moveNames[] = {"FirstRecord", "PriorRecord", "NextRecord", "LastRecord"};
    const char* const moveHelp[] = {"The first record of the address file.", "The record before this one.",
                                    "The record after this one.", "The last record of the address file."};
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cancel_);
    bottom->addWidget(save_);
    bottom->addWidget(makeHelpButton(this, kLabelDesignHelpTopic));
    bottom->addWidget(mouseHelp);
    bottom->addWidget(changeLayout_);
    bottom->addStretch();
    for (int i = 0; i < 4; ++i) {
        records_[i] = new QPushButton(QLatin1String(moves[i]), this);
        records_[i]->setObjectName(QLatin1String(moveNames[i]));
        records_[i]->setAutoDefault(false);
        records_[i]->setFixedWidth(36);
        explain(records_[i], QLatin1String(moveHelp[i]));
        connect(records_[i], &QPushButton::clicked, this, [this, i] { design_->moveRecord(RecordMove(i)); });
        bottom->addWidget(records_[i]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(toolBar_);
    layout->addWidget(scroll_, 1);
    layout->addLayout(bottom);
    resize(760, 480);

    Settings settings;
    design_->loadDefaultFont(settings);
    sync();
}

TLabelDesignScreen::~TLabelDesignScreen()
{
    // The surface's objects go before the design that watches them.
    panel_->LabelChangedEvent = nullptr;
    panel_->DroppedObjectEvent = nullptr;
    design_->stateChanged = nullptr;
}

void TLabelDesignScreen::buildToolBar(QToolBar* bar)
{
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (int i = 0; i < kToolCount; ++i) {
        const auto state = TLPanelState(i);
        QAction* a = bar->addAction(toolIcon(state), toolHint(state));
        a->setObjectName(toolName(state));
        a->setCheckable(true);
        a->setToolTip(toolHint(state));
        a->setWhatsThis(QLatin1String(kToolHelp[i]));
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, state] {
            design_->selectTool(state);
            sync();
        });
        tools_ << a;
    }
    bar->addSeparator();
    auto toggle = [&](const char* hint, const char* picture, const char* name, const char* help) {
        QAction* a = bar->addAction(toggleIcon(QLatin1String(picture)), QLatin1String(hint));
        a->setObjectName(QLatin1String(name));
        a->setCheckable(true);
        a->setToolTip(QLatin1String(hint));
        a->setWhatsThis(QLatin1String(help));
        return a;
    };
    grid_ = toggle("Show grid", "#", "ShowGrid", "Shows the grid dots.");
    snap_ = toggle("Snap to Grid", "|#", "SnapToGrid", "Moves and sizes objects in steps of the grid.");
    art_ = toggle("Show art", "Art", "ShowArt", "Shows the label stock's artwork behind the design (never printed).");
    fieldNames_ = toggle("Toggle display of field names or field values", "[F]", "FieldNames",
                         "Down: the objects show the names of their fields. Up: the values of the current record.");
    connect(grid_, &QAction::toggled, this, [this](bool on) {
        if (!syncing_)
            design_->setShowGrid(on);
    });
    connect(snap_, &QAction::toggled, this, [this](bool on) {
        if (!syncing_)
            design_->setSnapToGrid(on);
    });
    connect(art_, &QAction::toggled, this, [this](bool on) {
        if (!syncing_)
            design_->setArtDown(on);
    });
    connect(fieldNames_, &QAction::toggled, this, [this](bool on) {
        if (!syncing_)
            design_->setShowFieldNames(on);
    });
    bar->addSeparator();
    zoom_ = new QLabel(this);
    zoom_->setObjectName(QStringLiteral("Zoom"));
    zoom_->setMinimumWidth(40);
    zoom_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    explain(zoom_, QStringLiteral("How large the label is shown."));
    bar->addWidget(zoom_);
    auto* spinner = new QWidget(this);
    auto* v = new QVBoxLayout(spinner);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    zoomUp_ = new QToolButton(spinner);
    zoomUp_->setObjectName(QStringLiteral("ZoomUp"));
    zoomUp_->setArrowType(Qt::UpArrow);
    zoomUp_->setFixedSize(18, 11);
    zoomDown_ = new QToolButton(spinner);
    zoomDown_->setObjectName(QStringLiteral("ZoomDown"));
    zoomDown_->setArrowType(Qt::DownArrow);
    zoomDown_->setFixedSize(18, 11);
    explain(zoomUp_, QStringLiteral("Shows the label 10% larger (up to 150%)."));
    explain(zoomDown_, QStringLiteral("Shows the label 10% smaller (down to 50%)."));
    v->addWidget(zoomUp_);
    v->addWidget(zoomDown_);
    bar->addWidget(spinner);
    connect(zoomUp_, &QToolButton::clicked, this, [this] {
        design_->zoomIn();
        fitContainer();
    });
    connect(zoomDown_, &QToolButton::clicked, this, [this] {
        design_->zoomOut();
        fitContainer();
    });
}

void TLabelDesignScreen::setDataset(AddressTable* table)
{
    panel_->setDataset(table);
    for (QPushButton* b : records_)
        b->setEnabled(table && table->isOpen());
}

void TLabelDesignScreen::setDescription(const QString& text)
{
    design_->setDescription(text);
    description_->setText(design_->description());
}

QAbstractButton* TLabelDesignScreen::toolButton(TLPanelState state) const
{
    return qobject_cast<QAbstractButton*>(toolBar_->widgetForAction(tools_.value(int(state))));
}

QAbstractButton* TLabelDesignScreen::gridButton() const { return qobject_cast<QAbstractButton*>(toolBar_->widgetForAction(grid_)); }
QAbstractButton* TLabelDesignScreen::snapButton() const { return qobject_cast<QAbstractButton*>(toolBar_->widgetForAction(snap_)); }
QAbstractButton* TLabelDesignScreen::artButton() const { return qobject_cast<QAbstractButton*>(toolBar_->widgetForAction(art_)); }
QAbstractButton* TLabelDesignScreen::fieldNamesButton() const
{
    return qobject_cast<QAbstractButton*>(toolBar_->widgetForAction(fieldNames_));
}

QPushButton* TLabelDesignScreen::recordButton(RecordMove move) const { return records_[int(move)]; }

QString TLabelDesignScreen::layoutCaption() const { return layout_->text(); }
QString TLabelDesignScreen::zoomText() const { return zoom_->text(); }

void TLabelDesignScreen::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!activated_) {
        activated_ = true;
        Settings settings;
        restorePlacement(this, QLatin1String(kClassName), settings, parentWidget());
        // The rest runs once the window is on the screen (the new-layout message opens over it).
        QTimer::singleShot(0, this, [this] { formActivate(); });
    }
}

void TLabelDesignScreen::formActivate()
{
    panel_->refreshObjects();
    design_->open();
    fitContainer();
    panel_->setFocus();
    sync();
}

void TLabelDesignScreen::fitContainer()
{
    container_->resize(panel_->width() + 24, panel_->height() + 24);
    container_->update();
}

void TLabelDesignScreen::sync()
{
    syncing_ = true;
    layout_->setText(design_->layoutCaption());
    font_->setText(design_->defaultFontCaption());
    save_->setVisible(design_->saveVisible());
    const int tool = int(design_->tool());
    for (int i = 0; i < tools_.size(); ++i)
        tools_[i]->setChecked(i == tool);
    grid_->setChecked(panel_->ShowGrid());
    snap_->setChecked(panel_->SnapToGrid());
    art_->setEnabled(design_->artEnabled());
    art_->setChecked(design_->artDown());
    fieldNames_->setChecked(design_->showFieldNames());
    zoom_->setText(design_->zoomText());
    if (description_->text() != design_->description() && !description_->hasFocus())
        description_->setText(design_->description());
    syncing_ = false;
    fitContainer();
    panel_->update();
}

void TLabelDesignScreen::saveClick()
{
    design_->save();
    QString error;
    if (saveHandler && !saveHandler(&error)) {
        if (!error.isEmpty())
            showMessage(error);
        return;
    }
    accept();
}

void TLabelDesignScreen::done(int r)
{
    Settings settings;
    storePlacement(this, QLatin1String(kClassName), settings);
    QDialog::done(r);
}

bool TLabelDesignScreen::handleKey(QKeyEvent* k, bool release)
{
    if (description_->hasFocus())
        return false;
    if (release) {
        if (k->modifiers() & Qt::KeypadModifier) {
            if (k->key() == Qt::Key_Plus) {
                design_->zoomIn();
                fitContainer();
                return true;
            }
            if (k->key() == Qt::Key_Minus) {
                design_->zoomOut();
                fitContainer();
                return true;
            }
        }
        return false;
    }
    QScrollBar* bar = scroll_->verticalScrollBar();
    switch (k->key()) {
    case Qt::Key_PageUp: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); return true;
    case Qt::Key_PageDown: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); return true;
    case Qt::Key_Home: bar->triggerAction(QAbstractSlider::SliderToMinimum); return true;
    case Qt::Key_End: bar->triggerAction(QAbstractSlider::SliderToMaximum); return true;
    default: break;
    }
    // Keypad plus and minus act when let go; pressed they do nothing else.
    return (k->modifiers() & Qt::KeypadModifier) && (k->key() == Qt::Key_Plus || k->key() == Qt::Key_Minus);
}

bool TLabelDesignScreen::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) {
        if (handleKey(static_cast<QKeyEvent*>(e), e->type() == QEvent::KeyRelease))
            return true;
    }
    if (o == panel_ && e->type() == QEvent::Resize)
        fitContainer();
    return QDialog::eventFilter(o, e);
}

void TLabelDesignScreen::keyPressEvent(QKeyEvent* e)
{
    // Enter does not close the designer; Esc is Cancel.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return;
    if (handleKey(e, false))
        return;
    QDialog::keyPressEvent(e);
}

bool TLabelDesignScreen::designLayout(QWidget* parent, LabelLayoutCatalogue& catalogue, LabelLayoutRow& row,
                                      AddressTable* table, LabelDesignerUi* ui)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TLabelDesignScreen w(parent, ui);
    w.setArtworkFolder(catalogue.sysdataDir());
    w.setDataset(table);
    LabelLayoutRow edited = row;
    QString error;
    if (!row.isNew() && !catalogue.loadForDesign(edited, *w.surface(), &error)) {
        QApplication::restoreOverrideCursor();
        w.showMessage(error);
        return false;
    }
    w.setDefinition(edited.sheet);
    w.setDescription(edited.description);
    w.setNewLayout(row.isNew());
    w.saveHandler = [&](QString* why) {
        edited.sheet = w.design().definition();
        edited.description = w.design().description();
        return catalogue.save(edited, *w.surface(), why);
    };
    QApplication::restoreOverrideCursor();
    if (w.exec() != QDialog::Accepted)
        return false;
    row = edited;
    return true;
}

} // namespace postavo::labels
