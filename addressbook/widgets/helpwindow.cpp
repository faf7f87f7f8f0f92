#include "helpwindow.h"

#include "helptopics.h"
#include "messageboxes.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace postavo {

THelpWindow::THelpWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("THelpWindow"));
    setWindowTitle(QStringLiteral("Postavo Help"));
    setModal(false);
    resize(760, 520);

    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("HelpSearch"));
    search_->setPlaceholderText(QStringLiteral("Search for a word"));
    search_->setClearButtonEnabled(true);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("HelpTopics"));
    page_ = new QTextBrowser(this);
    page_->setObjectName(QStringLiteral("HelpPage"));
    page_->setOpenLinks(false);

    auto* left = new QWidget(this);
    auto* lv = new QVBoxLayout(left);
    lv->setContentsMargins(0, 0, 0, 0);
    lv->addWidget(new QLabel(QStringLiteral("&Search:"), left));
    lv->addWidget(search_);
    lv->addWidget(list_, 1);
    qobject_cast<QLabel*>(lv->itemAt(0)->widget())->setBuddy(search_);

    auto* split = new QSplitter(this);
    split->addWidget(left);
    split->addWidget(page_);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 540});

    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    buttons->addWidget(close);

    auto* v = new QVBoxLayout(this);
    v->addWidget(split, 1);
    v->addLayout(buttons);

    connect(search_, &QLineEdit::textChanged, this, &THelpWindow::fillList);
    connect(search_, &QLineEdit::returnPressed, this, [this] {
        if (list_->count() > 0)
            showTopic(list_->item(0)->data(Qt::UserRole).toInt());
    });
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* i) { showTopic(i->data(Qt::UserRole).toInt()); });
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* i) { showTopic(i->data(Qt::UserRole).toInt()); });
    connect(page_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QLatin1String("topic"))
            showTopic(url.path().toInt());
    });
    connect(contents, &QPushButton::clicked, this, [this] { showTopic(help::Contents); });
    connect(back, &QPushButton::clicked, page_, &QTextBrowser::backward);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    fillList({});
}

void THelpWindow::fillList(const QString& word)
{
    list_->clear();
    for (const HelpTopic* t : searchHelp(word)) {
        auto* item = new QListWidgetItem(t->title, list_);
        item->setData(Qt::UserRole, t->id);
    }
}

void THelpWindow::showTopic(int id)
{
    const HelpTopic* t = findHelpTopic(id);
    if (!t)
        t = findHelpTopic(help::Contents);
    current_ = t->id;
    page_->setHtml(QStringLiteral("<h2>") + t->title.toHtmlEscaped() + QStringLiteral("</h2>") + t->html);
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->data(Qt::UserRole).toInt() == t->id)
            list_->setCurrentRow(i);
}

void THelpWindow::showSearch()
{
    search_->setFocus();
    search_->selectAll();
}

void openHelp(int topic, bool focusSearch)
{
    static QPointer<THelpWindow> window;
    // While a dialog is modal only its own child windows take input.
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    if (window && window->parentWidget() != owner && owner != window) {
        window->deleteLater();
        window = nullptr;
    }
    if (!window)
        window = new THelpWindow(owner == window ? nullptr : owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->showTopic(topic);
    window->show();
    window->raise();
    window->activateWindow();
    if (focusSearch)
        window->showSearch();
}

void installHelpWindow()
{
    setHelpHandler([](int topic) { openHelp(topic); });
}

} // namespace postavo
