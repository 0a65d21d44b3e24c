// Keeping windows wholly on the screen.
#include "common/ui/ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace tenlog::common {

namespace {

constexpr auto kKeptOnScreen = "tenlogKeptOnScreen";
constexpr auto kScrollAreaName = "fitScrollArea";

QMargins frameMarginsOf(const QWidget* window)
{
    // Known once the window system has made the window; until then the
    // window is taken to have no frame, and the fit on showing corrects it.
    if (const QWindow* handle = window->windowHandle())
        return handle->frameMargins();
    return {};
}

// The height a widget's layout needs at this width, word-wrapped text included.
int neededHeight(const QWidget* holder, int width)
{
    int height = holder->minimumSizeHint().height();
    if (const QLayout* layout = holder->layout(); layout && layout->hasHeightForWidth())
        height = std::max(height, layout->totalHeightForWidth(width));
    return height;
}

int neededWidth(const QWidget* holder)
{
    return holder->minimumSizeHint().width();
}

bool layoutFits(const QWidget* window, const QSize& room)
{
    return neededWidth(window) <= room.width() && neededHeight(window, room.width()) <= room.height();
}

// The controls that take the focus with Tab, in the order Tab visits them.
QList<QWidget*> tabChain(QWidget* window)
{
    QList<QWidget*> chain;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w;
    }
    return chain;
}

QScrollArea* scrollAreaOf(const QWidget* window)
{
    return window->findChild<QScrollArea*>(QLatin1String(kScrollAreaName), Qt::FindDirectChildrenOnly);
}

// Moves the window's layout, and the controls it places, onto a page inside
// a scroll area that then fills the window. Names, parents' layouts, focus
// order and event filters stay as they were.
void scrollContent(QWidget* window)
{
    QLayout* layout = window->layout();
    const QList<QWidget*> chain = tabChain(window);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("fitScrolledPage"));
    page->setLayout(layout); // takes the layout from the window, with its controls
    auto* scroll = new QScrollArea(window);
    scroll->setObjectName(QLatin1String(kScrollAreaName));
    scroll->setAccessibleName(window->accessibleName().isEmpty() ? window->windowTitle().trimmed()
                                                                 : window->accessibleName());
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    // The old layout's minimum no longer binds the window.
    window->setMinimumSize(0, 0);
    outer->activate();
    for (qsizetype i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain.at(i - 1), chain.at(i));
}

// What a window asks for at most, within the room there is.
QSize fittedSize(const QWidget* window, const QSize& room)
{
    QSize size = window->size();
    if (const QScrollArea* scroll = scrollAreaOf(window)) {
        // As much of the page as there is room for; the rest scrolls.
        const QWidget* page = scroll->widget();
        const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window);
        const int width = std::min(std::max(size.width(), neededWidth(page) + bar), room.width());
        const int height = std::min(std::max(size.height(), neededHeight(page, width - bar)), room.height());
        return QSize(width, height).boundedTo(window->maximumSize());
    }
    if (!window->layout())
        return size.boundedTo(room).boundedTo(window->maximumSize());
    int width = std::min(std::max(size.width(), neededWidth(window)), room.width());
    if (neededHeight(window, width) > room.height()) {
        // Wrapped text takes fewer lines on a wider window: the narrowest
        // width at which everything fits (the full width does).
        int low = width;
        int high = room.width();
        while (low < high) {
            const int middle = (low + high) / 2;
            if (neededHeight(window, middle) <= room.height())
                high = middle;
            else
                low = middle + 1;
        }
        width = low;
    }
    const int height = std::min(std::max(size.height(), neededHeight(window, width)), room.height());
    return QSize(width, height).boundedTo(window->maximumSize());
}

void fitToScreen(QWidget* window)
{
    const QRect area = availableAreaFor(window);
    if (area.isEmpty())
        return;
    window->ensurePolished(); // the sizes below depend on the style's metrics
    const QMargins frame = frameMarginsOf(window);
    const QSize room = area.size().shrunkBy(frame);
    if (window->layout() && !scrollAreaOf(window) && !layoutFits(window, room))
        scrollContent(window);
    const QSize before = window->size();
    const QSize size = fittedSize(window, room);
    window->resize(size);
    const QSize outer = size.grownBy(frame);
    // A window nothing has placed yet is centred. A placed one keeps its
    // place as far as the area allows, and a change of size keeps its
    // centre (a scaled dialog is placed by its centre).
    const QPoint wanted = window->testAttribute(Qt::WA_Moved)
                              ? window->pos() + QPoint((before.width() - size.width()) / 2,
                                                       (before.height() - size.height()) / 2)
                              : area.topLeft() + QPoint((area.width() - outer.width()) / 2,
                                                        (area.height() - outer.height()) / 2);
    const int x = std::max(area.left(), std::min(wanted.x(), area.left() + area.width() - outer.width()));
    const int y = std::max(area.top(), std::min(wanted.y(), area.top() + area.height() - outer.height()));
    window->move(x, y);
}

// Fits its window each time the window is shown by the program (not when the
// window system gives back a minimised window).
class ScreenKeeper final : public QObject {
public:
    explicit ScreenKeeper(QWidget* window)
        : QObject(window)
    {
        setObjectName(QStringLiteral("screenKeeper"));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous() && watched == parent())
            fitToScreen(static_cast<QWidget*>(watched));
        return false;
    }
};

} // namespace

QRect availableAreaFor(const QWidget* window)
{
    QScreen* screen = QGuiApplication::screenAt(window->frameGeometry().center());
    if (!screen)
        screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void keepOnScreen(QWidget* window)
{
    if (!isKeptOnScreen(window)) {
        window->setProperty(kKeptOnScreen, true);
        new ScreenKeeper(window);
    }
    fitToScreen(window);
}

bool isKeptOnScreen(const QWidget* window)
{
    return window->property(kKeptOnScreen).toBool();
}

void fillWithFrame(QWidget* window, const QRect& frameRect)
{
    window->resize(frameRect.size().shrunkBy(frameMarginsOf(window)));
    window->move(frameRect.topLeft());
}

} // namespace tenlog::common
