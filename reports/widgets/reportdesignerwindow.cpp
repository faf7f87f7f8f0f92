#include "reportdesignerwindow.h"

#include "addressfile.h"
#include "dialogkit.h"
#include "horizontalruler.h"
#include "messageboxes.h"
#include "reportlayoutdialog.h"
#include "settings.h"
#include "textdialogs.h"
#include "windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace postavo::reports {

// The strip under a band: dragging it with the left button makes the band higher or lower.
class BandSizer : public QWidget {
public:
    BandSizer(QWidget* parent, std::function<void()> press, std::function<void(int)> move,
              std::function<void()> release)
        : QWidget(parent), press_(std::move(press)), move_(std::move(move)), release_(std::move(release))
    {
        setCursor(Qt::SizeVerCursor);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(192, 192, 192));
        setPalette(p);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton)
            return;
        start_ = e->globalPosition().y();
        dragging_ = true;
        press_();
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (dragging_)
            move_(int(e->globalPosition().y() - start_));
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (!dragging_ || e->button() != Qt::LeftButton)
            return;
        dragging_ = false;
        release_();
    }

private:
    std::function<void()> press_;
    std::function<void(int)> move_;
    std::function<void()> release_;
    double start_ = 0;
    bool dragging_ = false;
};

namespace {
constexpr int kPagePad = 8;
constexpr int kRulerHeight = 17;
constexpr int kMemoBarHeight = 3;
const TRPanelKind kBandKinds[3] = {rpkHeader, rpkDetail, rpkFooter};
const int kBandIndex[3] = {bandHeader, bandDetail, bandFooter};
const char* kToolCaptions[11] = {"Select", "Text", "Line", "Clip Art", "Field", "Date", "Page #", "Symbol",
                                 "Rectangle", "Ellipse", "Round Rect"};
} // namespace

TReportDesigner::TReportDesigner(AddressTable* table, QWidget* parent)
    : QDialog(parent), table_(table), ppi_(design::screenPpi()), vars_(ReportVars::defaults(ppi_))
{
    setWindowTitle(QStringLiteral("Report Designer"));
    setSizeGripEnabled(true);
    enableWhatsThis(this);
    inform = [this](const QString& text) { showInformation(text, this); };
    auto* layout = new QVBoxLayout(this);
    buildTop(this, layout);
    buildTools(layout);
    buildPage();
    layout->addWidget(scroll_, 1);
    buildBottom(layout);
    setReport(vars_, QString::fromLatin1(kNewReportDescription), QStringLiteral("Letter Size, Portrait"));
    resize(900, 640);
}

TReportDesigner::~TReportDesigner()
{
    // The objects go with their bands, before the window they are named in.
    for (TReportPanel* b : bands_)
        b->freeAllObjects();
}

void TReportDesigner::buildTop(QWidget* parent, QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Layout:"), parent));
    layout_ = new QLabel(parent);
    row->addWidget(layout_);
    row->addSpacing(16);
    row->addWidget(new QLabel(QStringLiteral("Description:"), parent));
    description_ = new QLineEdit(parent);
    description_->setMaxLength(60);
    explain(description_, QStringLiteral("The name of the report in the report list."));
    row->addWidget(description_, 1);
    defaultFont_ = new QPushButton(parent);
    explain(defaultFont_, QStringLiteral("The font new text objects take."));
    connect(defaultFont_, &QPushButton::clicked, this, &TReportDesigner::chooseDefaultFont);
    row->addWidget(defaultFont_);
    layout->addLayout(row);
}

