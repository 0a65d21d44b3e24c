#include "cw/CwMessages.h"

namespace tenlog::cw {

int messageIndexForKey(int keyCode)
{
    if (keyCode >= keyF1 && keyCode <= keyF9)
        return keyCode - keyF1;
    if (keyCode == keyF10Message)
        return 9;
    if (keyCode == keyF11)
        return 10;
    return -1;
}

QString expandWildcards(const QString& message, const QString& call, const QString& sentNumber, QString& sentRst)
{
    QString text = message;
    // QString::replace goes on after what it inserted, so a call holding "$"
    // cannot make the pass run forever.
    text.replace(QLatin1Char('$'), call.trimmed());
    text.replace(QLatin1Char('#'), sentNumber.trimmed());
    if (text.contains(QLatin1Char('*'))) {
        if (sentRst.isEmpty() || sentRst == QLatin1String("599"))
            sentRst = QStringLiteral("5NN");
        text.replace(QLatin1Char('*'), sentRst.trimmed());
    }
    return text;
}

} // namespace tenlog::cw
