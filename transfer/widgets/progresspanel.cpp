#include "progresspanel.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace postavo::transfer {

ProgressPanel::ProgressPanel(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    status_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 100);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    since_.start();
}

void ProgressPanel::setStatus(const QString& text)
{
    status_->setText(text);
    pump(true);
}

void ProgressPanel::setPosition(int percent)
{
    bar_->setValue(percent);
    pump(false);
}

bool ProgressPanel::stopRequested()
{
    pump(false);
    return stop_;
}

void ProgressPanel::setStoppable(bool on)
{
    stoppable_ = on;
    if (stoppableChanged_)
        stoppableChanged_(on);
}

QString ProgressPanel::statusText() const { return status_->text(); }
int ProgressPanel::position() const { return bar_->value(); }

// Events a few times a second: often enough to stay responsive, rarely enough to cost nothing.
void ProgressPanel::pump(bool force)
{
    if (!force && since_.elapsed() < 50)
        return;
    since_.restart();
    QApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace postavo::transfer
