#include "designsurface.h"

#include "classregistry.h"
#include "labelobjectfiler.h"
#include "printcanvas.h"
#include "programfolder.h"
#include "textdialogs.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace postavo::design {

namespace {
std::function<void(const QString&)> g_reporter;

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
    : QWidget(parent), owner_(owner ? owner : (parent ? static_cast<QObject*>(parent->window()) : this))
{
    registerStandardDesignClasses();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    clipboardPath_ = ProgramFolder::path() + QStringLiteral("Clipbrd.tmp");
    frame_ = new TGHandle(this);
}

TGBasePanel::~TGBasePanel()
{
    freeAllObjects();
    // The clipboard file lives only as long as the designers; errors do not matter here.
    QFile::remove(clipboardPath_);
}

void TGBasePanel::setErrorReporter(std::function<void(const QString&)> reporter) { g_reporter = std::move(reporter); }

void TGBasePanel::reportError(const QString& message)
{
    if (g_reporter)
        g_reporter(message);
    else
        QMessageBox::warning(nullptr, QStringLiteral("Postavo"), message);
}

// ---- published ----

void TGBasePanel::setPointing(bool on)
{
    pointing_ = on;
    setCursor(on ? Qt::ArrowCursor : Qt::CrossCursor);
}

void TGBasePanel::setGridSize(int g)
{
    gridSize_ = g;
    if (snap_)
        frame_->setGrid(g == gs8x8 ? 8 : 4);
    update();
}

void TGBasePanel::setShowGrid(bool on)
{
    showGrid_ = on;
    update();
}

void TGBasePanel::setSnapToGrid(bool on)
{
    snap_ = on;
    frame_->setGrid(on ? (gridSize_ == gs8x8 ? 8 : 4) : 1);
}

// ---- host notifications ----

void TGBasePanel::labelChanged()
{
    if (isPrinting() || zooming_)
        return;
    if (LabelChangedEvent)
        LabelChangedEvent(this);
}

void TGBasePanel::repaintObject(TGGraphicControl*) { update(); }

void TGBasePanel::objectBoundsChanged(TGGraphicControl*)
{
    // The frame follows once the current event has been handled.
    if (repositionPosted_)
        return;
    repositionPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            repositionPosted_ = false;
            if (frame_->count())
                frame_->Reposition();
        },
        Qt::QueuedConnection);
}

void TGBasePanel::objectRemoved(TGGraphicControl* o)
{
    if (frame_ && frame_->contains(o))
        frame_->Remove(o);
    update();
}

void TGBasePanel::objectCommand(TGGraphicControl* o, ObjectCommand c)
{
    const bool selected = frame_->contains(o);
    switch (c) {
    case ObjectCommand::BringToFront:
        o->NotifyChanged();
        moveToFront(o);
        frame_->raise();
        update();
        break;
    case ObjectCommand::SendToBack:
        o->NotifyChanged();
        moveToBack(o);
        frame_->Clear();
        update();
        break;
    case ObjectCommand::Cut:
    case ObjectCommand::Copy:
    case ObjectCommand::Delete:
        if (selected) {
            ClipboardCommand(c == ObjectCommand::Cut ? ClipboardCmd::Cut
                             : c == ObjectCommand::Copy ? ClipboardCmd::Copy
                                                        : ClipboardCmd::Delete);
        } else {
            if (c != ObjectCommand::Delete) {
                TGLabelObjectFiler filer(owner_);
                if (!filer.writeObject(o, clipboardPath_))
                    reportError(filer.lastError());
            }
            if (c != ObjectCommand::Copy) {
                labelChanged();
                delete o;
            }
        }
        break;
    case ObjectCommand::Clone:
        CloneObject(o);
        break;
    case ObjectCommand::CenterVertically:
        CenterVertically(o);
        break;
    case ObjectCommand::CenterHorizontally:
        CenterHorizontally(o);
        break;
    case ObjectCommand::Deselect:
        frame_->Remove(o);
        break;
    }
}

// ---- virtual operations ----

void TGBasePanel::CreateObjectInRect(const QRect&) {}

