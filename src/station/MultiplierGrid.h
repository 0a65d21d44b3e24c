// The multiplier grid: label Label10_i for entry i of the multiplier table,
// grouped under the headings "1" to "0", "Can", "Reg" and "Mexico", in index
// order down each column, with the full name as tooltip.
#pragma once

#include <QWidget>

#include <array>

class QLabel;

namespace tenlog::station {

class MultiplierGrid : public QWidget {
    Q_OBJECT
public:
    explicit MultiplierGrid(QWidget* parent = nullptr);

    QLabel* label(int index) const { return m_labels.at(static_cast<size_t>(index)); }
    // Colours are long integers with red in the low byte.
    void setColour(int index, qint32 colour);
    void colourAll(const std::array<int, 101>& hits, qint32 worked, qint32 remaining);
    // What a screen reader says of each cell besides its name: whether the
    // multiplier is worked on CW and on phone.
    void describeWorked(const std::array<int, 101>& cwHits, const std::array<int, 101>& phoneHits);
    void describeWorked(int index, bool onCw, bool onPhone);

signals:
    void entryClicked(int index);
    void entryHovered(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, 101> m_labels{};
};

} // namespace tenlog::station
