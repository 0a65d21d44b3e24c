// The call, report and exchange box filter.
#include "log/ui/ExchangeTextFilter.h"

#include "log/EntryRules.h"

namespace tenlog::log {

QValidator::State ExchangeTextFilter::validate(QString& input, int& position) const
{
    // The caret keeps its place among the characters that stay.
    const QString kept = keepExchangeChars(input);
    if (kept.size() != input.size()) {
        position -= static_cast<int>(input.left(position).size() - keepExchangeChars(input.left(position)).size());
        input = kept;
    }
    return Acceptable;
}

} // namespace tenlog::log
