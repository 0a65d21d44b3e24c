// The "CW Strings" window: the F1-F11 messages in a row of labels, each sent
// by a click; F12 is "Keyboard". Keys pressed here go to the main window's
// key map (the handler given), so every F-key works while it has the focus.
// From the keyboard each message is one framed box, named once ("F1: CQ
// TEST"), that Tab reaches and Enter or Space sends; its two labels only
// show it and take no focus.
#pragma once

#include <QDialog>

#include <array>
#include <functional>

class QKeyEvent;
class QFrame;
class QLabel;

namespace tenlog::cw {

class CwStation;

class CwStringsWindow : public QDialog {
    Q_OBJECT
public:
    CwStringsWindow(CwStation& station, std::function<bool(QKeyEvent*)> mainKeys, QWidget* parent = nullptr);

    // Shows the messages as they stand now.
    void refresh();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clicked(int row);

    CwStation& m_station;
    std::function<bool(QKeyEvent*)> m_mainKeys;
    std::array<QLabel*, 12> m_keys {};
    std::array<QLabel*, 12> m_texts {};
    std::array<QFrame*, 12> m_boxes {};
};

} // namespace tenlog::cw
