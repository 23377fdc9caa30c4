#include "TextWrap.h"

#include <vector>

namespace vigilon::app {

namespace {

bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

// The longest start of word, cut between characters, that fits; at least
// one character, so that the wrap always moves on.
std::size_t FittingPrefix(std::string_view word, int maxWidth,
                          const std::function<int(std::string_view)>& widthOf) {
    std::vector<std::size_t> cuts;  // the ends of the characters
    for (std::size_t i = 1; i <= word.size(); ++i)
        if (i == word.size() || StartsCharacter(word[i])) cuts.push_back(i);
    std::size_t low = 0, high = cuts.size();  // cuts[low - 1] fits, cuts[high] does not
    while (low < high) {
        const std::size_t middle = (low + high + 1) / 2;
        if (widthOf(word.substr(0, cuts[middle - 1])) <= maxWidth)
            low = middle;
        else
            high = middle - 1;
    }
    return cuts[low > 0 ? low - 1 : 0];
}

void WrapLine(std::string_view line, int maxWidth,
              const std::function<int(std::string_view)>& widthOf, std::string& out) {
    std::string current;
    std::size_t at = 0;
    while (at <= line.size()) {
        std::size_t space = line.find(' ', at);
        if (space == std::string_view::npos) space = line.size();
        std::string_view word = line.substr(at, space - at);
        at = space + 1;
        std::string candidate =
            current.empty() ? std::string(word) : current + " " + std::string(word);
        if (widthOf(candidate) <= maxWidth) {
            current = std::move(candidate);
            continue;
        }
        if (!current.empty()) {
            out += current + "\n";
            current.clear();
        }
        while (widthOf(word) > maxWidth) {
            const std::size_t cut = FittingPrefix(word, maxWidth, widthOf);
            if (cut >= word.size()) break;  // one character wider than the room
            out += std::string(word.substr(0, cut)) + "\n";
            word.remove_prefix(cut);
        }
        current = std::string(word);
    }
    out += current;
}

}  // namespace

std::string WrapText(std::string_view text, int maxWidth,
                     const std::function<int(std::string_view)>& widthOf) {
    std::string out;
    std::size_t at = 0;
    while (true) {
        const std::size_t end = text.find('\n', at);
        WrapLine(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at),
                 maxWidth, widthOf, out);
        if (end == std::string_view::npos) break;
        out += "\n";
        at = end + 1;
    }
    return out;
}

}  // namespace vigilon::app
