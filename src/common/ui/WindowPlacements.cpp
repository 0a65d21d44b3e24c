// Remembering where the operator put each window.
#include "common/ui/WindowPlacements.h"

#include "common/ui/ScreenFit.h"
#include "platform/SettingsStore.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace tenlog::common {

namespace {

// The program's own settings, apart from the values other programs share.
const QString kApplication = QStringLiteral("TenLog");
const QString kSection = QStringLiteral("WindowPlacement");

bool isPlacedByOperator(const QWidget* window)
{
    // A splash window is placed by the program alone.
    return window->isWindow() && window->windowType() != Qt::SplashScreen && !window->objectName().isEmpty()
           && isKeptOnScreen(window);
}

bool isResizable(const QWidget* window)
{
    return window->minimumSize() != window->maximumSize();
}

} // namespace

WindowPlacements::WindowPlacements(platform::SettingsStore& store, QObject* parent)
    : QObject(parent)
    , m_store(store)
{
    QCoreApplication::instance()->installEventFilter(this);
}

WindowPlacements::~WindowPlacements()
{
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool WindowPlacements::eventFilter(QObject* watched, QEvent* event)
{
    // Every event of the program passes here: the type test comes first.
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::Hide) || event->spontaneous() || !watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!isPlacedByOperator(window))
        return false;
    if (type == QEvent::Show)
        restore(window);
    else
        remember(window);
    return false;
}

void WindowPlacements::restore(QWidget* window)
{
    const QStringList parts = m_store.value(kApplication, kSection, window->objectName()).split(QLatin1Char(','));
    if (parts.size() != 4)
        return;
    int numbers[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            return; // a damaged entry: the window opens where the program puts it
    }
    if (isResizable(window) && numbers[2] > 0 && numbers[3] > 0)
        window->resize(numbers[2], numbers[3]);
    window->move(numbers[0], numbers[1]);
}

void WindowPlacements::remember(const QWidget* window)
{
    const QPoint at = window->pos();
    const QSize size = window->size();
    m_store.setValue(kApplication, kSection, window->objectName(),
                     QStringLiteral("%1,%2,%3,%4").arg(at.x()).arg(at.y()).arg(size.width()).arg(size.height()));
}

} // namespace tenlog::common
