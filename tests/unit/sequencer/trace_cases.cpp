#include "unit/sequencer/trace_cases.h"

#include "sequencer/trace.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <string>

namespace omra::testing {

namespace {

constexpr int SongFields = -1; // the channel of the fields before any "channel=N"

// A field of a traced or an expected line, "name=value".
struct NamedValue {
    std::string_view name;
    std::string_view value;
};

// The non-empty parts of `text` between separators.
std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find(separator, at), text.size());
        if (end > at) {
            parts.push_back(text.substr(at, end - at));
        }
        at = end + 1;
    }
    return parts;
}

std::optional<int> numberOf(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() ? std::optional(value)
                                                                    : std::nullopt;
}

std::optional<NamedValue> namedValue(std::string_view word) {
    const std::size_t equals = word.find('=');
    return equals == std::string_view::npos
               ? std::nullopt
               : std::optional(NamedValue{word.substr(0, equals), word.substr(equals + 1)});
}

// Fails the test for each expected field that the traced line does not hold.
void expectFields(std::string_view line, const std::vector<NamedValue>& expected,
                  std::string_view where) {
    for (const NamedValue& field : expected) {
        std::optional<std::string_view> held;
        for (const std::string_view word : split(line, ' ')) {
            const std::optional<NamedValue> candidate = namedValue(word);
            if (candidate && candidate->name == field.name) {
                held = candidate->value;
            }
        }
        if (held != field.value) {
            ADD_FAILURE() << where << field.name << ": expected " << field.value << ", found "
                          << held.value_or("nothing") << "\n  in: " << line;
        }
    }
}

// One line of the expected ticks: the ticks it covers and, by channel, the fields they share.
struct ExpectedLine {
    int first = 0;
    int last = 0;
    std::map<int, std::vector<NamedValue>> fields;
};

// A field's value on one tick of its line: the one value, or the tick's item of a list.
NamedValue onTick(const NamedValue& field, int index) {
    const std::vector<std::string_view> items = split(field.value, ',');
    return {field.name, items.size() > 1 ? items[index] : field.value};
}

std::optional<ExpectedLine> expectedLine(std::string_view line) {
    const std::vector<std::string_view> words = split(line, ' ');
    const std::vector<std::string_view> range = split(words[0], '-');
    const std::optional<int> first = numberOf(range[0]);
    const std::optional<int> last = range.size() == 2 ? numberOf(range[1]) : first;
    if (!first || !last || range.size() > 2 || *last < *first) {
        return std::nullopt;
    }
    ExpectedLine expected{*first, *last, {}};
    int channel = SongFields;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::optional<NamedValue> field = namedValue(words[i]);
        const std::optional<int> number = field ? numberOf(field->value) : std::nullopt;
        const std::size_t items = field ? split(field->value, ',').size() : 0;
        if (!field || (field->name == "channel" && !number) ||
            (items > 1 && static_cast<int>(items) != *last - *first + 1)) {
            return std::nullopt;
        }
        if (field->name == "channel") {
            channel = *number;
        } else {
            expected.fields[channel].push_back(*field);
        }
    }
    return expected;
}

} // namespace

void expectTicks(const TraceCase& traceCase) {
    std::vector<ExpectedLine> expected;
    int ticks = 0;
    for (const std::string_view line : split(traceCase.ticks, '\n')) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string_view::npos) {
            continue;
        }
        const std::optional<ExpectedLine> parsed = expectedLine(line.substr(start));
        if (!parsed) {
            ADD_FAILURE() << "not an expected tick: \"" << line << "\"";
            return;
        }
        expected.push_back(*parsed);
        ticks = std::max(ticks, parsed->last + 1);
    }

    tools::XmModule module =
        behaviourModule(traceCase.channels, traceCase.rows, traceCase.patterns);
    if (traceCase.adjust != nullptr) {
        traceCase.adjust(module);
    }
    SequencerRun run(module);
    const std::vector<TickTrace> traced = run.ticks(ticks);
    for (const ExpectedLine& line : expected) {
        for (int tick = line.first; tick <= line.last; ++tick) {
            const std::string text = formatTick(traced[tick]);
            const std::vector<std::string_view> channels = split(text, '\n');
            for (const auto& [channel, lineFields] : line.fields) {
                std::vector<NamedValue> fields;
                for (const NamedValue& field : lineFields) {
                    fields.push_back(onTick(field, tick - line.first));
                }
                const std::size_t index = std::max(channel, 0);
                const std::string where =
                    "tick " + std::to_string(tick) +
                    (channel == SongFields ? "" : ", channel " + std::to_string(channel)) + ", ";
                expectFields(index < channels.size() ? channels[index] : "", fields, where);
            }
        }
    }
}

void PrintTo(const TraceCase& traceCase, std::ostream* out) {
    *out << traceCase.name;
}

} // namespace omra::testing
