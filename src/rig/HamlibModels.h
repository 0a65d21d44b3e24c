// The Hamlib radio models the operator can pick for a rigctld the program
// starts itself, read from what `rigctl -l` prints.
#pragma once

#include <QList>
#include <QString>

namespace tenlog::rig {

struct HamlibModel {
    int number = 0;
    QString maker;
    QString name;
    bool operator==(const HamlibModel&) const = default;
};

// One model per line that starts with a model number; the header and any
// line without at least a number, a maker and a name are skipped. Columns
// are padded with runs of spaces, while names hold single spaces.
QList<HamlibModel> parseHamlibModelList(const QString& rigctlListOutput);

}  // namespace tenlog::rig
