// The spot list and the band map of the main window.
#include "station/SpotArea.h"

#include "common/ui/NamedWidget.h"
#include "platform/Clock.h"
#include "spots/SpotListRow.h"
#include "spots/SpotMapLayout.h"
#include "spots/ui/SpotMapView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tenlog::station {

namespace {

// Columns with their widths on the 9600-twip reference width; "Status" is
// never filled and has no width.
const std::pair<const char*, int> kColumns[] = {
    {"Call", 1040}, {"Frequency", 880}, {"QTH", 2000}, {"Status", 0},
    {"Comments", 3400}, {"Prefix", 520}, {"Time", 600}, {"From", 520},
};
static_assert(std::size(kColumns) == spots::kSpotListColumns);

} // namespace

SpotArea::SpotArea(const spots::SpotStore& store, const platform::Clock& clock, std::function<float()> utcOffsetHours,
                   std::function<QString(const QString&)> countryOf, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_clock(clock)
    , m_utcOffsetHours(std::move(utcOffsetHours))
    , m_countryOf(std::move(countryOf))
{
    setObjectName(QStringLiteral("spotArea"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    m_pages = new QStackedWidget(this);
    column->addWidget(m_pages);

    m_list = common::named(new QTreeWidget(this), QStringLiteral("txtDX"), QStringLiteral("DX spots, newest first"));
    m_list->setAccessibleDescription(
        QStringLiteral("Ctrl+Shift+S enters the list. Enter or a click takes the spot's call and tunes the radio; "
                       "a double click opens the spectrum map; Escape returns to the call box."));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    // A click leaves the keyboard with the entry line; Ctrl+Shift+S gives it to the list.
    m_list->setFocusPolicy(Qt::NoFocus);
    QStringList names;
    for (const auto& [name, width] : kColumns)
        names << QString::fromLatin1(name);
    m_list->setHeaderLabels(names);
    m_list->headerItem()->setTextAlignment(spots::kFrequencyColumn, Qt::AlignRight | Qt::AlignVCenter);
    // "Status" keeps its place with no width; a hidden column would still
    // leave its old width between its neighbours.
    m_list->header()->setMinimumSectionSize(0);
    m_list->header()->setStretchLastSection(false);
    m_list->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    m_pages->addWidget(m_list);

    m_bandMap = common::named(new spots::SpotMapView(this), QStringLiteral("lblDX"), QStringLiteral("Band map"));
    m_bandMap->setFocusPolicy(Qt::NoFocus);
    m_bandMap->setToolTip(QString()); // each spot has its own
    connect(m_bandMap, &spots::SpotMapView::tuneRequested, this, &SpotArea::tuneRequested);
    connect(m_bandMap, &spots::SpotMapView::removeRequested, this, &SpotArea::removeRequested);
    connect(m_bandMap, &spots::SpotMapView::spotHovered, this, &SpotArea::spotHovered);
    connect(m_bandMap, &spots::SpotMapView::stripClicked, this, &SpotArea::spottingWindowRequested);
    connect(m_bandMap, &spots::SpotMapView::stripDoubleClicked, this, &SpotArea::spectrumMapRequested);
    m_bandMap->installEventFilter(this);
    m_pages->addWidget(m_bandMap);

    hide();
}

void SpotArea::setDisplay(Display display)
{
    m_display = display;
    if (display == Display::None) {
        hide();
        return;
    }
    m_pages->setCurrentWidget(display == Display::List ? static_cast<QWidget*>(m_list) : m_bandMap);
    addWaitingRows();
    redrawBandMap();
    show();
}

void SpotArea::takeSpot(const spots::Spot& spot, const QString& record)
{
    m_waiting.push_back({spot.call, spot.frequencyMhz, record});
    // A row older than the last kListRows would only be pushed out again.
    if (m_waiting.size() > static_cast<size_t>(kListRows))
        m_waiting.pop_front();
}

void SpotArea::storeChanged()
{
    // A list out of sight is filled when it shows: a burst then costs it
    // nothing but the newest rows kept waiting.
    if (m_display == Display::List)
        addWaitingRows();
    redrawBandMap();
}

void SpotArea::addWaitingRows()
{
    if (m_waiting.empty())
        return;
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(m_waiting.size()));
    for (auto row = m_waiting.rbegin(); row != m_waiting.rend(); ++row) {
        const spots::SpotListRow texts = spots::spotListRow(row->call, row->frequencyMhz, row->record,
                                                            m_countryOf ? m_countryOf(row->call) : QString());
        auto* item = new QTreeWidgetItem(QStringList(texts.begin(), texts.end()));
        item->setTextAlignment(spots::kFrequencyColumn, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    m_waiting.clear();
    m_list->insertTopLevelItems(0, items);
    while (m_list->topLevelItemCount() > kListRows)
        delete m_list->takeTopLevelItem(m_list->topLevelItemCount() - 1);
}

void SpotArea::redrawBandMap()
{
    if (m_display != Display::BandMap)
        return;
    m_bandMap->setMap(spots::tenMetreMap(m_store, m_clock.localNow(), m_utcOffsetHours ? m_utcOffsetHours() : 0.0f));
}

void SpotArea::fitHeight(int windowHeight)
{
    const int rows = fontMetrics().height();
    setFixedHeight(std::max(qRound(0.1 * windowHeight), 4 * rows + 8));
}

void SpotArea::fitColumns(int windowWidth)
{
    int c = 0;
    for (const auto& [name, width] : kColumns)
        m_list->header()->resizeSection(c++, qRound(width * windowWidth / 9600.0));
}

void SpotArea::enter()
{
    if (m_display == Display::List) {
        if (m_list->topLevelItemCount() == 0)
            return;
        m_list->setFocus(Qt::ShortcutFocusReason);
        if (!m_list->currentItem())
            m_list->setCurrentItem(m_list->topLevelItem(0));
    } else if (m_display == Display::BandMap) {
        m_bandMap->setFocus(Qt::ShortcutFocusReason);
    }
}

void SpotArea::chooseListRow()
{
    const QTreeWidgetItem* item = m_list->currentItem();
    emit listRowChosen(item ? item->text(spots::kCallColumn) : QString(),
                       item ? item->text(spots::kFrequencyColumn) : QString());
}

bool SpotArea::event(QEvent* event)
{
    // The window came to the front: the ages may have moved on.
    if (event->type() == QEvent::WindowActivate)
        redrawBandMap();
    return QWidget::event(event);
}

bool SpotArea::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == m_list->viewport() && (type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick)
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The release that ends a double click is no click of its own.
        if (type == QEvent::MouseButtonRelease) {
            if (!std::exchange(m_releaseAfterDoubleClick, false))
                chooseListRow();
        } else {
            m_releaseAfterDoubleClick = true;
            emit spectrumMapRequested();
            return true;
        }
    }
    if ((watched == m_list || watched == m_bandMap) && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape) {
            emit leaveArea();
            return true;
        }
        if (watched == m_list && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            chooseListRow();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tenlog::station