void TReportDesigner::buildTools(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    tools_ = new QButtonGroup(this);
    tools_->setExclusive(true);
    int i = 0;
    for (const ReportToolDef& t : reportTools()) {
        auto* b = new QToolButton(this);
        b->setText(QString::fromLatin1(kToolCaptions[i++]));
        b->setCheckable(true);
        b->setToolTip(QString::fromLatin1(t.hint));
        b->setWhatsThis(QString::fromLatin1(t.hint));
        tools_->addButton(b, int(t.state));
        row->addWidget(b);
    }
    tools_->button(int(psPointing))->setChecked(true);
    connect(tools_, &QButtonGroup::idClicked, this, [this](int id) { chooseTool(TRPanelState(id)); });
    row->addSpacing(12);
    auto toggle = [&](const QString& caption, const QString& hint) {
        auto* b = new QToolButton(this);
        b->setText(caption);
        b->setCheckable(true);
        b->setToolTip(hint);
        b->setWhatsThis(hint);
        row->addWidget(b);
        return b;
    };
    gridButton_ = toggle(QStringLiteral("Grid"), QStringLiteral("Show grid"));
    snapButton_ = toggle(QStringLiteral("Snap"), QStringLiteral("Snap to Grid"));
    namesButton_ = toggle(QStringLiteral("Names"), QStringLiteral("Toggle display of field names or field values"));
    connect(gridButton_, &QToolButton::toggled, this, [this](bool on) {
        for (TReportPanel* b : bands_)
            b->setShowGrid(on);
    });
    connect(snapButton_, &QToolButton::toggled, this, [this](bool on) {
        for (TReportPanel* b : bands_)
            b->setSnapToGrid(on);
    });
    connect(namesButton_, &QToolButton::toggled, this, [this](bool down) { detail().setDisplayDataValues(!down); });
    row->addStretch();
    layout->addLayout(row);
}

void TReportDesigner::buildPage()
{
    scroll_ = new QScrollArea(this);
    scroll_->setBackgroundRole(QPalette::Dark);
    page_ = new QWidget;
    page_->setAutoFillBackground(true);
    ruler_ = new design::THRuler(page_);
    ruler_->setAlignHRuler(design::alTop);
    ruler_->setColor(design::clSystemBase + 15); // the button face
    const char* captions[4] = {"Header", "Detail", "Memo", "Footer"};
    for (int i = 0; i < 4; ++i) {
        bandBoxes_[i] = new QCheckBox(QString::fromLatin1(captions[i]), page_);
        connect(bandBoxes_[i], &QCheckBox::clicked, this, [this, i](bool on) { setBandUsed(i, on); });
    }
    for (int i = 0; i < 3; ++i) {
        bands_[i] = new TReportPanel(kBandKinds[i], page_, this);
        bands_[i]->setDataset(table_);
        bands_[i]->ControlMouseDownEvent = [this](TReportPanel* b) { bandPressed(b); };
        bands_[i]->objectPlaced = [this](TReportPanel*) { chooseTool(psPointing); };
        bands_[i]->ui.inform = [this](const QString& text) { inform(text); };
        sizers_[i] = new BandSizer(
            page_, [this, i] { pressSizer(i); }, [this, i](int dy) { dragSizer(i, dy); },
            [this, i] { releaseSizer(i); });
    }
    memoProperties_ = new QPushButton(QStringLiteral("Properties"), page_);
    connect(memoProperties_, &QPushButton::clicked, this, [this] {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Font"), this, &TReportDesigner::chooseMemoFont);
        menu.addSeparator();
        const std::pair<const char*, int> entries[] = {{"Left Aligned", memoLeft}, {"Centered", memoCentred},
                                                       {"Right Aligned", memoRight}};
        for (const auto& [caption, alignment] : entries) {
            QAction* a = menu.addAction(QString::fromLatin1(caption));
            a->setCheckable(true);
            a->setChecked(vars_.memoAlignment == alignment);
            connect(a, &QAction::triggered, this, [this, alignment = alignment] { setMemoAlignment(alignment); });
        }
        menu.exec(memoProperties_->mapToGlobal(QPoint(0, memoProperties_->height())));
    });
    memoView_ = new QPlainTextEdit(page_);
    memoView_->setReadOnly(true);
    memoBar_ = new QWidget(page_);
    memoBar_->setAutoFillBackground(true);
    QPalette bar = memoBar_->palette();
    bar.setColor(QPalette::Window, Qt::darkGray);
    memoBar_->setPalette(bar);
    scroll_->setWidget(page_);
}

