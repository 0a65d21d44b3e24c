// The score statistics: contacts, multipliers, QSO points, the score, and
// the contact rates over the last 20 and 60 minutes (refreshed each minute
// and after every entry).
#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace tenlog::log {
class ContestSession;
}

namespace tenlog::station {

class ScorePanel : public QWidget {
    Q_OBJECT
public:
    explicit ScorePanel(log::ContestSession& session, QWidget* parent = nullptr);

    void start();
    void showScore();
    void updateRates();

private:
    void setValue(QLabel* label, const QString& spoken, qint64 value);

    log::ContestSession& m_session;
    QLabel* m_contacts = nullptr;
    QLabel* m_multipliers = nullptr;
    QLabel* m_points = nullptr;
    QLabel* m_score = nullptr;
    QLabel* m_rate20 = nullptr;
    QLabel* m_rate60 = nullptr;
    QTimer* m_rateTimer = nullptr;
};

} // namespace tenlog::station
