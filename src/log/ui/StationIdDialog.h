// The station identity dialog "frmStationID": call, state or province,
// country (completed from the prefix table, which also fills the
// coordinates), longitude, latitude and UTC offset. "Done" (Command1) copies
// the identity into the shared preferences document and closes the dialog;
// the caller then takes the values with applyTo() and saves the settings.
#pragma once

#include "log/Prefs.h"

#include <QDialog>

class QLineEdit;
class QKeyEvent;
class QPushButton;

namespace tenlog::common {
class SharedPreferences;
}
namespace tenlog::geo {
class PrefixTable;
}
namespace tenlog::platform {
class Dialogs;
}

namespace tenlog::log {

class StationIdDialog : public QDialog {
    Q_OBJECT
public:
    StationIdDialog(const Prefs& prefs, const geo::PrefixTable& prefixes, platform::Dialogs& dialogs,
                    common::SharedPreferences& shared, QWidget* parent = nullptr);

    // prefs with the identity taken from the boxes (a box that is not a
    // number counts as 0, also when the dialog was closed without "Done").
    Prefs applyTo(Prefs prefs) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onDone();
    // The country box is empty or holds a name of the prefix table exactly.
    bool countryIsKnown() const;
    // True when the key was handled here and must not reach the box.
    bool handleKey(QLineEdit* box, QKeyEvent* event);
    void completeCountryKey(QChar key);
    void checkUtcOnLeaving();

    const geo::PrefixTable& m_prefixes;
    platform::Dialogs& m_dialogs;
    common::SharedPreferences& m_shared;

    QLineEdit* m_callBox = nullptr;
    QLineEdit* m_stateBox = nullptr;
    QLineEdit* m_countryBox = nullptr;
    QLineEdit* m_longitudeBox = nullptr;
    QLineEdit* m_latitudeBox = nullptr;
    QLineEdit* m_utcOffsetBox = nullptr;
    QPushButton* m_doneButton = nullptr;
};

} // namespace tenlog::log