void TReportDesigner::buildBottom(QVBoxLayout* layout)
{
    auto* row = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &TReportDesigner::save);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* change = new QPushButton(QStringLiteral("Change Layout"), this);
    connect(change, &QPushButton::clicked, this, &TReportDesigner::changeLayout);
    row->addWidget(save);
    row->addWidget(cancel);
    row->addWidget(change);
    row->addStretch();
    const std::pair<const char*, void (TReportDesigner::*)()> moves[] = {
        {"|<", &TReportDesigner::firstRecord}, {"<", &TReportDesigner::previousRecord},
        {">", &TReportDesigner::nextRecord}, {">|", &TReportDesigner::lastRecord}};
    for (const auto& [caption, slot] : moves) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setAutoDefault(false);
        b->setFixedWidth(36);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
    }
    row->addStretch();
    row->addWidget(makeHelpButton(this, kHelpTopic));
    layout->addLayout(row);
}

QWidget* TReportDesigner::sizer(int which) const { return sizers_[std::clamp(which, 0, 2)]; }

QToolButton* TReportDesigner::toolButton(TRPanelState tool) const
{
    return qobject_cast<QToolButton*>(tools_->button(int(tool)));
}

QAbstractButton* TReportDesigner::fieldNamesToggle() const { return namesButton_; }

QString TReportDesigner::description() const { return description_->text(); }
QString TReportDesigner::layoutText() const { return layout_->text(); }

void TReportDesigner::setReport(const ReportVars& vars, const QString& description, const QString& layout)
{
    vars_ = vars;
    description_->setText(description);
    layout_->setText(layout);
    const bool used[4] = {vars_.useHeader, vars_.useDetail, vars_.useMemo, vars_.useFooter};
    for (int i = 0; i < 4; ++i)
        bandBoxes_[i]->setChecked(used[i]);
    for (TReportPanel* b : bands_)
        b->setDefaultFont(vars_.defaultFont(ppi_));
    QFont memoFont(design::resolveFontFamily(vars_.memoFontName));
    memoFont.setPointSize(vars_.memoFontSize);
    memoFont.setBold(vars_.memoBold);
    memoFont.setItalic(vars_.memoItalic);
    memoView_->setFont(memoFont);
    updateFontCaption();
    showEmptyBands();
    layoutBands();
    refreshRecord();
}

void TReportDesigner::load(const ReportCatalogue& catalogue, const ReportEntry* entry)
{
    ReportVars vars;
    const ReportFileRead read = catalogue.loadReport(entry, header(), detail(), footer(), &vars, ppi_);
    for (TReportPanel* b : bands_) {
        b->attachAllObjects();
        b->refreshObjects();
        b->update();
    }
    setReport(vars, entry ? entry->description : QString::fromLatin1(kNewReportDescription),
              entry && !entry->layout.isEmpty() ? entry->layout : vars.pageDescription(ppi_));
    const QString message = entry ? read.message(entry->binary) : QString();
    if (!message.isEmpty())
        inform(message);
}

