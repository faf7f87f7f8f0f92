#include "windowplacement.h"

#include "settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace postavo {

namespace {
QScreen* screenOf(const QWidget* w)
{
    QScreen* s = w->screen();
    return s ? s : QGuiApplication::primaryScreen();
}
} // namespace

QString placementSectionFor(const QWidget* window, const QString& windowClass)
{
    QScreen* s = screenOf(window);
    const int dpi = s ? qRound(s->logicalDotsPerInch()) : 96;
    return placementSection(windowClass, dpi);
}

void restorePlacement(QWidget* window, const QString& windowClass, Settings& settings,
                      const QWidget* centreOver)
{
    QScreen* s = screenOf(window);
    const QRect screenRect = s ? s->geometry() : QRect(0, 0, 1024, 768);
    QRect over = screenRect;
    if (centreOver && !centreOver->isMaximized())
        over = centreOver->frameGeometry();
    const Placement current = Placement::fromRect(window->normalGeometry().isValid()
                                                      ? window->normalGeometry()
                                                      : window->geometry(),
                                                  window->isMaximized());
    const Placement p = loadPlacement(settings, placementSectionFor(window, windowClass), current,
                                      screenRect.size(), over);
    window->setGeometry(p.rect());
    if (p.maximized)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void storePlacement(const QWidget* window, const QString& windowClass, Settings& settings)
{
    const QRect normal = window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry();
    savePlacement(settings, placementSectionFor(window, windowClass),
                  Placement::fromRect(normal, window->isMaximized()));
}

} // namespace postavo
