#pragma once
// The status line, progress bar and stop request of a running import or export, shown inside
// its window. The pass runs on the window's thread; the panel lets events through now and then
// so that the window repaints and "Cancel" can be pressed.

#include "importrun.h"

#include <QElapsedTimer>
#include <QWidget>

#include <functional>

class QLabel;
class QProgressBar;

namespace postavo::transfer {

class ProgressPanel : public QWidget, public TransferProgress {
    Q_OBJECT
public:
    explicit ProgressPanel(QWidget* parent = nullptr);

    void setStatus(const QString& text) override;
    void setPosition(int percent) override;
    bool stopRequested() override;
    void setStoppable(bool on) override;

    // "Cancel" while the pass runs: asks (when `confirm` is set) and requests the stop.
    void requestStop() { stop_ = true; }
    bool stoppable() const { return stoppable_; }
    // Called when stopping becomes possible or impossible (the window shows or hides "Cancel").
    void onStoppableChanged(std::function<void(bool)> f) { stoppableChanged_ = std::move(f); }
    QString statusText() const;
    int position() const;

private:
    void pump(bool force);

    QLabel* status_;
    QProgressBar* bar_;
    QElapsedTimer since_;
    bool stop_ = false;
    bool stoppable_ = true;
    std::function<void(bool)> stoppableChanged_;
};

} // namespace postavo::transfer
