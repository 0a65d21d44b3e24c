// The entry line: the five boxes under their headings (call, report
// received, exchange, report sent, country), the post-contest date and time
// boxes, the message and partial-duplicate lines and the Clear and partial
// duplicate buttons. It applies the key rules of each box (EntryLineKeys.cpp),
// carries a character typed into the wrong box on to the right one, holds
// keys back after a duplicate, and hands Enter to the contest session.
#pragma once

#include "log/ContestSession.h"

#include <QWidget>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace tenlog::platform {
class Dialogs;
}
namespace tenlog::voice {
class VoiceNavigation;
}

namespace tenlog::station {

class MessageLines;

class EntryLineArea : public QWidget {
    Q_OBJECT
public:
    EntryLineArea(log::ContestSession& session, voice::VoiceNavigation& voice, platform::Dialogs& dialogs,
                  QWidget* parent = nullptr);

    // Enter: checks the line and logs it through the session.
    void logEntry();
    // Empties the five boxes and both lines; the call box takes the focus.
    void clearEntry();
    // The message line, for the keyers' status (speed, the unsent CW text,
    // keyboard CW on or off).
    void showKeyerStatus(const QString& text);
    void showKeyboardCw(bool on);
    void focusCall();
    // The partial-duplicate list on or off (its button, or Ctrl+Shift+D).
    void togglePartialDupes();
    // The exchange box takes a multiplier clicked in the grid.
    void setExchange(const QString& abbreviation);
    // A spot's call into the call box, then on as Tab goes (the leaving
    // rules run: reports fill in, a duplicate is found).
    void takeSpottedCall(const QString& call);
    // A spot's call into the call box, which keeps the keyboard.
    void putSpottedCall(const QString& call);
    // The station's own call was spotted: both lines say so, on white.
    void showOwnCallSpotted(const QString& message, const QString& record);
    // The hover line is the partial-duplicate line, lent to the grid.
    void showHoverText(const QString& text);
    void setPostContestVisible(bool visible);
    bool postContestVisible() const;
    // The call as typed, for messages that send it.
    const QString& currentCall() const { return m_currentCall; }
    // A row shown between the boxes and the message line (the call information).
    void placeUnderBoxes(QWidget* row);
    QLineEdit* callBox() const { return m_call; }
    QLineEdit* lastBox() const { return m_country; }

signals:
    void callInfoChanged(const tenlog::log::CallInfo& info);
    void newCountryChanged(bool isNew);
    // The call box took the focus (the contact list's buttons hide).
    void callBoxEntered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* makeBox(const char* name, int maxLength, const QString& accessibleName,
                       const QString& description);
    void showMode(const QString& mode);
    void applyOutcome(const log::EntryOutcome& outcome);
    QLineEdit* box(log::EntryBox which) const;

    // Key rules (EntryLineKeys.cpp).
    bool callKey(QKeyEvent* key);
    bool reportReceivedKey(QKeyEvent* key);
    bool exchangeKey(QKeyEvent* key);
    bool reportSentKey(QKeyEvent* key);
    bool countryKey(QKeyEvent* key);
    bool postContestKey(QLineEdit* box, QKeyEvent* key);
    void typeInto(QLineEdit* box, QChar key);
    void placeCarried(QLineEdit* box);
    void callChanged(const QString& text);
    void callLeft();
    void updateNewFlag();
    void clearCallInfo();
    void clearBoxes();
    // midEntry: found on leaving the call box, before the contact's Enter.
    void duplicateFound(bool midEntry);
    bool holdAfterDuplicate(QKeyEvent* key);
    void releaseHeldKeys();
    void fieldEntered(QObject* watched);

    log::ContestSession& m_session;
    voice::VoiceNavigation& m_voice;
    platform::Dialogs& m_dialogs;

    QLineEdit* m_call = nullptr;
    QLineEdit* m_reportReceived = nullptr;
    QLineEdit* m_exchange = nullptr;
    QLineEdit* m_reportSent = nullptr;
    QLineEdit* m_country = nullptr;
    QLineEdit* m_postContestDate = nullptr;
    QLineEdit* m_postContestTime = nullptr;
    QList<QWidget*> m_postContestWidgets;
    MessageLines* m_lines = nullptr;
    QPushButton* m_clearButton = nullptr;
    QPushButton* m_partialDupesButton = nullptr;

    QString m_currentCall;
    bool m_callInfoStale = false; // a key into a short call: clear what no lookup refilled
    QChar m_carryKey;
    enum class Carry { None, ToReportReceived, ToExchange, ToReportSent, ToCountry };
    Carry m_carry = Carry::None;
    bool m_partialDupesOn = true;
    bool m_isNewCountry = false;

    // Keys typed during the hold after a duplicate, in order.
    bool m_holding = false;
    struct HeldKey {
        int code;
        Qt::KeyboardModifiers modifiers;
        QString text;
    };
    QList<HeldKey> m_heldKeys;
    bool m_dropUntilEnter = false;
    qint64 m_duplicateAtMs = 0;
    QTimer* m_holdTimer = nullptr;
};

} // namespace tenlog::station
