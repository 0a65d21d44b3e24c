// The rig setup's choice of rigctld: one already running at a host and
// port, or one the program starts for a Hamlib radio model (searched in the
// list `rigctl -l` gives), its serial device and speed. Below, one line says
// how the choice stands: the models found, Hamlib missing, the link's state.
#pragma once

#include "rig/RigSettings.h"

#include <QGroupBox>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace tenlog::platform {
class SerialDeviceList;
}

namespace tenlog::rig {

class HamlibModelCatalog;

class HamlibRadioFrame : public QGroupBox {
    Q_OBJECT
public:
    // Without a catalog no rigctld can be started here; without devices the
    // device box lists none.
    HamlibRadioFrame(HamlibModelCatalog* catalog, const platform::SerialDeviceList* devices,
                     QWidget* parent = nullptr);

    // Shows the settings' choice; lists the models the first time.
    void showSettings(const RigSettings& settings);
    // Puts the choice into settings. A started rigctld with no model chosen
    // keeps the settings' model.
    void takeInto(RigSettings& settings) const;
    // Why the choice cannot be tried yet ("Choose a radio model..."), or empty.
    QString choiceProblem() const;
    // A line for the operator under the choice; replaced by the next one.
    void say(const QString& text);
    const QString& said() const { return m_said; }

    // Starts listing the models when they are not listed yet.
    void loadModels();

signals:
    // The operator changed something: a running test ends.
    void changed();

private:
    void fillModels();
    void filterModels(const QString& search);
    void fillDevices(const QString& current);
    void showSource();
    // Moves the chosen model by step among those the search leaves.
    void stepModel(int step);
    bool eventFilter(QObject* watched, QEvent* event) override;

    HamlibModelCatalog* m_catalog;
    const platform::SerialDeviceList* m_devices;
    int m_modelShown = 0; // the settings' model, chosen once the list is there

    QButtonGroup* m_source = nullptr;
    QLineEdit* m_host = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_search = nullptr;
    QListWidget* m_models = nullptr;
    QComboBox* m_device = nullptr;
    QComboBox* m_speed = nullptr;
    QLabel* m_note = nullptr;
    QString m_said;
};

} // namespace tenlog::rig
