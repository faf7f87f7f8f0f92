#include "designsurface.h"

#include "addressfile.h"
#include "classregistry.h"
#include "labelobjectfiler.h"
#include "printcanvas.h"
#include "programfolder.h"
#include "textdialogs.h"

#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QtDebug>

namespace postavo::design {

namespace {
std::function<void(const QString&)> g_reporter;
std::function<void(const QString&)> g_defaultReporter;
} // namespace

DesignSurface::DesignSurface(QObject* owner, int width, int height)
    : owner_(owner ? owner : &ownOwner_), width_(width), height_(height)
{
    registerStandardDesignClasses();
    selection_.changed = [this](Selection::Change c) { selectionChanged(c); };
}

DesignSurface::~DesignSurface()
{
    // The objects go while the selection and the owner are still there.
    freeAllObjects();
}

QString DesignSurface::clipboardPath() const
{
    if (clipboardPath_.isEmpty())
        clipboardPath_ = ProgramFolder::path() + QStringLiteral("Clipbrd.tmp");
    return clipboardPath_;
}

void DesignSurface::setErrorReporter(std::function<void(const QString&)> reporter) { g_reporter = std::move(reporter); }

void DesignSurface::setDefaultErrorReporter(std::function<void(const QString&)> reporter)
{
    g_defaultReporter = std::move(reporter);
}

void DesignSurface::reportError(const QString& message)
{
    if (g_reporter)
        g_reporter(message);
    else if (g_defaultReporter)
        g_defaultReporter(message);
    else
        qWarning().noquote() << message;
}

// ---- published ----

void DesignSurface::setPointing(bool on)
{
    pointing_ = on;
    pointingChanged();
}

int DesignSurface::snapStep() const { return snap_ ? (gridSize_ == gs8x8 ? 8 : 4) : 1; }

void DesignSurface::setGridSize(int g)
{
    gridSize_ = g;
    if (snap_)
        gridChanged();
    surfaceChanged();
}

void DesignSurface::setShowGrid(bool on)
{
    showGrid_ = on;
    surfaceChanged();
}

void DesignSurface::setSnapToGrid(bool on)
{
    snap_ = on;
    gridChanged();
}

void DesignSurface::setDisplayDataValues(bool on)
{
    DesignHost::setDisplayDataValues(on);
    refreshObjects();
}

void DesignSurface::setSurfaceSize(int width, int height)
{
    width_ = width;
    height_ = height;
}

void DesignSurface::refreshFromDataset()
{
    if (!dataset() || !dataset()->isOpen())
        return;
    for (auto* o : designObjects())
        o->refreshData();
    QCoreApplication::processEvents();
}

// ---- host notifications ----

void DesignSurface::labelChanged()
{
    if (isPrinting() || zooming_)
        return;
    notifyLabelChanged();
}

void DesignSurface::repaintObject(TGGraphicControl*) { surfaceChanged(); }

void DesignSurface::objectBoundsChanged(TGGraphicControl*)
{
    // The frame follows once the current event has been handled.
    if (repositionPosted_)
        return;
    repositionPosted_ = true;
    QMetaObject::invokeMethod(
        &queue_,
        [this] {
            repositionPosted_ = false;
            selection_.reposition();
        },
        Qt::QueuedConnection);
}

void DesignSurface::objectRemoved(TGGraphicControl* o)
{
    selection_.remove(o);
    surfaceChanged();
}

void DesignSurface::objectCommand(TGGraphicControl* o, ObjectCommand c)
{
    const bool selected = selection_.contains(o);
    switch (c) {
    case ObjectCommand::BringToFront:
        o->notifyChanged();
        moveToFront(o);
        surfaceChanged();
        break;
    case ObjectCommand::SendToBack:
        o->notifyChanged();
        moveToBack(o);
        selection_.clear();
        surfaceChanged();
        break;
    case ObjectCommand::Cut:
    case ObjectCommand::Copy:
    case ObjectCommand::Delete:
        if (selected) {
            clipboardCommand(c == ObjectCommand::Cut ? ClipboardCmd::Cut
                             : c == ObjectCommand::Copy ? ClipboardCmd::Copy
                                                        : ClipboardCmd::Delete);
        } else {
            if (c != ObjectCommand::Delete) {
                TGLabelObjectFiler filer(owner_);
                if (!filer.writeObject(o, clipboardPath()))
                    reportError(filer.lastError());
            }
            if (c != ObjectCommand::Copy) {
                labelChanged();
                destroyObject(o);
            }
        }
        break;
    case ObjectCommand::Clone:
        cloneObject(o);
        break;
    case ObjectCommand::CenterVertically:
        centerVertically(o);
        break;
    case ObjectCommand::CenterHorizontally:
        centerHorizontally(o);
        break;
    case ObjectCommand::Deselect:
        selection_.remove(o);
        break;
    }
}

// ---- virtual operations ----

void DesignSurface::createObjectInRect(const QRect&) {}

void DesignSurface::printObjects(printing::TPrintCanvas& report, double x, double y)
{
    for (auto* o : designObjects())
        o->printObject(report, x, y);
}

void DesignSurface::pullObjectsInside()
{
    selection_.clear();
    for (auto* o : designObjects()) {
        if (o->top() > hostHeight() - 10)
            o->setTop(hostHeight() - 10);
        if (o->left() > hostWidth() - 20)
            o->setLeft(hostWidth() - 20);
    }
}

void DesignSurface::deleteOutsideObjects()
{
    selection_.clear();
    for (auto* o : designObjects())
        if (o->top() > hostHeight() - 10 || o->left() > hostWidth() - 10 || o->width() < 1 || o->height() < 1)
            destroyObject(o);
}

// ---- operations ----

void DesignSurface::placeObject(TGGraphicControl* object, const QRect& r)
{
    object->setVisible(false);
    insertObject(object);
    object->setParent(owner_);
    const QString name = uniqueComponentName(owner_, QStringLiteral("Special"), 1);
    if (!name.isEmpty())
        object->setObjectName(name);
    object->setBounds(r.left(), r.top(), std::max(r.width(), 10), std::max(r.height(), 15));
    object->loaded();
    attachObject(object);
    object->setZoom(zoom_);
    object->setVisible(true);
    labelChanged();
    QCoreApplication::processEvents();
}

void DesignSurface::attachObject(TGGraphicControl* object) { object->setAttached(true); }

void DesignSurface::attachAllObjects()
{
    for (auto* o : designObjects()) {
        attachObject(o);
        o->adoptZoom(zoom_);
    }
}

bool DesignSurface::saveObjects(const QString& path)
{
    if (zoom_ != 1.0f)
        setZoom(1.0f);
    clearDataAll();
    TGLabelObjectFiler filer(owner_);
    const bool ok = filer.writeSurface(*this, path);
    error_ = filer.lastError();
    refreshObjects();
    if (!ok)
        reportError(error_);
    return ok;
}

bool DesignSurface::loadObjects(const QString& path)
{
    error_.clear();
    if (!QFile::exists(path))
        return true;
    TGLabelObjectFiler filer(owner_);
    const bool ok = filer.readIntoSurface(*this, path);
    error_ = filer.lastError();
    attachAllObjects();
    refreshObjects();
    surfaceChanged();
    if (!ok)
        reportError(error_);
    return ok;
}

void DesignSurface::setZoom(float factor)
{
    if (factor == zoom_)
        return;
    zooming_ = true;
    if (zoom_ == 0.0f)
        zoom_ = 1.0f;
    const float r = factor / zoom_;
    setSurfaceSize(roundHalfEven(double(hostWidth()) * double(r)), roundHalfEven(double(hostHeight()) * double(r)));
    zoom_ = factor;
    for (auto* o : designObjects())
        o->setZoom(factor);
    QCoreApplication::processEvents();
    zooming_ = false;
}

void DesignSurface::alignLeft()
{
    if (!selection_.count())
        return;
    labelChanged();
    int x = hostWidth();
    for (auto* o : selection_.objects())
        x = std::min(x, o->left());
    for (auto* o : selection_.objects())
        o->setLeft(x);
    surfaceChanged();
}

void DesignSurface::alignRight()
{
    if (!selection_.count())
        return;
    labelChanged();
    int r = 0;
    bool first = true;
    for (auto* o : selection_.objects()) {
        r = first ? o->left() + o->width() : std::max(r, o->left() + o->width());
        first = false;
    }
    for (auto* o : selection_.objects())
        o->setLeft(r - o->width());
    surfaceChanged();
}

void DesignSurface::alignTops()
{
    if (!selection_.count())
        return;
    labelChanged();
    int y = hostHeight();
    for (auto* o : selection_.objects())
        y = std::min(y, o->top());
    for (auto* o : selection_.objects())
        o->setTop(y);
    surfaceChanged();
}

void DesignSurface::alignBottoms()
{
    if (!selection_.count())
        return;
    labelChanged();
    int b = 0;
    bool first = true;
    for (auto* o : selection_.objects()) {
        b = first ? o->top() + o->height() : std::max(b, o->top() + o->height());
        first = false;
    }
    for (auto* o : selection_.objects())
        o->setTop(b - o->height());
    surfaceChanged();
}

void DesignSurface::centerVertically(TGGraphicControl* o)
{
    o->setTop(hostHeight() / 2 - o->height() / 2);
    o->notifyChanged();
    surfaceChanged();
}

void DesignSurface::centerHorizontally(TGGraphicControl* o)
{
    o->setLeft(hostWidth() / 2 - o->width() / 2);
    o->notifyChanged();
    surfaceChanged();
}

void DesignSurface::bringSelectionToFront()
{
    if (!selection_.count())
        return;
    for (auto* o : selection_.objects())
        moveToFront(o);
    focusSelection();
    labelChanged();
    surfaceChanged();
}

void DesignSurface::sendSelectionToBack()
{
    if (!selection_.count())
        return;
    for (auto* o : selection_.objects())
        moveToBack(o);
    focusSelection();
    selection_.clear();
    labelChanged();
    surfaceChanged();
}

void DesignSurface::selectAll()
{
    selection_.clear();
    for (auto* o : designObjects())
        selection_.add(o);
}

void DesignSurface::lockAll()
{
    for (auto* o : designObjects())
        if (!o->Locked) {
            o->Locked = true;
            o->notifyChanged();
        }
}

void DesignSurface::unlockAll()
{
    for (auto* o : designObjects())
        if (o->Locked) {
            o->Locked = false;
            o->notifyChanged();
        }
}

void DesignSurface::markAllSelectable()
{
    for (auto* o : designObjects())
        o->Unselectable = false;
}

void DesignSurface::markAllUnselectable()
{
    for (auto* o : designObjects())
        o->Unselectable = true;
}

void DesignSurface::applyFontToSelection(const LayoutFont& font)
{
    for (auto* o : selection_.objects())
        o->applyFont(font);
    surfaceChanged();
}

void DesignSurface::nextItemAll()
{
    for (auto* o : designObjects())
        o->nextItem();
}

void DesignSurface::resetItemAll()
{
    for (auto* o : designObjects())
        o->resetItem();
}

void DesignSurface::clearDataAll()
{
    for (auto* o : designObjects())
        o->clearData();
}

void DesignSurface::deleteAllObjects()
{
    selection_.clear();
    freeAllObjects();
    surfaceChanged();
}

void DesignSurface::deleteSelection()
{
    const auto selected = selection_.objects();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
        selection_.remove(*it);
        destroyObject(*it);
        labelChanged();
    }
    surfaceChanged();
}

