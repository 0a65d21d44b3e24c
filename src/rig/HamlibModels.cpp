#include "rig/HamlibModels.h"

#include "platform/ChildProcess.h"
#include "rig/RigctldDaemon.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace tenlog::rig {

QString HamlibModel::text() const
{
    return QStringLiteral("%1 %2 (%3)").arg(maker, name).arg(number);
}

namespace {

// Where the maker, model and version columns start, from the header line.
struct ListColumns {
    qsizetype maker = -1;
    qsizetype model = -1;
    qsizetype version = -1;

    bool known() const { return maker > 0 && model > maker && version > model; }

    // The line cut at the columns, when it has a blank before each of them
    // (a name that fills its column leaves only one).
    std::optional<QStringList> cut(const QString& line) const
    {
        if (!known() || line.size() <= version)
            return std::nullopt;
        for (const qsizetype start : {maker, model, version}) {
            if (line.at(start - 1) != QLatin1Char(' '))
                return std::nullopt;
        }
        return QStringList{line.left(maker).trimmed(), line.mid(maker, model - maker).trimmed(),
                           line.mid(model, version - model).trimmed()};
    }
};

ListColumns headerColumns(const QString& line)
{
    static const QRegularExpression word(QStringLiteral("\\b(Mfg|Model|Version)\\b"));
    ListColumns columns;
    for (auto it = word.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        qsizetype& start = match.captured(1) == QLatin1String("Mfg")     ? columns.maker
            : match.captured(1) == QLatin1String("Model") ? columns.model
                                                          : columns.version;
        if (start < 0)
            start = match.capturedStart(1);
    }
    return columns;
}

} // namespace

QList<HamlibModel> parseHamlibModelList(const QString& rigctlListOutput)
{
    // The list is in fixed columns, read by the header's positions; without
    // a header, or on a line that does not keep to them, runs of blanks
    // part the fields.
    static const QRegularExpression columnGap(QStringLiteral("\\s{2,}|\\t"));
    QList<HamlibModel> models;
    ListColumns columns;
    for (QString line : rigctlListOutput.split(QLatin1Char('\n'))) {
        while (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (!columns.known()) {
            if (const ListColumns header = headerColumns(line); header.known()) {
                columns = header;
                continue;
            }
        }
        const QStringList fields = columns.cut(line).value_or(line.trimmed().split(columnGap, Qt::SkipEmptyParts));
        if (fields.size() < 3 || fields[1].isEmpty() || fields[2].isEmpty())
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
