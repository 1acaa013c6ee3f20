#include "glyphs/bdf_font.h"

#include <sstream>
#include <stdexcept>

namespace omra::tools {

namespace {

class LineReader {
public:
    LineReader(std::string_view text, std::string_view name) : text_(text), name_(name) {}

    bool next(std::string& line) {
        if (position_ >= text_.size()) {
            return false;
        }
        const std::size_t end = std::min(text_.find('\n', position_), text_.size());
        line.assign(text_.substr(position_, end - position_));
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        position_ = end + 1;
        ++number_;
        return true;
    }

    [[noreturn]] void fail(const std::string& reason) const {
        throw std::runtime_error(std::string(name_) + ":" + std::to_string(number_) + ": " +
                                 reason);
    }

private:
    std::string_view text_;
    std::string_view name_;
    std::size_t position_ = 0;
    int number_ = 0;
};

bool startsWith(const std::string& line, std::string_view word) {
    return line.compare(0, word.size(), word) == 0 &&
           (line.size() == word.size() || line[word.size()] == ' ');
}

std::string restOf(const std::string& line, std::string_view word) {
    return line.size() > word.size() ? line.substr(word.size() + 1) : std::string();
}

int parseNumber(const std::string& text, const LineReader& reader) {
    std::istringstream in(text);
    int value = 0;
    if (!(in >> value)) {
        reader.fail("'" + text + "' is not a number");
    }
    return value;
}

std::uint32_t parseRow(const std::string& hex, int width, const LineReader& reader) {
    const std::size_t digits = static_cast<std::size_t>((width + 7) / 8) * 2;
    if (hex.size() < digits || digits > 8) {
        reader.fail("a bitmap row of '" + hex + "' does not fit the glyph's width");
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = hex[i];
        const int nibble = c >= '0' && c <= '9'   ? c - '0'
                           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                           : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                  : -1;
        if (nibble < 0) {
            reader.fail("'" + hex + "' is not a hexadecimal bitmap row");
        }
        value = value << 4 | static_cast<std::uint32_t>(nibble);
    }
    return value << (32 - 4 * digits);
}

BdfGlyph readGlyph(LineReader& reader, int& encoding) {
    BdfGlyph glyph;
    encoding = -1;
    bool haveBox = false;
    std::string line;
    while (reader.next(line)) {
        if (startsWith(line, "ENCODING")) {
            encoding = parseNumber(restOf(line, "ENCODING"), reader);
        } else if (startsWith(line, "BBX")) {
            std::istringstream fields(restOf(line, "BBX"));
            haveBox = static_cast<bool>(fields >> glyph.width >> glyph.height >> glyph.offsetX >>
                                        glyph.offsetY);
        } else if (line == "BITMAP") {
            if (!haveBox || glyph.width < 0 || glyph.height < 0) {
                reader.fail("a bitmap without its bounding box");
            }
            for (int row = 0; row < glyph.height; ++row) {
                if (!reader.next(line)) {
                    reader.fail("the font ends inside a bitmap");
                }
                glyph.rows.push_back(parseRow(line, glyph.width, reader));
            }
        } else if (line == "ENDCHAR") {
            return glyph;
        }
    }
    reader.fail("the font ends inside a character");
}

} // namespace

BdfFont parseBdf(std::string_view text, std::string_view sourceName) {
    LineReader reader(text, sourceName);
    BdfFont font;
    std::string line;
    bool started = false;
    while (reader.next(line)) {
        if (startsWith(line, "STARTFONT")) {
            started = true;
        } else if (!started) {
            reader.fail("not a BDF font: it does not begin with STARTFONT");
        } else if (startsWith(line, "FONT_ASCENT")) {
            font.ascent = parseNumber(restOf(line, "FONT_ASCENT"), reader);
        } else if (startsWith(line, "FONT_DESCENT")) {
            font.descent = parseNumber(restOf(line, "FONT_DESCENT"), reader);
        } else if (startsWith(line, "COPYRIGHT")) {
            font.copyright = restOf(line, "COPYRIGHT");
        } else if (startsWith(line, "STARTCHAR")) {
            int encoding = -1;
            BdfGlyph glyph = readGlyph(reader, encoding);
            if (encoding >= 0) {
                font.glyphs[static_cast<char32_t>(encoding)] = std::move(glyph);
            }
        }
    }
    if (!started) {
        reader.fail("not a BDF font: it is empty");
    }
    return font;
}

} // namespace omra::tools
