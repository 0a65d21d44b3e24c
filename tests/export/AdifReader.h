// A small ADIF reader for the tests, written from the format alone and
// sharing nothing with the program's writer: an optional free-text header
// ended by <EOH>, then fields "<NAME:LENGTH[:TYPE]>data" taken by their
// declared length, records ended by <EOR>; names and the two markers in any
// letter case. Text between fields is allowed by the format but never written
// by a correct length, so the reader counts it.
#pragma once

#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace adif_test {

struct Field {
    std::string data;
    std::string type; // upper case, empty when none was given
};

struct Document {
    std::string header; // everything before <EOH>, empty without one
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

} // namespace adif_test
