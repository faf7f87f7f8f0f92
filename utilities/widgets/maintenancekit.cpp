#include "maintenancekit.h"

#include "addressfile.h"
#include "filterops.h"
#include "messageboxes.h"
#include "tablemodel.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace postavo {

void MessageBoxUi::showInformation(const QString& text) { postavo::showInformation(text, parent_); }
bool MessageBoxUi::askYesNo(const QString& text, const QString& caption)
{
    return postavo::askYesNo(text, caption, parent_);
}
bool MessageBoxUi::askYesNoDefaultNo(const QString& text, const QString& caption)
{
    return postavo::askYesNoDefaultNo(text, caption, parent_);
}

QPushButton* makeButton(const QString& caption, QWidget* parent, const QString& whatsThis)
{
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    if (!whatsThis.isEmpty()) {
        b->setWhatsThis(whatsThis);
        b->setToolTip(whatsThis);
    }
    return b;
}

// The grid's view, with the open cell editor stored or thrown away on request.
class GridView : public QTableView {
public:
    using QTableView::QTableView;
    QWidget* openEditor() const
    {
        QWidget* w = QApplication::focusWidget();
        while (w && w->parentWidget() != viewport())
            w = w->parentWidget();
        return state() == EditingState ? w : nullptr;
    }
    bool finishEdit(bool store)
    {
        QWidget* editor = openEditor();
        if (!editor)
            return false;
        if (store)
            commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        return true;
    }
};

namespace {
// Editors no longer than the field they edit, so nothing typed is cut when it is stored.
class WidthDelegate : public QStyledItemDelegate {
public:
    WidthDelegate(TableModel* model, std::function<int(const QString&)> width, std::function<void()> refused,
                  QObject* parent)
        : QStyledItemDelegate(parent), model_(model), width_(std::move(width)), refused_(std::move(refused))
    {
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& i) const override
    {
        auto* e = qobject_cast<QLineEdit*>(editor);
        if (!e) {
            QStyledItemDelegate::setModelData(editor, model, i);
            return;
        }
        if (e->text() != i.data(Qt::EditRole).toString() && !model->setData(i, e->text(), Qt::EditRole) && refused_)
            refused_();
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& o, const QModelIndex& i) const override
    {
        QWidget* w = QStyledItemDelegate::createEditor(parent, o, i);
        if (auto* e = qobject_cast<QLineEdit*>(w); e && width_)
            if (const int n = width_(model_->columnName(i.column())); n > 0)
                e->setMaxLength(n);
        return w;
    }

private:
    TableModel* model_;
    std::function<int(const QString&)> width_;
    std::function<void()> refused_;
};
} // namespace

RecordGrid::RecordGrid(GridSource* source, std::function<int(const QString&)> width, QWidget* parent)
    : QWidget(parent)
{
    model_ = new TableModel(source, this);
    view_ = new GridView(this);
    view_->setObjectName(QStringLiteral("RecordGrid"));
    view_->setModel(model_);
    view_->setItemDelegate(new WidthDelegate(model_, std::move(width), [this] { emit writeRefused(); }, view_));
    view_->setSelectionBehavior(QAbstractItemView::SelectItems);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
    view_->setWhatsThis(QStringLiteral("Click on a field to begin editing. Double-click the Tagged column to tag or untag a record."));
    connect(view_, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        if (model_->columnName(i.column()).compare(QLatin1String("Tagged"), Qt::CaseInsensitive) == 0)
            emit tagToggleRequested(model_->recordAt(i.row()));
    });

    auto* nav = new QHBoxLayout;
    const struct { const char* text; const char* name; int to; } buttons[] = {
        {"|<", "FirstButton", 0}, {"<", "PriorButton", 1}, {">", "NextButton", 2}, {">|", "LastButton", 3}};
    for (const auto& b : buttons) {
        QPushButton* p = makeButton(QString::fromLatin1(b.text), this);
        p->setObjectName(QString::fromLatin1(b.name));
        p->setMaximumWidth(40);
        const int to = b.to;
        connect(p, &QPushButton::clicked, this, [this, to] { move(to); });
        nav->addWidget(p);
    }
    nav->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_, 1);
    layout->addLayout(nav);
}

quint32 RecordGrid::currentRecord() const
{
    const QModelIndex i = view_->currentIndex();
    return i.isValid() ? model_->recordAt(i.row()) : (model_->rowCount() > 0 ? model_->recordAt(0) : 0);
}

void RecordGrid::selectRecord(quint32 recno)
{
    const int row = model_->rowOf(recno);
    if (row >= 0)
        view_->setCurrentIndex(model_->index(row, std::max(0, view_->currentIndex().column())));
}

void RecordGrid::refresh()
{
    const quint32 here = currentRecord();
    const int row = view_->currentIndex().row();
    model_->refresh();
    if (model_->rowOf(here) >= 0)
        selectRecord(here);
    else if (model_->rowCount() > 0)
        view_->setCurrentIndex(model_->index(std::clamp(row, 0, model_->rowCount() - 1), 0));
}

void RecordGrid::refreshValues() { model_->refreshValues(); }

void RecordGrid::move(int to)
{
    const int rows = model_->rowCount();
    if (rows == 0)
        return;
    const int row = view_->currentIndex().isValid() ? view_->currentIndex().row() : 0;
    const int target = to == 0 ? 0 : to == 1 ? std::max(0, row - 1) : to == 2 ? std::min(rows - 1, row + 1) : rows - 1;
    view_->setCurrentIndex(model_->index(target, std::max(0, view_->currentIndex().column())));
}

void RecordGrid::editCurrent()
{
    if (!view_->currentIndex().isValid() && model_->rowCount() > 0)
        view_->setCurrentIndex(model_->index(0, 0));
    view_->edit(view_->currentIndex());
}

bool RecordGrid::saveEdit() { return static_cast<GridView*>(view_)->finishEdit(true); }

bool RecordGrid::cancelEdit() { return static_cast<GridView*>(view_)->finishEdit(false); }

bool RecordGrid::editing() const { return static_cast<GridView*>(view_)->openEditor() != nullptr; }

void toggleTagOfCurrent(AddressTable& table, RecordGrid& grid, MaintenanceUi& ui)
{
    const quint32 recno = grid.currentRecord();
    if (!recno || !table.goTo(recno))
        return;
    if (!table.setTagged(!table.tagged()))
        ui.showInformation(QStringLiteral("The tag could not be saved:\r\n") + table.lastError());
    grid.refreshValues();
}

void tagAllListed(AddressTable& table, RecordGrid& grid, MaintenanceUi& ui, const char* question, const char* caption)
{
    if (!ui.askYesNo(QString::fromLatin1(question), QString::fromLatin1(caption)))
        return;
    if (tagAllMatches(table).failed)
        ui.showInformation(QStringLiteral("Not every record could be tagged:\r\n") + table.lastError());
    grid.refreshValues();
}

PassStep PassDisplay::step(std::function<QString(const PassProgress&)> text)
{
    return [this, text](const PassProgress& p) {
        const int pos = progressBarPosition(p.done, p.total);
        if (pos >= 0 && bar_)
            bar_->setValue(pos);
        if (text && label_)
            label_->setText(text(p));
        QApplication::processEvents();
        return !cancel_;
    };
}

} // namespace postavo