void TGBasePanel::ObjectMouseDown(TGGraphicControl* object, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                  int x, int y)
{
    const QPoint surfacePoint(object->left() + x, object->top() + y);
    if (!pointing_ || object->Unselectable) {
        surfacePress(surfacePoint, button, shift);
        return;
    }
    if (!(shift & Qt::ShiftModifier))
        frame_->Clear();
    frame_->Add(object);
    frame_->update();
    if (frame_->count() == 1 && button == Qt::RightButton) {
        frame_->releaseCapture();
        openObjectMenu(object, mapToGlobal(surfacePoint));
    }
}

void TGBasePanel::PrintObjects(printing::TPrintCanvas& report, double x, double y)
{
    for (auto* o : std::vector<TGGraphicControl*>(designObjects()))
        o->PrintObject(report, x, y);
}

void TGBasePanel::PullObjectsInside()
{
    frame_->Clear();
    for (auto* o : designObjects()) {
        if (o->top() > height() - 10)
            o->setTop(height() - 10);
        if (o->left() > width() - 20)
            o->setLeft(width() - 20);
    }
}

void TGBasePanel::DeleteOutsideObjects()
{
    frame_->Clear();
    for (auto* o : std::vector<TGGraphicControl*>(designObjects()))
        if (o->top() > height() - 10 || o->left() > width() - 10 || o->width() < 1 || o->height() < 1)
            delete o;
}

// ---- operations ----

void TGBasePanel::PlaceObject(TGGraphicControl* object, const QRect& r)
{
    object->setVisible(false);
    insertObject(object);
    object->setParent(owner_);
    const QString name = uniqueComponentName(owner_, QStringLiteral("Special"), 1);
    if (!name.isEmpty())
        object->setObjectName(name);
    object->setBounds(r.left(), r.top(), std::max(r.width(), 10), std::max(r.height(), 15));
    object->Loaded();
    AttachObject(object);
    object->SetZoom(zoom_);
    object->setVisible(true);
    labelChanged();
    QCoreApplication::processEvents();
}

void TGBasePanel::AttachObject(TGGraphicControl* object)
{
    object->setAttached(true);
}

void TGBasePanel::AttachAllObjects()
{
    for (auto* o : designObjects()) {
        AttachObject(o);
        o->adoptZoom(zoom_);
    }
}

bool TGBasePanel::SaveObjects(const QString& path)
{
    if (zoom_ != 1.0f)
        SetZoom(1.0f);
    ClearDataAll();
    TGLabelObjectFiler filer(owner_);
    const bool ok = filer.writeSurface(*this, path);
    error_ = filer.lastError();
    RefreshObjects();
    if (!ok)
        reportError(error_);
    return ok;
}

bool TGBasePanel::LoadObjects(const QString& path)
{
    error_.clear();
    if (!QFile::exists(path))
        return true;
    TGLabelObjectFiler filer(owner_);
    const bool ok = filer.readIntoSurface(*this, path);
    error_ = filer.lastError();
    AttachAllObjects();
    RefreshObjects();
    update();
    if (!ok)
        reportError(error_);
    return ok;
}

void TGBasePanel::SetZoom(float factor)
{
    if (factor == zoom_)
        return;
    zooming_ = true;
    if (zoom_ == 0.0f)
        zoom_ = 1.0f;
    const float r = factor / zoom_;
    resize(roundHalfEven(double(width()) * double(r)), roundHalfEven(double(height()) * double(r)));
    zoom_ = factor;
    for (auto* o : designObjects())
        o->SetZoom(factor);
    QCoreApplication::processEvents();
    zooming_ = false;
}

void TGBasePanel::AlignLeft()
{
    if (!frame_->count())
        return;
    labelChanged();
    int x = width();
    for (auto* o : frame_->selection())
        x = std::min(x, o->left());
    for (auto* o : frame_->selection())
        o->setLeft(x);
    update();
}

void TGBasePanel::AlignRight()
{
    if (!frame_->count())
        return;
    labelChanged();
    int r = 0;
    bool first = true;
    for (auto* o : frame_->selection()) {
        r = first ? o->left() + o->width() : std::max(r, o->left() + o->width());
        first = false;
    }
    for (auto* o : frame_->selection())
        o->setLeft(r - o->width());
    update();
}

