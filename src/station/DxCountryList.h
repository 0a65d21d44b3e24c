// The DX countries worked on the current mode, in order of first contact,
// under a heading that counts them.
#pragma once

#include <QWidget>

class QLabel;
class QListWidget;

namespace tenlog::log {
class ContestSession;
}

namespace tenlog::station {

class DxCountryList : public QWidget {
    Q_OBJECT
public:
    explicit DxCountryList(log::ContestSession& session, QWidget* parent = nullptr);

    void showCountries();

private:
    log::ContestSession& m_session;
    QLabel* m_heading = nullptr;
    QListWidget* m_list = nullptr;
};

} // namespace tenlog::station