void DesignSurface::clipboardCommand(ClipboardCmd command)
{
    TGLabelObjectFiler filer(owner_);
    switch (command) {
    case ClipboardCmd::Cut:
    case ClipboardCmd::Copy:
        if (!filer.writeSelection(selection_.objects(), clipboardPath())) {
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
        if (!QFile::exists(clipboardPath()))
            return;
        const bool ok = filer.readWithOffset(*this, clipboardPath());
        attachAllObjects();
        labelChanged();
        QCoreApplication::processEvents();
        lastPaste_ = tickMs();
        surfaceChanged();
        if (!ok)
            reportError(filer.lastError());
        break;
    }
    }
}

void DesignSurface::cloneObject(TGGraphicControl* o)
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
    refreshObjects();
    if (selection_.contains(o)) {
        selection_.remove(o);
        selection_.add(copy);
    }
    attachAllObjects();
    o->notifyChanged();
    surfaceChanged();
}

void DesignSurface::finishBand(const QRect& band, bool toggle)
{
    if (!pointing_) {
        createObjectInRect(band);
        if (DroppedObjectEvent)
            DroppedObjectEvent(band);
        return;
    }
    auto meets = [&](TGGraphicControl* o) { return band.isValid() && band.intersects(o->boundsRect()); };
    if (!toggle) {
        selection_.clear();
        for (auto* o : designObjects())
            if (meets(o))
                selection_.add(o);
        return;
    }
    for (auto* o : designObjects())
        if (meets(o)) {
            if (selection_.contains(o))
                selection_.remove(o);
            else
                selection_.add(o);
        }
}