void TReportDesigner::layoutBands()
{
    const BandLayout l = reports::layoutBands(vars_, ppi_);
    const int w = std::max(l.bandWidth, 40);
    const int x = kPagePad;
    int y = 0;
    ruler_->setGeometry(x, y, w, kRulerHeight);
    ruler_->setStartInch(vars_.marginLeft / ppi_);
    y += kRulerHeight;
    // The bands show the heights the settings hold; a band dragged to nothing stays at nothing.
    const bool used[3] = {vars_.useHeader, vars_.useDetail, vars_.useFooter};
    const int heights[3] = {used[0] ? std::max(0, vars_.headerHeight) : 0, used[1] ? std::max(0, vars_.detailHeight) : 0,
                            used[2] ? std::max(0, vars_.footerHeight) : 0};
    auto placeBand = [&](int i, int caption) {
        bandBoxes_[caption]->setGeometry(x, y, w, kBandCaptionHeight);
        y += kBandCaptionHeight;
        bands_[i]->setGeometry(x, y, w, heights[i]);
        bands_[i]->setVisible(heights[i] > 0);
        y += heights[i];
        sizers_[i]->setGeometry(x, y, w, kBandSizerHeight);
        sizers_[i]->setEnabled(used[i]);
        y += kBandSizerHeight;
    };
    placeBand(0, 0);
    placeBand(1, 1);
    bandBoxes_[2]->setGeometry(x, y, w - 90, kBandCaptionHeight);
    memoProperties_->setGeometry(x + w - 90, y, 90, kBandCaptionHeight);
    y += kBandCaptionHeight;
    memoView_->setGeometry(x, y, w, l.memoView);
    memoView_->setVisible(l.memoView > 0);
    y += l.memoView;
    memoBar_->setGeometry(x, y, w, kMemoBarHeight);
    y += kMemoBarHeight;
    placeBand(2, 3);
    page_->setFixedSize(w + 2 * kPagePad, std::max(y + kPagePad, l.pageAreaHeight));
}

void TReportDesigner::showEmptyBands()
{
    // A ticked band stored at height 0 shows 20 pixels (less what would pass the page).
    const BandLayout l = reports::layoutBands(vars_, ppi_);
    if (vars_.useHeader)
        vars_.headerHeight = l.header;
    if (vars_.useDetail)
        vars_.detailHeight = l.detail;
    if (vars_.useFooter)
        vars_.footerHeight = l.footer;
}

void TReportDesigner::syncHeightsFromBands()
{
    if (vars_.useHeader)
        vars_.headerHeight = header().height();
    if (vars_.useDetail)
        vars_.detailHeight = detail().height();
    if (vars_.useFooter)
        vars_.footerHeight = footer().height();
}

void TReportDesigner::refreshRecord()
{
    if (!table_ || !table_->isOpen())
        return;
    detail().refreshObjects();
    memoView_->setPlainText(table_->memo());
}

void TReportDesigner::updateFontCaption()
{
    QString caption = QStringLiteral("Default Font: ") + vars_.defaultFontName + QStringLiteral(", ")
                      + QString::number(vars_.defaultFontSize) + QStringLiteral(" pt ");
    if (vars_.defaultBold)
        caption += QStringLiteral(", bold");
    if (vars_.defaultItalic)
        caption += QStringLiteral(", italic");
    defaultFont_->setText(caption);
}

void TReportDesigner::bandPressed(TReportPanel* band)
{
    for (TReportPanel* b : bands_)
        if (b != band)
            b->selection().clear();
}

// ---- commands ----

void TReportDesigner::chooseTool(TRPanelState tool)
{
    tool_ = tool;
    if (QAbstractButton* b = tools_->button(int(tool)))
        b->setChecked(true);
    for (int i = 0; i < 3; ++i) {
        bands_[i]->setPanelState(tool);
        bands_[i]->setAcceptsDrawing(toolAcceptedBy(tool, kBandKinds[i]));
        bands_[i]->update();
    }
}

void TReportDesigner::setBandUsed(int which, bool on)
{
    syncHeightsFromBands();
    bool* used[4] = {&vars_.useHeader, &vars_.useDetail, &vars_.useMemo, &vars_.useFooter};
    *used[std::clamp(which, 0, 3)] = on;
    bandBoxes_[std::clamp(which, 0, 3)]->setChecked(on);
    showEmptyBands();
    layoutBands();
}

void TReportDesigner::pressSizer(int which)
{
    const int i = std::clamp(which, 0, 2);
    pressHeight_[i] = bands_[i]->height();
}

