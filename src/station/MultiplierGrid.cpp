// The multiplier grid.
#include "station/MultiplierGrid.h"

#include "log/ui/ColourDialog.h"

#include "log/MultTable.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tenlog::station {

// The main window is built over the log's session, records and rules.
using namespace tenlog::log;

namespace {

// Rows per column under a heading: two or three columns each.
int rowsFor(int count)
{
    return count <= 4 ? 2 : (count + 2) / 3 < 2 ? 2 : (count + 2) / 3;
}

} // namespace

MultiplierGrid::MultiplierGrid(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("MultiplierGrid"));
    setAccessibleName(QStringLiteral("Multipliers worked in current mode"));
    auto* outer = new QGridLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setHorizontalSpacing(10);
    outer->setVerticalSpacing(2);

    // Collect each heading's entries in index order (Nunavut, 68, joins "Can").
    const QStringList headings{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                               QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                               QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"),
                               QStringLiteral("0"), QStringLiteral("Can"), QStringLiteral("Reg"),
                               QStringLiteral("Mexico")};
    int gridColumn = 0;
    for (const QString& heading : headings) {
        QList<int> members;
        for (int i = 1; i <= kMultCount; ++i)
            if (heading == QLatin1String(multEntry(i).heading))
                members << i;
        auto* box = new QWidget(this);
        auto* column = new QVBoxLayout(box);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(1);
        auto* title = new QLabel(heading, box);
        title->setAccessibleName(heading == QLatin1String("Reg") ? QStringLiteral("Maritime regions")
                                 : heading == QLatin1String("Can") ? QStringLiteral("Canada")
                                 : heading == QLatin1String("Mexico") ? heading
                                 : QStringLiteral("Call area ") + heading);
        title->setObjectName(QStringLiteral("lblGridHeading_") + heading);
        title->setTextFormat(Qt::PlainText);
        QFont bold = title->font();
        bold.setBold(true);
        bold.setUnderline(true);
        title->setFont(bold);
        column->addWidget(title);
        auto* cells = new QGridLayout;
        cells->setHorizontalSpacing(6);
        cells->setVerticalSpacing(0);
        const int rows = rowsFor(static_cast<int>(members.size()));
        for (int k = 0; k < members.size(); ++k) {
            const int i = members.at(k);
            auto* label = new QLabel(QString::fromLatin1(multEntry(i).Abbrev), box);
            label->setObjectName(QStringLiteral("Label10_%1").arg(i));
            label->setToolTip(QString::fromLatin1(multEntry(i).Name));
            label->setAccessibleName(QString::fromLatin1(multEntry(i).Name) + QStringLiteral(" (")
                                     + QString::fromLatin1(multEntry(i).Abbrev) + QLatin1Char(')'));
            label->setTextFormat(Qt::PlainText);
            label->installEventFilter(this);
            cells->addWidget(label, k % rows, k / rows);
            m_labels[static_cast<size_t>(i)] = label;
        }
        column->addLayout(cells);
        column->addStretch(1);
        // All headings side by side, so the grid stays as low as its longest group.
        outer->addWidget(box, 0, gridColumn++, Qt::AlignTop | Qt::AlignLeft);
    }
}

void MultiplierGrid::setColour(int index, qint32 colour)
{
    QLabel* l = label(index);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colourFromLong(colour));
    l->setPalette(p);
}

void MultiplierGrid::colourAll(const std::array<int, 101>& hits, qint32 worked, qint32 remaining)
{
    for (int i = 1; i <= kMultCount; ++i)
        setColour(i, hits[static_cast<size_t>(i)] > 0 ? worked : remaining);
}

void MultiplierGrid::describeWorked(const std::array<int, 101>& cwHits, const std::array<int, 101>& phoneHits)
{
    for (int i = 1; i <= kMultCount; ++i)
        describeWorked(i, cwHits[static_cast<size_t>(i)] > 0, phoneHits[static_cast<size_t>(i)] > 0);
}

void MultiplierGrid::describeWorked(int index, bool onCw, bool onPhone)
{
    static const QString texts[4] = {
        QStringLiteral("Not worked on CW, not worked on phone"), QStringLiteral("Worked on CW, not worked on phone"),
        QStringLiteral("Not worked on CW, worked on phone"), QStringLiteral("Worked on CW, worked on phone")};
    const QString& text = texts[(onCw ? 1 : 0) + (onPhone ? 2 : 0)];
    QLabel* cell = m_labels[static_cast<size_t>(index)];
    if (cell->accessibleDescription() != text)
        cell->setAccessibleDescription(text);
}

bool MultiplierGrid::eventFilter(QObject* watched, QEvent* event)
{
    const bool click = event->type() == QEvent::MouseButtonRelease;
    if (click || event->type() == QEvent::Enter) {
        for (int i = 1; i <= kMultCount; ++i) {
            if (watched != m_labels[static_cast<size_t>(i)])
                continue;
            if (click)
                emit entryClicked(i);
            else
                emit entryHovered(i);
            return click;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tenlog::station
