// A small ADIF reader for the tests, written from the format alone and
// sharing nothing with the program's writer: an optional free-text header
// ended by <EOH>, then fields "<NAME:LENGTH[:TYPE]>data" taken by their
// declared length, records ended by <EOR>; names and the two markers in any
// letter case. Text between fields is allowed by the format but never written
// by a correct length, so the reader counts it. Header fields are read the
// same way from the header text. validate() then checks the data of the
// fields a logbook checks on import against their ADIF data types.
#pragma once

#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace adif_test {

struct Field {
    std::string data;
    std::string type; // upper case, empty when none was given
};

struct Document {
    std::string header; // everything before <EOH>, empty without one
    std::map<std::string, Field> headerFields; // names in upper case
    std::vector<std::map<std::string, Field>> records; // names in upper case
    int strayCharacters = 0; // neither blank nor line end, between fields
    std::string error;       // empty when the whole data read
};

inline std::string upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

inline Document read(const std::string& data)
{
    Document doc;
    size_t pos = 0;
    if (!data.empty() && data[0] != '<') {
        const size_t eoh = upper(data).find("<EOH>");
        if (eoh == std::string::npos) {
            doc.error = "a header without <EOH>";
            return doc;
        }
        doc.header = data.substr(0, eoh);
        pos = eoh + 5;
        // Header fields: the same "<NAME:LENGTH>data" as in records; the
        // header text before <EOH> holds nothing that a record holds.
        const Document fields = read("<EOH>" + doc.header + "<EOR>");
        if (!fields.error.empty()) {
            doc.error = "in the header: " + fields.error;
            return doc;
        }
        if (!fields.records.empty())
            doc.headerFields = fields.records.front();
    }
    std::map<std::string, Field> current;
    while (pos < data.size()) {
        const char c = data[pos];
        if (c != '<') {
            if (c != ' ' && c != '\r' && c != '\n' && c != '\t')
                ++doc.strayCharacters;
            ++pos;
            continue;
        }
        const size_t close = data.find('>', pos);
        if (close == std::string::npos) {
            doc.error = "an unclosed tag at byte " + std::to_string(pos);
            return doc;
        }
        const std::string tag = data.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        const size_t colon = tag.find(':');
        if (colon == std::string::npos) {
            const std::string marker = upper(tag);
            if (marker == "EOR") {
                doc.records.push_back(current);
                current.clear();
            } else if (marker != "EOH") {
                doc.error = "an unknown marker <" + tag + ">";
                return doc;
            }
            continue;
        }
        const std::string name = upper(tag.substr(0, colon));
        std::string lengthText = tag.substr(colon + 1);
        std::string type;
        if (const size_t second = lengthText.find(':'); second != std::string::npos) {
            type = upper(lengthText.substr(second + 1));
            lengthText = lengthText.substr(0, second);
        }
        if (name.empty() || lengthText.empty() || lengthText.size() > 6) {
            doc.error = "a malformed tag <" + tag + ">";
            return doc;
        }
        size_t length = 0;
        for (char d : lengthText) {
            if (d < '0' || d > '9') {
                doc.error = "a length that is not a number in <" + tag + ">";
                return doc;
            }
            length = length * 10 + static_cast<size_t>(d - '0');
        }
        if (pos + length > data.size()) {
            doc.error = "data running past the end in <" + tag + ">";
            return doc;
        }
        if (current.count(name)) {
            doc.error = "a field given twice in one record: " + name;
            return doc;
        }
        current[name] = Field{data.substr(pos, length), type};
        pos += length;
    }
    if (!current.empty())
        doc.error = "a record without <EOR> at the end";
    return doc;
}

namespace detail {

inline bool digits(const std::string& s, size_t from, size_t count)
{
    if (from + count > s.size())
        return false;
    for (size_t i = from; i < from + count; ++i)
        if (s[i] < '0' || s[i] > '9')
            return false;
    return true;
}

// ADIF Number: optional minus, digits, at most one decimal point.
inline bool number(const std::string& s)
{
    bool digit = false;
    bool point = false;
    for (size_t i = s.size() && s[0] == '-' ? 1 : 0; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9')
            digit = true;
        else if (s[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

// ADIF String: ASCII 32 to 126.
inline bool asciiText(const std::string& s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126)
            return false;
    return true;
}

inline bool date(const std::string& s)
{
    if (s.size() != 8 || !digits(s, 0, 8))
        return false;
    const int month = std::stoi(s.substr(4, 2));
    const int day = std::stoi(s.substr(6, 2));
    return s.compare(0, 4, "1930") >= 0 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

inline bool time(const std::string& s)
{
    if ((s.size() != 4 && s.size() != 6) || !digits(s, 0, s.size()))
        return false;
    return std::stoi(s.substr(0, 2)) < 24 && std::stoi(s.substr(2, 2)) < 60
        && (s.size() == 4 || std::stoi(s.substr(4, 2)) < 60);
}

} // namespace detail

// The fields whose data does not fit their ADIF type, each as a sentence
// naming the record (0 for the header); empty when a logbook would import
// every record without a question.
inline std::vector<std::string> validate(const Document& doc)
{
    std::vector<std::string> problems;
    auto bad = [&problems](size_t record, const std::string& name, const std::string& data) {
        problems.push_back("record " + std::to_string(record) + ": " + name + " \"" + data + "\"");
    };
    for (const auto& [name, f] : doc.headerFields) {
        if (name == "CREATED_TIMESTAMP") {
            if (f.data.size() != 15 || f.data[8] != ' ' || !detail::date(f.data.substr(0, 8))
                || !detail::time(f.data.substr(9)))
                bad(0, name, f.data);
        } else if (name == "ADIF_VER") {
            if (f.data.size() < 5 || f.data[1] != '.' || f.data[3] != '.')
                bad(0, name, f.data);
        } else if (name == "PROGRAMID" || name == "PROGRAMVERSION") {
            if (f.data.empty() || !detail::asciiText(f.data))
                bad(0, name, f.data);
        } else {
            bad(0, "unknown header field " + name, f.data);
        }
    }
    const std::set<std::string> strings{"CALL", "STATE", "RST_SENT", "RST_RCVD", "STX_STRING", "SRX_STRING",
                                        "STATION_CALLSIGN", "CONTEST_ID"};
    for (size_t i = 0; i < doc.records.size(); ++i) {
        const auto& r = doc.records[i];
        if (!r.count("CONTEST_ID") || r.at("CONTEST_ID").data.empty())
            bad(i + 1, "no CONTEST_ID", "");
        for (const auto& [name, f] : r) {
            const std::string& d = f.data;
            bool ok = true;
            if (name == "FREQ" || name == "TX_PWR")
                ok = detail::number(d);
            else if (name == "QSO_DATE")
                ok = detail::date(d) && (f.type.empty() || f.type == "D");
            else if (name == "TIME_ON")
                ok = detail::time(d);
            else if (name == "BAND")
                ok = upper(d) == "10M";
            else if (name == "MODE")
                ok = d == "CW" || d == "SSB";
            else if (name == "DXCC")
                ok = !d.empty() && detail::digits(d, 0, d.size());
            else if (strings.count(name))
                ok = !d.empty() && detail::asciiText(d);
            if (!ok)
                bad(i + 1, name, d);
        }
    }
    return problems;
}

} // namespace adif_test
