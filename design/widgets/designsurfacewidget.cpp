#include "designsurfacewidget.h"

#include "designwindows.h"

#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace postavo::design {

namespace {
void fillMenu(QMenu* menu, const MenuEntries& entries)
{
    for (const auto& e : entries) {
        if (e.caption == QLatin1String("-")) {
            menu->addSeparator();
            continue;
        }
        if (!e.sub.empty()) {
            fillMenu(menu->addMenu(e.caption), e.sub);
            continue;
        }
        QAction* a = menu->addAction(e.caption);
        a->setEnabled(e.enabled);
        if (e.checked) {
            a->setCheckable(true);
            a->setChecked(e.checked());
        }
        if (e.run)
            QObject::connect(a, &QAction::triggered, menu, e.run);
    }
}
} // namespace

TGBasePanel::TGBasePanel(QWidget* parent, QObject* owner)
    : QWidget(parent),
      DesignSurface(owner ? owner : (parent ? static_cast<QObject*>(parent->window()) : static_cast<QObject*>(this)))
{
    useDesignWindows();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    frame_ = new TGHandle(this);
}

TGBasePanel::~TGBasePanel()
{
    // The objects go while the frame can still follow; then the frame, which reads the surface.
    freeAllObjects();
    delete frame_;
    frame_ = nullptr;
    // The clipboard file lives only as long as the designers; errors do not matter here.
    QFile::remove(clipboardPath());
}

// ---- following the surface ----

void TGBasePanel::selectionChanged(Selection::Change change)
{
    if (frame_)
        frame_->follow(change);
}

void TGBasePanel::focusSelection() { frame_->setFocus(); }

void TGBasePanel::gridChanged() { frame_->setGrid(snapStep()); }

void TGBasePanel::pointingChanged() { setCursor(Pointing() ? Qt::ArrowCursor : Qt::CrossCursor); }

void TGBasePanel::notifyLabelChanged()
{
    if (LabelChangedEvent)
        LabelChangedEvent(this);
}

// ---- objects under the mouse ----

void TGBasePanel::objectMouseDown(TGGraphicControl* object, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                  int x, int y)
{
    const QPoint surfacePoint(object->left() + x, object->top() + y);
    if (!Pointing() || object->Unselectable) {
        surfacePress(surfacePoint, button, shift);
        return;
    }
    if (!(shift & Qt::ShiftModifier))
        frame_->clear();
    frame_->add(object);
    frame_->update();
    if (frame_->count() == 1 && button == Qt::RightButton) {
        frame_->releaseCapture();
        openObjectMenu(object, mapToGlobal(surfacePoint));
    }
}

// ---- menus ----

void TGBasePanel::showMenu(const MenuEntries& entries, QPoint globalPos)
{
    QMenu menu(this);
    fillMenu(&menu, entries);
    menu.exec(globalPos);
}

void TGBasePanel::openObjectMenu(TGGraphicControl* o, QPoint globalPos)
{
    o->loaded();
    o->updateMenuChecks();
    showMenu(o->menu(), globalPos);
}

// ---- painting ----

void TGBasePanel::paintEvent(QPaintEvent*)
{
    // One off-screen picture per paint, copied at once, so nothing flickers.
    QImage buffer = background();
    {
        QPainter p(&buffer);
        paintObjects(p, frame_->Color, frame_->SecondaryColor);
        if (bandActive_ || !overlay_.isNull()) {
            p.setPen(QPen(Qt::black, 1, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(bandActive_ ? band_.normalized() : overlay_);
        }
    }
    QPainter(this).drawImage(0, 0, buffer);
}

void TGBasePanel::setOverlay(const QRect& r)
{
    overlay_ = r;
    update();
}

// ---- mouse and keys ----

void TGBasePanel::surfacePress(QPoint p, Qt::MouseButton button, Qt::KeyboardModifiers)
{
    bandStart_ = p;
    band_ = QRect(p, p);
    if (button != Qt::LeftButton) {
        showMenu(surfaceMenu(), mapToGlobal(p));
        return;
    }
    bandActive_ = true;
    setCursor(Qt::PointingHandCursor);
}

void TGBasePanel::endBand(Qt::KeyboardModifiers mods)
{
    bandActive_ = false;
    const QRect r = QRect(QPoint(std::min(bandStart_.x(), band_.right()), std::min(bandStart_.y(), band_.bottom())),
                          QPoint(std::max(bandStart_.x(), band_.right()), std::max(bandStart_.y(), band_.bottom())));
    // As a Windows rectangle the band ends before its far corner.
    const QRect windowsBand(r.left(), r.top(), r.width() - 1, r.height() - 1);
    update();
    const bool pointing = Pointing();
    finishBand(windowsBand, mods & Qt::ShiftModifier);
    if (pointing)
        setCursor(Qt::ArrowCursor);
}

void TGBasePanel::mousePressEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (frame_->hasCapture()) {
        frame_->handlePress(p - frame_->pos(), e->button(), e->modifiers());
        return;
    }
    if (TGGraphicControl* o = objectAt(p)) {
        objectMouseDown(o, e->button(), e->modifiers(), p.x() - o->left(), p.y() - o->top());
        return;
    }
    surfacePress(p, e->button(), e->modifiers());
}

void TGBasePanel::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (frame_->hasCapture()) {
        frame_->handleMove(p - frame_->pos(), e->buttons(), e->modifiers());
        return;
    }
    if (bandActive_) {
        band_ = QRect(bandStart_, p);
        update();
        return;
    }
    if (!Pointing())
        setCursor(Qt::CrossCursor);
}

void TGBasePanel::mouseReleaseEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (frame_->hasCapture()) {
        frame_->handleRelease(p - frame_->pos(), e->button(), e->modifiers());
        return;
    }
    if (bandActive_) {
        band_ = QRect(bandStart_, p);
        endBand(e->modifiers());
    }
}

void TGBasePanel::mouseDoubleClickEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (objectAt(p))
        frame_->handleDoubleClick(p - frame_->pos());
    else
        mousePressEvent(e);
}

void TGBasePanel::keyPressEvent(QKeyEvent* e)
{
    if (e->matches(QKeySequence::Copy) || (e->key() == Qt::Key_C && (e->modifiers() & Qt::ControlModifier)))
        clipboardCommand(ClipboardCmd::Copy);
    else if (e->key() == Qt::Key_V && (e->modifiers() & Qt::ControlModifier))
        clipboardCommand(ClipboardCmd::Paste);
    else if (e->key() == Qt::Key_X && (e->modifiers() & Qt::ControlModifier))
        clipboardCommand(ClipboardCmd::Cut);
    else if (e->key() == Qt::Key_Delete)
        clipboardCommand(ClipboardCmd::Delete);
    else
        QWidget::keyPressEvent(e);
}

} // namespace postavo::design
