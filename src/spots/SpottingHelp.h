// The help text the spotting window shows for the chosen source: fixed
// paragraphs, each followed by two CR LF pairs.
#pragma once

#include <QString>

namespace tenlog::spots {

// source is one of the list's words (letter case ignored); anything else,
// an empty choice included, gets the full text shown for "None".
QString spottingHelp(const QString& source);

} // namespace tenlog::spots
