#include "browsewindow.h"

#include "addressbookcontroller.h"
#include "browsecolumns.h"
#include "dialogkit.h"
#include "helptopics.h"
#include "messageboxes.h"
#include "settings.h"
#include "tablemodel.h"
#include "windowplacement.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace postavo {

namespace {
QString saidProblem;
constexpr int kDesignWidth = 640, kDesignHeight = 400;
} // namespace

QString TAddressBrowseForm::fieldsListProblemSaid() { return saidProblem; }

TAddressBrowseForm::TAddressBrowseForm(AddressBookController& controller, QWidget* parent)
    : QDialog(parent), c_(controller)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Address Browse"));
    setSizeGripEnabled(true);
    AddressTable& table = c_.table();
    const FieldsList list = readFieldsList(fieldsListPath(), defaultBrowseFieldOrder());
    table.setFieldOrder(list.order);
    if (!list.problem.isEmpty() && saidProblem.isEmpty()) {
        saidProblem = list.problem;
        c_.showInformation(list.problem);
    }

    model_ = new TableModel(&table, this);
    model_->setReadOnly(true);
    grid_ = new QTableView(this);
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setWordWrap(false);
    grid_->horizontalHeader()->setSectionsMovable(true);
    grid_->horizontalHeader()->setHighlightSections(false);
    // One height for every row: the grid never measures a million rows.
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    grid_->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int charWidth = grid_->fontMetrics().averageCharWidth();
    for (int col = 0; col < model_->columnCount(); ++col) {
        const QString name = model_->columnName(col);
        grid_->setColumnHidden(col, !isBrowseColumnShown(name));
        const int chars = browseColumnWidth(name, table.fieldWidth(name));
        const int header = grid_->fontMetrics().horizontalAdvance(model_->headerData(col, Qt::Horizontal).toString());
        grid_->setColumnWidth(col, std::max(chars * charWidth, header) + 12);
    }
    connect(grid_, &QTableView::doubleClicked, this, [this] { toggleTag(); });

    auto* v = new QVBoxLayout(this);
    v->addWidget(grid_, 1);
    auto* row = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(ok);
    struct Nav {
        QStyle::StandardPixmap icon;
        const char* tip;
        std::function<void()> go;
    };
    const Nav navs[] = {
        {QStyle::SP_MediaSkipBackward, "First record", [this] { moveTo(0); }},
        {QStyle::SP_MediaSeekBackward, "Previous record",
         [this] {
             const int r = grid_->currentIndex().row();
             if (r <= 0)
                 c_.beep();
             else
                 moveTo(r - 1);
         }},
        {QStyle::SP_MediaSeekForward, "Next record",
         [this] {
             const int r = grid_->currentIndex().row();
             if (r >= model_->rowCount() - 1)
                 c_.beep();
             else
                 moveTo(r + 1);
         }},
        {QStyle::SP_MediaSkipForward, "Last record", [this] { moveTo(model_->rowCount() - 1); }},
    };
    for (const Nav& n : navs) {
        auto* b = new QPushButton(style()->standardIcon(n.icon), QString(), this);
        b->setAutoDefault(false);
        b->setObjectName(QString::fromLatin1(n.tip));
        explain(b, QString::fromLatin1(n.tip));
        connect(b, &QPushButton::clicked, this, n.go);
        row->addWidget(b);
    }
    auto* tag = new QPushButton(QStringLiteral("&Tag"), this);
    tag->setAutoDefault(false);
    explain(tag, QStringLiteral("Tags the current row's record, or untags it (a double-click does the same)."));
    connect(tag, &QPushButton::clicked, this, [this] { toggleTag(); });
    row->addWidget(tag);
    row->addStretch();
    row->addWidget(makeHelpButton(this, help::Finding));
    v->addLayout(row);

    // Above 96 pixels per inch the design size grows with the screen.
    double scale = 1.0;
    if (const double dpi = logicalDpiX(); dpi > 96)
        scale = dpi / 96.0 * 0.95;
    resize(int(kDesignWidth * scale), int(kDesignHeight * scale));
    Settings settings;
    restorePlacement(this, QString::fromLatin1(kClassName), settings, parent);

    const int start = model_->rowOf(table.recNo());
    moveTo(start < 0 ? 0 : start);
}

TAddressBrowseForm::~TAddressBrowseForm() = default;

quint32 TAddressBrowseForm::currentRecord() const { return model_->recordAt(grid_->currentIndex().row()); }

void TAddressBrowseForm::moveTo(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    int col = grid_->currentIndex().column();
    if (col < 0 || grid_->isColumnHidden(col))
        col = grid_->horizontalHeader()->logicalIndex(0);
    for (int visual = 0; grid_->isColumnHidden(col) && visual < model_->columnCount(); ++visual)
        col = grid_->horizontalHeader()->logicalIndex(visual);
    grid_->setCurrentIndex(model_->index(row, col));
    grid_->scrollTo(grid_->currentIndex());
}

void TAddressBrowseForm::toggleTag()
{
    const quint32 recno = currentRecord();
    if (recno == 0)
        return;
    const int row = grid_->currentIndex().row();
    c_.goTo(recno);
    if (!c_.toggleTag())
        return;
    // Untagging under a filter of tagged records can take the row away.
    if (model_->rowCount() != int(c_.visibleCount())) {
        model_->refresh();
        moveTo(std::min(row, model_->rowCount() - 1));
    } else {
        model_->refreshValues();
    }
}

QStringList TAddressBrowseForm::columnOrder() const
{
    QStringList order;
    const QHeaderView* h = grid_->horizontalHeader();
    for (int visual = 0; visual < h->count(); ++visual)
        order << model_->columnName(h->logicalIndex(visual));
    return order;
}

void TAddressBrowseForm::done(int r)
{
    if (!finished_) {
        finished_ = true;
        if (const quint32 recno = currentRecord())
            c_.goTo(recno);
        c_.table().setFieldOrder(columnOrder());
        QString error;
        if (!writeFieldsList(fieldsListPath(), columnOrder(), &error))
            c_.showInformation(QStringLiteral("The column order could not be saved in %1:\r\n%2")
                                   .arg(QString::fromLatin1(kFieldsListName), error));
        Settings settings;
        storePlacement(this, QString::fromLatin1(kClassName), settings);
    }
    QDialog::done(r);
}

} // namespace postavo
