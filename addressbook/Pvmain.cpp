#include "Pvmain.h"

#include "settings.h"
#include "windowplacement.h"

#include <QCloseEvent>
#include <QLabel>
#include <QStackedWidget>

namespace postavo {

TAddressMain::TAddressMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Postavo"));
    resize(720, 520);

    pages_ = new QStackedWidget(this);
    emptyPanel_ = new QLabel(QStringLiteral("Please Open or Create a Postavo Address file"), pages_);
    emptyPanel_->setObjectName(QStringLiteral("EmptyPanel"));
    emptyPanel_->setAlignment(Qt::AlignCenter);
    QFont f = emptyPanel_->font();
    f.setPointSize(f.pointSize() + 4);
    f.setBold(true);
    emptyPanel_->setFont(f);
    emptyPanel_->setFrameShape(QFrame::StyledPanel);
    pages_->addWidget(emptyPanel_);
    setCentralWidget(pages_);
}

void TAddressMain::bringToFront()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

bool TAddressMain::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        FormActivate();
    }
    return QMainWindow::event(e);
}

void TAddressMain::FormActivate()
{
    Settings settings;
    restorePlacement(this, QString::fromLatin1(kClassName), settings);
}

void TAddressMain::closeEvent(QCloseEvent* e)
{
    Settings settings;
    storePlacement(this, QString::fromLatin1(kClassName), settings);
    e->accept();
}

} // namespace postavo