void TReportDesigner::dragSizer(int which, int dy)
{
    const int i = std::clamp(which, 0, 2);
    syncHeightsFromBands();
    const int h = sizedBandHeight(vars_, kBandIndex[i], pressHeight_[i], dy);
    int* heights[3] = {&vars_.headerHeight, &vars_.detailHeight, &vars_.footerHeight};
    *heights[i] = h;
    layoutBands();
}

void TReportDesigner::releaseSizer(int which)
{
    TReportPanel& band = *bands_[std::clamp(which, 0, 2)];
    band.pullObjectsInside();
    band.update();
}

void TReportDesigner::changeLayout()
{
    syncHeightsFromBands();
    ReportVars copy = vars_;
    QString description;
    bool saved = false;
    if (layoutDialog) {
        saved = layoutDialog(&copy, &description);
    } else {
        TReportProperties dialog(copy, ppi_, this);
        saved = dialog.exec() == QDialog::Accepted;
        if (saved) {
            copy = dialog.result();
            description = dialog.pageDescription();
        }
    }
    if (!saved)
        return;
    vars_ = copy;
    layout_->setText(description.isEmpty() ? vars_.pageDescription(ppi_) : description);
    layoutBands();
}

void TReportDesigner::chooseDefaultFont()
{
    design::LayoutFont font = vars_.defaultFont(ppi_);
    if (design::dialogs().chooseFont(&font)) {
        vars_.setDefaultFont(font, ppi_);
        for (TReportPanel* b : bands_)
            b->setDefaultFont(vars_.defaultFont(ppi_));
    }
    updateFontCaption();
}

void TReportDesigner::chooseMemoFont()
{
    design::LayoutFont font = design::LayoutFont::fromPoints(
        vars_.memoFontName, vars_.memoFontSize,
        (vars_.memoBold ? design::fsBold : 0) | (vars_.memoItalic ? design::fsItalic : 0));
    if (!design::dialogs().chooseFont(&font))
        return;
    vars_.memoFontName = font.name;
    vars_.memoFontSize = font.points();
    vars_.memoBold = font.style & design::fsBold;
    vars_.memoItalic = font.style & design::fsItalic;
    memoView_->setFont(design::screenFont(font));
}

void TReportDesigner::setMemoAlignment(int alignment)
{
    vars_.memoAlignment = std::clamp(alignment, int(memoLeft), int(memoCentred));
    const Qt::Alignment a = vars_.memoAlignment == memoRight     ? Qt::AlignRight
                            : vars_.memoAlignment == memoCentred ? Qt::AlignHCenter
                                                                 : Qt::AlignLeft;
    QTextOption option = memoView_->document()->defaultTextOption();
    option.setAlignment(a);
    memoView_->document()->setDefaultTextOption(option);
}

void TReportDesigner::save()
{
    syncHeightsFromBands();
    QString message;
    const bool ok = finishReportDesign(&vars_, header(), detail(), footer(), &message);
    const bool used[4] = {vars_.useHeader, vars_.useDetail, vars_.useMemo, vars_.useFooter};
    for (int i = 0; i < 4; ++i)
        bandBoxes_[i]->setChecked(used[i]);
    if (!ok) {
        layoutBands();
        inform(message);
        return;
    }
    accept();
}

void TReportDesigner::firstRecord()
{
    if (table_)
        table_->first();
    refreshRecord();
}

void TReportDesigner::previousRecord()
{
    if (table_)
        table_->previous();
    refreshRecord();
}

void TReportDesigner::nextRecord()
{
    if (table_)
        table_->next();
    refreshRecord();
}

void TReportDesigner::lastRecord()
{
    if (table_)
        table_->last();
    refreshRecord();
}

void TReportDesigner::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!placed_) {
        placed_ = true;
        Settings settings;
        restorePlacement(this, QString::fromLatin1(kWindowClass), settings, parentWidget());
    }
}

void TReportDesigner::done(int result)
{
    if (placed_) {
        Settings settings;
        storePlacement(this, QString::fromLatin1(kWindowClass), settings);
    }
    QDialog::done(result);
}

} // namespace postavo::reports
