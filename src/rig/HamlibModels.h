// The Hamlib radio models the operator can pick for a rigctld the program
// starts itself, read from what `rigctl -l` prints.
#pragma once

#include "platform/ChildProcess.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace tenlog::rig {

struct HamlibModel {
    int number = 0;
    QString maker;
    QString name;
    bool operator==(const HamlibModel&) const = default;

    // "Icom IC-7300 (3073)", as the list shows it.
    QString text() const;
};

// One model per line that starts with a model number; the header and any
// line without at least a number, a maker and a name are skipped. Columns
// are padded with runs of spaces, while names hold single spaces.
QList<HamlibModel> parseHamlibModelList(const QString& rigctlListOutput);

// True when every word of the search is in the text, in any letter case:
// "icom 73" finds "Icom IC-7300 (3073)"; an empty search finds everything.
bool containsEveryWord(const QString& text, const QString& search);

// The models of the Hamlib installed here, listed once by running
// `rigctl -l` in the background; a failed listing is tried again at the next
// load().
class HamlibModelCatalog {
public:
    explicit HamlibModelCatalog(std::unique_ptr<platform::ChildProcess> process,
                                QString program = QStringLiteral("rigctl"));
    ~HamlibModelCatalog();

    // Lists the models unless they are listed or being listed; done is
    // called from the event loop once the listing ended (at once when no
    // listing is needed).
    void load(std::function<void()> done);
    bool loading() const { return m_loading; }
    // By maker, then name.
    const QList<HamlibModel>& models() const { return m_models; }
    // Why there are no models, in the operator's words; empty otherwise.
    const QString& problem() const { return m_problem; }

private:
    void listed(platform::ChildProcess::Ending ending, int code);

    std::unique_ptr<platform::ChildProcess> m_process;
    QString m_program;
    bool m_loading = false;
    QList<HamlibModel> m_models;
    QString m_problem;
    std::function<void()> m_done;
};

}  // namespace tenlog::rig