void TGBasePanel::AlignTops()
{
    if (!frame_->count())
        return;
    labelChanged();
    int y = height();
    for (auto* o : frame_->selection())
        y = std::min(y, o->top());
    for (auto* o : frame_->selection())
        o->setTop(y);
    update();
}

void TGBasePanel::AlignBottoms()
{
    if (!frame_->count())
        return;
    labelChanged();
    int b = 0;
    bool first = true;
    for (auto* o : frame_->selection()) {
        b = first ? o->top() + o->height() : std::max(b, o->top() + o->height());
        first = false;
    }
    for (auto* o : frame_->selection())
        o->setTop(b - o->height());
    update();
}

void TGBasePanel::CenterVertically(TGGraphicControl* o)
{
    o->setTop(height() / 2 - o->height() / 2);
    o->NotifyChanged();
    update();
}

void TGBasePanel::CenterHorizontally(TGGraphicControl* o)
{
    o->setLeft(width() / 2 - o->width() / 2);
    o->NotifyChanged();
    update();
}

void TGBasePanel::BringSelectionToFront()
{
    if (!frame_->count())
        return;
    for (auto* o : frame_->selection())
        moveToFront(o);
    frame_->raise();
    frame_->setFocus();
    labelChanged();
    update();
}

void TGBasePanel::SendSelectionToBack()
{
    if (!frame_->count())
        return;
    for (auto* o : frame_->selection())
        moveToBack(o);
    frame_->raise();
    frame_->setFocus();
    frame_->Clear();
    labelChanged();
    update();
}

void TGBasePanel::SelectAll()
{
    frame_->Clear();
    for (auto* o : designObjects())
        frame_->Add(o);
    frame_->releaseCapture();
}

void TGBasePanel::LockAll()
{
    for (auto* o : designObjects())
        if (!o->Locked) {
            o->Locked = true;
            o->NotifyChanged();
        }
}

void TGBasePanel::UnlockAll()
{
    for (auto* o : designObjects())
        if (o->Locked) {
            o->Locked = false;
            o->NotifyChanged();
        }
}

void TGBasePanel::MarkAllSelectable()
{
    for (auto* o : designObjects())
        o->Unselectable = false;
}

void TGBasePanel::MarkAllUnselectable()
{
    for (auto* o : designObjects())
        o->Unselectable = true;
}

void TGBasePanel::ApplyFontToSelection(const LayoutFont& font)
{
    for (auto* o : frame_->selection())
        o->ApplyFont(font);
    update();
}

void TGBasePanel::NextItemAll()
{
    for (auto* o : designObjects())
        o->NextItem();
}

void TGBasePanel::ResetItemAll()
{
    for (auto* o : designObjects())
        o->ResetItem();
}

void TGBasePanel::ClearDataAll()
{
    for (auto* o : designObjects())
        o->ClearData();
}

void TGBasePanel::DeleteAllObjects()
{
    frame_->Clear();
    freeAllObjects();
    update();
}

void TGBasePanel::deleteSelection()
{
    const auto selected = frame_->selection();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        frame_->Remove(*it);
        delete *it;
        labelChanged();
    }
    update();
}

void TGBasePanel::ClipboardCommand(ClipboardCmd command)
{
    TGLabelObjectFiler filer(owner_);
    switch (command) {
    case ClipboardCmd::Cut:
    case ClipboardCmd::Copy:
        if (!filer.writeSelection(frame_->selection(), clipboardPath_)) {
            reportError(filer.lastError());
            return;
        }
        if (command == ClipboardCmd::Cut)
            deleteSelection();
        break;
    case ClipboardCmd::Delete:
        deleteSelection();
        break;
    case ClipboardCmd::Paste: {
        const qint64 now = tickMs();
        if (lastPaste_ != 0 && now - lastPaste_ < 1000)
            return;
        if (!QFile::exists(clipboardPath_))
            return;
        const bool ok = filer.readWithOffset(*this, clipboardPath_);
        AttachAllObjects();
        labelChanged();
        QCoreApplication::processEvents();
        lastPaste_ = tickMs();
        update();
        if (!ok)
            reportError(filer.lastError());
        break;
    }
    }
}

