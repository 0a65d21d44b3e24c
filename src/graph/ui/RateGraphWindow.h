// The rate graph window: the contact rate over the whole log, worked out
// once from the contacts when it opens, with a button that switches between
// a black and a white background and a line that reads out the time and
// rate under the pointer. Fewer than seven contacts are said in a message
// box as well as in the window, which still opens.
#pragma once

#include "graph/RateGraph.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::graph {

class RateGraphView;

class RateGraphWindow : public QDialog {
    Q_OBJECT
public:
    RateGraphWindow(const QList<log::QsoRecord>& contacts, platform::Dialogs& dialogs, QWidget* parent = nullptr);

    const RateGraph& graph() const { return m_graph; }
    RateGraphView* view() const { return m_view; }
    // The button: black to white or back; its caption names the one in effect.
    void toggleBackground();

private:
    void applyBackground(bool white);
    void showReading(const QString& reading);

    RateGraph m_graph;
    RateGraphView* m_view = nullptr;
    QLabel* m_modeLegend = nullptr;
    QLabel* m_reading = nullptr;
    QPushButton* m_backgroundButton = nullptr;
};

} // namespace tenlog::graph