// ---- menus ----

MenuEntries DesignSurface::surfaceMenu()
{
    const bool any = selection_.count() > 0;
    const bool objects = objectCount() > 0;
    const bool clip = QFile::exists(clipboardPath());
    auto entry = [](const char* caption, std::function<void()> run, bool enabled = true) {
        MenuEntry e{QString::fromLatin1(caption), std::move(run)};
        e.enabled = enabled;
        return e;
    };
    const MenuEntry sep{QStringLiteral("-")};
    return {
        entry("Bring To Front", [this] { bringSelectionToFront(); }, any),
        entry("Send To Back", [this] { sendSelectionToBack(); }, any),
        sep,
        entry("Cut", [this] { clipboardCommand(ClipboardCmd::Cut); }, any),
        entry("Copy", [this] { clipboardCommand(ClipboardCmd::Copy); }, any),
        entry("Paste", [this] { clipboardCommand(ClipboardCmd::Paste); }, clip),
        sep,
        entry("Delete", [this] { clipboardCommand(ClipboardCmd::Delete); }, any),
        sep,
        entry("Align Left", [this] { alignLeft(); }, any),
        entry("Align Right", [this] { alignRight(); }, any),
        entry("Align Tops", [this] { alignTops(); }, any),
        entry("Align Bottoms", [this] { alignBottoms(); }, any),
        sep,
        entry("Center Vertically", [this] {
            for (auto* o : selection_.objects())
                centerVertically(o);
        }, any),
        entry("Center Horizontally", [this] {
            for (auto* o : selection_.objects())
                centerHorizontally(o);
        }, any),
        sep,
        entry("Lock All", [this] { lockAll(); }, objects),
        entry("Unlock All", [this] { unlockAll(); }, objects),
        sep,
        entry("Mark All Selectable", [this] { markAllSelectable(); }),
        entry("Mark All Unselectable", [this] { markAllUnselectable(); }),
        entry("Select All", [this] { selectAll(); }),
        sep,
        entry("Font", [this] {
            const QFont font = menuFont();
            LayoutFont f = LayoutFont::fromPoints(font.family(), font.pointSizeF() > 0 ? font.pointSizeF() : 10);
            if (dialogs().chooseFont(&f))
                applyFontToSelection(f);
        }, any),
    };
}

