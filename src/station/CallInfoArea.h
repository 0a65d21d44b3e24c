// What is known of the call being typed: the red "New" of a DX country not
// yet worked on this mode, and the continent, bearing and distance from the
// prefix table. The row keeps its height whether "New" shows or not.
#pragma once

#include "log/ContestSession.h"

#include <QWidget>

class QLabel;

namespace tenlog::station {

class CallInfoArea : public QWidget {
    Q_OBJECT
public:
    explicit CallInfoArea(QWidget* parent = nullptr);

    void showCallInfo(const log::CallInfo& info);
    void showNewCountry(bool isNew);

private:
    QLabel* m_newLabel = nullptr;
    QLabel* m_continentLabel = nullptr;
    QLabel* m_bearingLabel = nullptr;
    QLabel* m_milesLabel = nullptr;
    log::CallInfo m_shown;
};

} // namespace tenlog::station
