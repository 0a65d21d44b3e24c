// The operator's own call and state, and the current mode; a click on the
// mode switches between CW and phone.
#pragma once

#include <QWidget>

class QHBoxLayout;
class QLabel;

namespace tenlog::station {

class StationArea : public QWidget {
    Q_OBJECT
public:
    explicit StationArea(QWidget* parent = nullptr);

    void showStation(const QString& call, const QString& state);
    void showMode(const QString& mode);
    // Puts an area (the link status) to the right of the mode.
    void placeBesideMode(QWidget* area);

signals:
    void modeClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_callLabel = nullptr;
    QLabel* m_stateLabel = nullptr;
    QLabel* m_modeLabel = nullptr;
    QHBoxLayout* m_row = nullptr;
};

} // namespace tenlog::station
