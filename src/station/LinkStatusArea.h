// How the program's device links stand, beside the mode at the top of the
// main window: one line per link, the radio's first; the spot source and the
// keyer have lines of their own, shown the same way once they report. A line
// is hidden while its link is off, green while it works, yellow while it
// waits for a first answer and red while it is in trouble. It never takes
// the keyboard; a change of health is spoken by a screen reader, as the
// message line is, while a new frequency only renames the line quietly.
// Words longer than the line end in an ellipsis; the whole text stays in the
// tooltip and the accessible name.
#pragma once

#include "common/LinkStatus.h"

#include <QWidget>

#include <array>

class QLabel;

namespace tenlog::station {

class LinkStatusArea : public QWidget {
    Q_OBJECT
public:
    enum class Link { Radio, Spots, Keyer };

    explicit LinkStatusArea(QWidget* parent = nullptr);

    void showRadio(const common::LinkStatus& status) { showLink(Link::Radio, status); }
    void showSpots(const common::LinkStatus& status) { showLink(Link::Spots, status); }
    void showKeyer(const common::LinkStatus& status) { showLink(Link::Keyer, status); }
    void showLink(Link link, const common::LinkStatus& status);

    // What a link's line says now, whole; empty while the link is off.
    QString text(Link link) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Line {
        QLabel* label = nullptr;
        QString text;     // whole, however much of it the line shows
        QString idleName; // the accessible name while the link is off
        common::LinkHealth health = common::LinkHealth::Off;
    };
    Line& line(Link link) { return m_lines[static_cast<size_t>(link)]; }
    const Line& line(Link link) const { return m_lines[static_cast<size_t>(link)]; }
    // Shows as much of the line's text as its width holds.
    static void fit(Line& shown);

    std::array<Line, 3> m_lines;
};

} // namespace tenlog::station
