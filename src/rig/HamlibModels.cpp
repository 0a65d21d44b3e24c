#include "rig/HamlibModels.h"

#include "platform/ChildProcess.h"
#include "rig/RigctldDaemon.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace tenlog::rig {

QString HamlibModel::text() const
{
    return QStringLiteral("%1 %2 (%3)").arg(maker, name).arg(number);
}

QList<HamlibModel> parseHamlibModelList(const QString& rigctlListOutput)
{
    static const QRegularExpression columnGap(QStringLiteral("\\s{2,}|\\t"));
    QList<HamlibModel> models;
    for (const QString& rawLine : rigctlListOutput.split(QLatin1Char('\n'))) {
        const QStringList fields = rawLine.trimmed().split(columnGap, Qt::SkipEmptyParts);
        if (fields.size() < 3)
            continue;
        bool isNumber = false;
        const int number = fields[0].toInt(&isNumber);
        if (!isNumber || number <= 0)
            continue;
        models.append({number, fields[1], fields[2]});
    }
    return models;
}

bool containsEveryWord(const QString& text, const QString& search)
{
    const QStringList words = search.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return std::all_of(words.begin(), words.end(),
                       [&text](const QString& word) { return text.contains(word, Qt::CaseInsensitive); });
}

HamlibModelCatalog::HamlibModelCatalog(std::unique_ptr<platform::ChildProcess> process, QString program)
    : m_process(std::move(process))
    , m_program(std::move(program))
{
    m_process->setFinishedHandler([this](platform::ChildProcess::Ending ending, int code) { listed(ending, code); });
}

HamlibModelCatalog::~HamlibModelCatalog()
{
    m_process->setFinishedHandler({});
}

void HamlibModelCatalog::load(std::function<void()> done)
{
    m_done = std::move(done);
    if (m_loading)
        return;
    if (!m_models.isEmpty()) {
        if (m_done)
            m_done();
        return;
    }
    const QString program = m_process->locate(m_program);
    if (program.isEmpty()) {
        m_problem = QStringLiteral("Hamlib is not installed: %1").arg(kHamlibInstallHint);
        if (m_done)
            m_done();
        return;
    }
    m_loading = true;
    m_problem.clear();
    m_process->start(program, {QStringLiteral("-l")});
}

void HamlibModelCatalog::listed(platform::ChildProcess::Ending ending, int code)
{
    const bool started = ending != platform::ChildProcess::Ending::NotRun;
    m_loading = false;
    const QByteArray output = m_process->output();
    m_models = started ? parseHamlibModelList(QString::fromUtf8(output)) : QList<HamlibModel>();
    std::sort(m_models.begin(), m_models.end(), [](const HamlibModel& a, const HamlibModel& b) {
        const int maker = a.maker.compare(b.maker, Qt::CaseInsensitive);
        if (maker != 0)
            return maker < 0;
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    if (!started)
        m_problem = QStringLiteral("%1 could not be run.").arg(m_program);
    else if (m_models.isEmpty())
        m_problem = QStringLiteral("%1 -l listed no radio models (%2)%3")
                        .arg(m_program, platform::endingText(ending, code))
                        .arg(output.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + platform::lastOutputLine(output));
    if (m_done)
        m_done();
}

}  // namespace tenlog::rig
