#include "matchwindow.h"

#include "messageboxes.h"

#include <QCursor>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace postavo::transfer {

TFieldMatch::TFieldMatch(const QString& caption, const FieldMatchGrid& grid, const QString& fileName,
                         const QString& sourceCaption, QWidget* source, int helpTopic, QWidget* parent)
    : QDialog(parent), grid_(grid)
{
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    if (source) {
        auto* box = new QGroupBox(sourceCaption, this);
        auto* boxLayout = new QVBoxLayout(box);
        source->setParent(box);
        boxLayout->addWidget(source);
        layout->addWidget(box, 2);
    }
    auto* matchBox = new QGroupBox(QStringLiteral("Field Match"), this);
    auto* matchLayout = new QHBoxLayout(matchBox);
    table_ = new QTableWidget(grid_.rowCount(), 2, matchBox);
    table_->setHorizontalHeaderLabels({QStringLiteral("Postavo Field"), QStringLiteral("Import from Field (in ") + fileName + ")"});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    matchLayout->addWidget(table_, 1);
    auto* side = new QVBoxLayout;
    auto* select = new QPushButton(QStringLiteral("&Select Field"), matchBox);
    auto* clear = new QPushButton(QStringLiteral("&Clear Current"), matchBox);
    auto* clearAll = new QPushButton(QStringLiteral("Clear &All"), matchBox);
    side->addWidget(select);
    side->addWidget(clear);
    side->addWidget(clearAll);
    side->addStretch();
    matchLayout->addLayout(side);
    layout->addWidget(matchBox, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    auto* help = new QPushButton(QStringLiteral("Help"), this);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    layout->addLayout(buttons);

    connect(select, &QPushButton::clicked, this, &TFieldMatch::showMenu);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { showMenu(); });
    connect(clear, &QPushButton::clicked, this, [this] { chooseForCurrent(QString()); });
    connect(clearAll, &QPushButton::clicked, this, [this] {
        grid_.clearAll();
        refresh();
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [helpTopic] { showHelpTopic(helpTopic); });
    refresh();
    selectRow(0);
    resize(640, 560);
}

void TFieldMatch::selectRow(int row) { table_->setCurrentCell(row, 1); }

void TFieldMatch::chooseForCurrent(const QString& source)
{
    const int row = table_->currentRow();
    if (row < 0)
        return;
    grid_.choose(row, source);
    refresh();
    table_->setCurrentCell(row, 1);
}

void TFieldMatch::showMenu()
{
    const int row = table_->currentRow();
    if (row < 0)
        return;
    QMenu menu(this);
    menu.addAction(QStringLiteral("(none)"), this, [this] { chooseForCurrent(QString()); });
    for (const QString& name : grid_.menuFor(row)) {
        QAction* a = menu.addAction(name, this, [this, name] { chooseForCurrent(name); });
        a->setCheckable(true);
        a->setChecked(grid_.source(row) == name);
    }
    menu.exec(QCursor::pos());
}

void TFieldMatch::refresh()
{
    for (int row = 0; row < grid_.rowCount(); ++row) {
        table_->setItem(row, 0, new QTableWidgetItem(grid_.rows()[row].label));
        table_->setItem(row, 1, new QTableWidgetItem(grid_.source(row)));
    }
}

} // namespace postavo::transfer
