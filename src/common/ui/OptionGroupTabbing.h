// Tab into a group of options lands on the chosen one. Qt makes every radio
// button a tab stop, so Tab reached the first option of a group whatever was
// chosen, and a screen reader user heard the wrong choice first. Installed
// once on the application, this watches every window as it is shown: in each
// exclusive group only the chosen option (or, with none chosen, the first
// that can take the focus) keeps Tab; the arrow keys still move between the
// options, and the tab stop follows the choice as it changes.
#pragma once

#include <QObject>

class QWidget;

namespace tenlog::common {

class OptionGroupTabbing : public QObject {
    Q_OBJECT
public:
    explicit OptionGroupTabbing(QObject* parent = nullptr);

    // The same for one window's options now; the filter calls it on Show.
    static void applyTo(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tenlog::common
