// Keeps out of a call, report or exchange box every character it cannot
// hold, whether typed or pasted: the characters are dropped, the rest stays.
#pragma once

#include <QValidator>

namespace tenlog::log {

class ExchangeTextFilter final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace tenlog::log