void TGBasePanel::CloneObject(TGGraphicControl* o)
{
    TGLabelObjectFiler filer(owner_);
    TGGraphicControl* copy = filer.clone(o);
    QCoreApplication::processEvents();
    if (!copy) {
        if (!filer.lastError().isEmpty())
            reportError(filer.lastError());
        return;
    }
    copy->setTop(o->top() + 25);
    moveToFront(copy);
    RefreshObjects();
    if (frame_->contains(o)) {
        frame_->Remove(o);
        frame_->Add(copy);
        frame_->releaseCapture();
    }
    AttachAllObjects();
    o->NotifyChanged();
    update();
}

// ---- menus ----

MenuEntries TGBasePanel::surfaceMenu()
{
    const bool any = frame_->count() > 0;
    const bool objects = objectCount() > 0;
    const bool clip = QFile::exists(clipboardPath_);
    auto entry = [](const char* caption, std::function<void()> run, bool enabled = true) {
        MenuEntry e{QString::fromLatin1(caption), std::move(run)};
        e.enabled = enabled;
        return e;
    };
    const MenuEntry sep{QStringLiteral("-")};
    return {
        entry("Bring To Front", [this] { BringSelectionToFront(); }, any),
        entry("Send To Back", [this] { SendSelectionToBack(); }, any),
        sep,
        entry("Cut", [this] { ClipboardCommand(ClipboardCmd::Cut); }, any),
        entry("Copy", [this] { ClipboardCommand(ClipboardCmd::Copy); }, any),
        entry("Paste", [this] { ClipboardCommand(ClipboardCmd::Paste); }, clip),
        sep,
        entry("Delete", [this] { ClipboardCommand(ClipboardCmd::Delete); }, any),
        sep,
        entry("Align Left", [this] { AlignLeft(); }, any),
        entry("Align Right", [this] { AlignRight(); }, any),
        entry("Align Tops", [this] { AlignTops(); }, any),
        entry("Align Bottoms", [this] { AlignBottoms(); }, any),
        sep,
        entry("Center Vertically", [this] {
            for (auto* o : frame_->selection())
                CenterVertically(o);
        }, any),
        entry("Center Horizontally", [this] {
            for (auto* o : frame_->selection())
                CenterHorizontally(o);
        }, any),
        sep,
        entry("Lock All", [this] { LockAll(); }, objects),
        entry("Unlock All", [this] { UnlockAll(); }, objects),
        sep,
        entry("Mark All Selectable", [this] { MarkAllSelectable(); }),
        entry("Mark All Unselectable", [this] { MarkAllUnselectable(); }),
        entry("Select All", [this] { SelectAll(); }),
        sep,
        entry("Font", [this] {
            LayoutFont f = LayoutFont::fromPoints(font().family(), font().pointSizeF() > 0 ? font().pointSizeF() : 10);
            if (dialogs().chooseFont(&f))
                ApplyFontToSelection(f);
        }, any),
    };
}

void TGBasePanel::showMenu(const MenuEntries& entries, QPoint globalPos)
{
    QMenu menu(this);
    fillMenu(&menu, entries);
    menu.exec(globalPos);
}

void TGBasePanel::openObjectMenu(TGGraphicControl* o, QPoint globalPos)
{
    o->Loaded();
    o->UpdateMenuChecks();
    showMenu(o->menu(), globalPos);
}

TGGraphicControl* TGBasePanel::objectAt(QPoint p) const
{
    const auto& list = designObjects();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if ((*it)->attached() && (*it)->visible() && (*it)->boundsRect().contains(p))
            return *it;
    return nullptr;
}

// ---- painting ----

QPainterPath TGBasePanel::shapePath() const
{
    QPainterPath path;
    const QRectF r(0, 0, width() + 1, height() + 1);
    switch (Shape) {
    case lsRectangle: path.addRect(r); break;
    case lsEllipse: path.addEllipse(r); break;
    default: path.addRoundedRect(r, 12, 12); break;
    }
    return path;
}

