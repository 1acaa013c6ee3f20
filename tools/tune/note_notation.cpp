#include "tune/note_notation.h"

#include <charconv>
#include <stdexcept>
#include <string>

namespace omra::tools::tune {

namespace {

// "'FIELD' what", built by appending: GCC 12 at -O3 mistakes a chain of string + for an
// overlapping copy.
std::string quoted(std::string_view field, std::string_view what) {
    std::string text = "'";
    text.append(field).append("' ").append(what);
    return text;
}

[[noreturn]] void refuse(std::string_view row, const std::string& why) {
    throw std::invalid_argument("row \"" + std::string(row) + "\": " + why);
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\n");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t\n");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> fieldsOf(std::string_view row) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < row.size()) {
        const auto start = row.find_first_not_of(' ', at);
        if (start == std::string_view::npos) {
            break;
        }
        const auto end = std::min(row.find(' ', start), row.size());
        fields.push_back(row.substr(start, end - start));
        at = end;
    }
    return fields;
}

bool isBlank(std::string_view field) {
    return field.find_first_not_of(".-") == std::string_view::npos;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

int hexNumber(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}

std::uint8_t noteOf(std::string_view row, std::string_view field) {
    if (field == "===") {
        return xm::KeyOffNote;
    }
    if (isBlank(field)) {
        return 0;
    }
    static constexpr std::string_view Names = "C-C#D-D#E-F-F#G-G#A-A#B-";
    const auto name = field.size() == 3 ? Names.find(field.substr(0, 2)) : std::string_view::npos;
    const int octave = field.size() == 3 ? field[2] - '0' : -1;
    if (name == std::string_view::npos || name % 2 != 0 || octave < 0 || octave > 7) {
        refuse(row, quoted(field, "is not a note"));
    }
    return static_cast<std::uint8_t>(1 + 12 * octave + static_cast<int>(name / 2));
}

std::uint8_t instrumentOf(std::string_view row, std::string_view field) {
    if (isBlank(field)) {
        return 0;
    }
    const int number = field.size() == 2 ? hexNumber(field) : -1;
    if (number < 1 || number > xm::HighestInstrumentNumber) {
        refuse(row, quoted(field, "is not an instrument number"));
    }
    return static_cast<std::uint8_t>(number);
}

std::uint8_t volumeOf(std::string_view row, std::string_view field) {
    if (isBlank(field) && field.size() == 2) {
        return 0;
    }
    const int digit = field.size() == 2 ? hexDigit(field[1]) : -1;
    if (digit < 0) {
        refuse(row, quoted(field, "is not a volume-column entry"));
    }
    const int level = hexNumber(field);
    if (level >= 0 && level <= 0x40) {
        return static_cast<std::uint8_t>(0x10 + level);
    }
    static constexpr std::string_view Commands = "-+DUSVPLRM"; // 0x6y .. 0xFy
    const auto command = Commands.find(field[0]);
    if (command == std::string_view::npos) {
        refuse(row, quoted(field, "is not a volume-column entry"));
    }
    return static_cast<std::uint8_t>((0x6 + command) << 4 | digit);
}

void setEffect(XmCell& cell, std::string_view row, std::string_view field) {
    if (isBlank(field) && field.size() == 3) {
        return;
    }
    static constexpr std::string_view Types = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const auto type = field.size() == 3 ? Types.find(field[0]) : std::string_view::npos;
    const int parameter = field.size() == 3 ? hexNumber(field.substr(1)) : -1;
    if (type == std::string_view::npos || parameter < 0) {
        refuse(row, quoted(field, "is not an effect"));
    }
    cell.effect = static_cast<std::uint8_t>(type);
    cell.parameter = static_cast<std::uint8_t>(parameter);
}

void appendRow(Phrase& rows, std::string_view row) {
    if (row.empty() || row == ".") {
        rows.emplace_back();
        return;
    }
    if (row[0] == '.' && row.size() > 1) {
        int count = 0;
        const auto [end, error] = std::from_chars(row.data() + 1, row.data() + row.size(), count);
        if (error != std::errc() || end != row.data() + row.size() || count < 1) {
            refuse(row, "'.N' needs a count of empty rows");
        }
        rows.insert(rows.end(), static_cast<std::size_t>(count), XmCell{});
        return;
    }
    const std::vector<std::string_view> fields = fieldsOf(row);
    if (fields.size() > 4) {
        refuse(row, "a row has at most four fields");
    }
    XmCell cell;
    cell.note = noteOf(row, fields[0]);
    if (fields.size() > 1) {
        cell.instrument = instrumentOf(row, fields[1]);
    }
    if (fields.size() > 2) {
        cell.volume = volumeOf(row, fields[2]);
    }
    if (fields.size() > 3) {
        setEffect(cell, row, fields[3]);
    }
    rows.push_back(cell);
}

} // namespace

Phrase phrase(std::string_view text) {
    Phrase rows;
    std::size_t at = 0;
    for (;;) {
        const auto end = std::min(text.find('|', at), text.size());
        appendRow(rows, trimmed(text.substr(at, end - at)));
        if (end == text.size()) {
            return rows;
        }
        at = end + 1;
    }
}

} // namespace omra::tools::tune
