// The logo window shown for a moment at start-up. With a "splash.jpg" in the
// shared folder it shows that picture for 2.7 s; otherwise the built-in
// picture appears after 1.1 s and the window closes at 1.9 s. A click on the
// picture or Esc closes it at once.
#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;
class QTimer;

namespace tenlog::app {

class LogoWindow : public QWidget {
    Q_OBJECT
public:
    // companyFolder: the folder holding "Shared/splash.jpg".
    explicit LogoWindow(const QString& companyFolder, QWidget* parent = nullptr);

    bool showsSplash() const { return m_splash; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeOnScreen();

    QLabel* m_splashPicture = nullptr;
    QLabel* m_builtInPicture = nullptr;
    QTimer* m_closeTimer = nullptr;
    QTimer* m_pictureTimer = nullptr;
    bool m_splash = false;
};

} // namespace tenlog::app