QImage TGBasePanel::background() const
{
    QImage img(size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const QPainterPath clip = shapePath();
    for (const LayoutPicture* pic : {&Picture, &ColorPicture}) {
        const QImage image = pic->image();
        if (image.isNull())
            continue;
        p.save();
        p.setClipPath(clip);
        p.drawImage(QRect(QPoint(0, 0), size()), image);
        p.restore();
    }
    if (DrawOutline) {
        p.save();
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        const QRectF r(0, 0, width() - 1, height() - 1);
        if (Shape == lsRectangle)
            p.drawRect(r);
        else if (Shape == lsEllipse)
            p.drawEllipse(r);
        else
            p.drawRoundedRect(r, 12, 12);
        p.restore();
    }
    if (showGrid_) {
        // Dots darken the background and never lighten it.
        p.save();
        p.setClipPath(clip);
        p.setCompositionMode(QPainter::CompositionMode_Darken);
        const QColor dot(0, 128, 0);
        const int step = gridSize_ == gs8x8 ? 8 : 4;
        for (int y = 2; y < height(); y += step)
            for (int x = 2; x < width(); x += step)
                p.fillRect(QRect(x, y, 1, 1), dot);
        p.restore();
    }
    return img;
}

void TGBasePanel::paintEvent(QPaintEvent*)
{
    // One off-screen picture per paint, copied at once, so nothing flickers.
    QImage buffer = background();
    {
        QPainter p(&buffer);
        const int n = frame_->count();
        for (auto* o : designObjects()) {
            if (!o->visible())
                continue;
            p.save();
            p.translate(o->left(), o->top());
            p.setClipRect(QRect(0, 0, o->width(), o->height()));
            o->paint(p);
            p.restore();
            if (frame_->contains(o))
                o->paintMarks(p, n == 1 ? frame_->Color : frame_->SecondaryColor, n == 1);
        }
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

void TGBasePanel::finishBand(Qt::KeyboardModifiers mods)
{
    bandActive_ = false;
    const QRect r = QRect(QPoint(std::min(bandStart_.x(), band_.right()), std::min(bandStart_.y(), band_.bottom())),
                          QPoint(std::max(bandStart_.x(), band_.right()), std::max(bandStart_.y(), band_.bottom())));
    // As a Windows rectangle the band ends before its far corner.
    const QRect windowsBand(r.left(), r.top(), r.width() - 1, r.height() - 1);
    update();
    if (pointing_) {
        auto meets = [&](TGGraphicControl* o) { return windowsBand.isValid() && windowsBand.intersects(o->boundsRect()); };
        if (!(mods & Qt::ShiftModifier)) {
            frame_->Clear();
            for (auto* o : designObjects())
                if (meets(o))
                    frame_->Add(o);
        } else {
            for (auto* o : std::vector<TGGraphicControl*>(designObjects()))
                if (meets(o)) {
                    if (frame_->contains(o))
                        frame_->Remove(o);
                    else
                        frame_->Add(o);
                }
        }
        frame_->releaseCapture();
        setCursor(Qt::ArrowCursor);
    } else {
        CreateObjectInRect(windowsBand);
        if (DroppedObjectEvent)
            DroppedObjectEvent(windowsBand);
    }
}

void TGBasePanel::mousePressEvent(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (frame_->hasCapture()) {
        frame_->handlePress(p - frame_->pos(), e->button(), e->modifiers());
        return;
    }
    if (TGGraphicControl* o = objectAt(p)) {
        ObjectMouseDown(o, e->button(), e->modifiers(), p.x() - o->left(), p.y() - o->top());
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
    if (!pointing_)
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
        finishBand(e->modifiers());
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
        ClipboardCommand(ClipboardCmd::Copy);
    else if (e->key() == Qt::Key_V && (e->modifiers() & Qt::ControlModifier))
        ClipboardCommand(ClipboardCmd::Paste);
    else if (e->key() == Qt::Key_X && (e->modifiers() & Qt::ControlModifier))
        ClipboardCommand(ClipboardCmd::Cut);
    else if (e->key() == Qt::Key_Delete)
        ClipboardCommand(ClipboardCmd::Delete);
    else
        QWidget::keyPressEvent(e);
}

} // namespace postavo::design
