#include "progressframe.h"

namespace postavo::printing {

QString ProgressFrame::buttonCaption() const
{
    if (!running_)
        return QStringLiteral("Ok");
    return preview_ ? QStringLiteral("Stop") : QStringLiteral("Cancel");
}

ProgressFrame::Action ProgressFrame::press()
{
    if (!running_)
        return Action::Close;
    pressed_ = true;
    if (preview_) {
        stop_ = true;
        return Action::Stop;
    }
    return Action::AskCancel;
}

void ProgressFrame::finish(bool aborted)
{
    running_ = false;
    finished_ = true;
    aborted_ = aborted;
}

QString ProgressFrame::finalFormat() const
{
    if (aborted_)
        return preview_ ? texts_.previewCanceled : texts_.printCanceled;
    if (preview_ && stop_)
        return texts_.previewStopped;
    return preview_ ? texts_.previewReady : texts_.printCompleted;
}

bool ProgressFrame::closesByItself() const
{
    if (!finished_)
        return false;
    if (pressed_)
        return true;
    return preview_ && !aborted_ && !stop_ && texts_.closeWhenPreviewReady;
}

} // namespace postavo::printing
