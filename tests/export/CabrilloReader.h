// A small Cabrillo 3.0 checker for the tests, written from the format alone
// and sharing nothing with the program's writer. It reads the file the way a
// sponsor's log robot does: CR LF lines of "TAG: value", QSO: lines split on
// white space, and reports every problem it finds as a sentence.
#pragma once

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace cabrillo_test {

struct Line {
    std::string tag;
    std::string value; // blanks after the colon and at the end removed
};

inline std::vector<Line> splitLines(const std::string& data, std::vector<std::string>& problems)
{
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < data.size()) {
        const size_t end = data.find("\r\n", pos);
        if (end == std::string::npos) {
            problems.push_back("the last line does not end in CR LF");
            break;
        }
        const std::string text = data.substr(pos, end - pos);
        pos = end + 2;
        if (text.find('\n') != std::string::npos || text.find('\r') != std::string::npos)
            problems.push_back("a bare line break in: " + text);
        const size_t colon = text.find(':');
        if (colon == std::string::npos) {
            problems.push_back("a line without a tag: " + text);
            continue;
        }
        std::string value = text.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' ') == std::string::npos ? value.size()
                                                                          : value.find_first_not_of(' '));
        while (!value.empty() && value.back() == ' ')
            value.pop_back();
        lines.push_back({text.substr(0, colon), value});
    }
    return lines;
}

inline std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;)
        out.push_back(w);
    return out;
}

inline bool allDigits(const std::string& s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

// The problems of a 3.0 file whose claimed score should be claimedScore;
// empty when the file would be accepted.
inline std::vector<std::string> check(const std::string& data, long long claimedScore)
{
    std::vector<std::string> problems;
    const std::vector<Line> lines = splitLines(data, problems);
    if (lines.empty())
        return {"an empty file"};

    // Tag -> the values it may take; an empty set takes any non-empty value.
    const std::map<std::string, std::set<std::string>> once{
        {"CALLSIGN", {}},
        {"CONTEST", {"ARRL-10"}},
        {"CATEGORY-OPERATOR", {"SINGLE-OP", "MULTI-OP", "CHECKLOG"}},
        {"CATEGORY-MODE", {"CW", "DIGI", "FM", "RTTY", "SSB", "MIXED"}},
        {"CATEGORY-POWER", {"HIGH", "LOW", "QRP"}},
        {"CATEGORY-BAND", {"10M"}},
        {"CATEGORY-TRANSMITTER", {"ONE", "TWO", "LIMITED", "UNLIMITED", "SWL"}},
        {"CATEGORY-ASSISTED", {"ASSISTED", "NON-ASSISTED"}},
        {"LOCATION", {}},
        {"CLAIMED-SCORE", {}},
        {"CREATED-BY", {}},
    };
    const std::set<std::string> optionalOnce{"EMAIL", "NAME", "CLUB", "OPERATORS"};
    const std::set<std::string> repeatable{"ADDRESS", "SOAPBOX"};

    if (lines.front().tag != "START-OF-LOG" || lines.front().value != "3.0")
        problems.push_back("the first line is not START-OF-LOG: 3.0");
    if (lines.back().tag != "END-OF-LOG" || !lines.back().value.empty())
        problems.push_back("the last line is not END-OF-LOG:");

    std::map<std::string, int> seen;
    std::map<std::string, std::string> values;
    bool inQsos = false;
    bool qsosOver = false;
    std::vector<std::vector<std::string>> qsos;
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        const Line& l = lines[i];
        if (l.tag == "QSO") {
            if (qsosOver)
                problems.push_back("QSO lines in two blocks");
            inQsos = true;
            qsos.push_back(words(l.value));
            continue;
        }
        if (inQsos) {
            qsosOver = true;
            problems.push_back("a header tag among or after the QSO lines: " + l.tag);
        }
        ++seen[l.tag];
        values[l.tag] = l.value;
        if (once.count(l.tag)) {
            const auto& allowed = once.at(l.tag);
            if (l.value.empty() || (!allowed.empty() && !allowed.count(l.value)))
                problems.push_back(l.tag + " has a value outside its set: \"" + l.value + "\"");
        } else if (optionalOnce.count(l.tag) || repeatable.count(l.tag)) {
            if (l.value.empty())
                problems.push_back(l.tag + " is present but empty");
        } else {
            problems.push_back("a tag 3.0 does not know: " + l.tag);
        }
    }
    for (const auto& [tag, allowed] : once) {
        if (seen[tag] != 1)
            problems.push_back(tag + " appears " + std::to_string(seen[tag]) + " times");
    }
    for (const std::string& tag : optionalOnce) {
        if (seen[tag] > 1)
            problems.push_back(tag + " appears more than once");
    }
    if (seen["ADDRESS"] > 6)
        problems.push_back("more than six ADDRESS lines");

    const std::string& location = values["LOCATION"];
    if (location.size() < 2 || location.size() > 3
        || !std::all_of(location.begin(), location.end(), [](unsigned char c) { return std::isupper(c); }))
        problems.push_back("LOCATION is not a section abbreviation or DX: " + location);
    if (!allDigits(values["CLAIMED-SCORE"]) || std::stoll(values["CLAIMED-SCORE"]) != claimedScore)
        problems.push_back("CLAIMED-SCORE is " + values["CLAIMED-SCORE"] + ", not " + std::to_string(claimedScore));

    const std::set<std::string> modes{"CW", "PH", "FM", "RY", "DG"};
    for (size_t i = 0; i < qsos.size(); ++i) {
        const auto& q = qsos[i];
        const std::string where = "QSO line " + std::to_string(i + 1);
        // After "QSO:" the ten fields frequency to exchange received.
        if (q.size() != 10) {
            problems.push_back(where + " has " + std::to_string(q.size() + 1) + " tokens");
            continue;
        }
        if (!allDigits(q[0]) || std::stoi(q[0]) < 28000 || std::stoi(q[0]) > 29700)
            problems.push_back(where + ": frequency " + q[0]);
        if (!modes.count(q[1]))
            problems.push_back(where + ": mode " + q[1]);
        const std::string& d = q[2];
        if (d.size() != 10 || d[4] != '-' || d[7] != '-' || !allDigits(d.substr(0, 4) + d.substr(5, 2) + d.substr(8)))
            problems.push_back(where + ": date " + d);
        if (q[3].size() != 4 || !allDigits(q[3]))
            problems.push_back(where + ": time " + q[3]);
        if (q[4] != values["CALLSIGN"])
            problems.push_back(where + ": sent call " + q[4] + " is not the CALLSIGN");
    }
    return problems;
}

// The values of one tag in file order.
inline std::vector<std::string> valuesOf(const std::string& data, const std::string& tag)
{
    std::vector<std::string> ignored;
    std::vector<std::string> out;
    for (const Line& l : splitLines(data, ignored))
        if (l.tag == tag)
            out.push_back(l.value);
    return out;
}

} // namespace cabrillo_test
