// The local and UTC clocks, the total operating time and the button that
// switches the operating time on and off. The clocks tick once a second.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

namespace tenlog::log {
class ContestSession;
}

namespace tenlog::station {

class ClockArea : public QWidget {
    Q_OBJECT
public:
    explicit ClockArea(log::ContestSession& session, QWidget* parent = nullptr);

    void start();
    void updateClocks();

private:
    void showLoggedOn(bool on);

    log::ContestSession& m_session;
    QLabel* m_localTime = nullptr;
    QLabel* m_amPm = nullptr;
    QLabel* m_utcTime = nullptr;
    QLabel* m_operatingTime = nullptr;
    QPushButton* m_logOnButton = nullptr;
    QTimer* m_clockTimer = nullptr;
};

} // namespace tenlog::station