TGGraphicControl* DesignSurface::objectAt(QPoint p) const
{
    const auto list = designObjects();
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if ((*it)->attached() && (*it)->visible() && (*it)->boundsRect().contains(p))
            return *it;
    return nullptr;
}

// ---- painting ----

QPainterPath DesignSurface::shapePath() const
{
    QPainterPath path;
    const QRectF r(0, 0, hostWidth() + 1, hostHeight() + 1);
    switch (Shape) {
    case lsRectangle: path.addRect(r); break;
    case lsEllipse: path.addEllipse(r); break;
    default: path.addRoundedRect(r, 12, 12); break;
    }
    return path;
}

QImage DesignSurface::background() const
{
    const QSize size(hostWidth(), hostHeight());
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const QPainterPath clip = shapePath();
    for (const LayoutPicture* pic : {&Picture, &ColorPicture}) {
        const QImage image = pic->image();
        if (image.isNull())
            continue;
        p.save();
        p.setClipPath(clip);
        p.drawImage(QRect(QPoint(0, 0), size), image);
        p.restore();
    }
    if (DrawOutline) {
        p.save();
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        const QRectF r(0, 0, size.width() - 1, size.height() - 1);
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
        for (int y = 2; y < size.height(); y += step)
            for (int x = 2; x < size.width(); x += step)
                p.fillRect(QRect(x, y, 1, 1), dot);
        p.restore();
    }
    return img;
}

void DesignSurface::paintObjects(QPainter& p, const QColor& single, const QColor& several) const
{
    const int n = selection_.count();
    for (auto* o : designObjects()) {
        if (!o->visible())
            continue;
        p.save();
        p.translate(o->left(), o->top());
        p.setClipRect(QRect(0, 0, o->width(), o->height()));
        o->paint(p);
        p.restore();
        if (selection_.contains(o))
            o->paintMarks(p, n == 1 ? single : several, n == 1);
    }
}

} // namespace postavo::design
