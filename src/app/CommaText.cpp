#include "app/CommaText.h"

namespace zentabo {
namespace {

bool IsSeparatorBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::string JoinCommaText(const std::vector<std::string>& items) {
    if (items.size() == 1 && items[0].empty()) return "\"\"";
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ',';
        const std::string& item = items[i];
        bool quote = false;
        for (char c : item) {
            if (IsSeparatorBlank(c) || c == ',' || c == '"') quote = true;
        }
        if (!quote) {
            out += item;
            continue;
        }
        out += '"';
        for (char c : item) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
    std::vector<std::string> items;
    std::size_t p = 0;
    const std::size_t n = text.size();
    auto skipBlanks = [&] {
        while (p < n && IsSeparatorBlank(text[p])) ++p;
    };
    skipBlanks();
    while (p < n) {
        std::string item;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            std::size_t start = p;
            while (p < n && !IsSeparatorBlank(text[p]) && text[p] != ',') ++p;
            item.assign(text.substr(start, p - start));
        }
        items.push_back(std::move(item));
        skipBlanks();
        if (p < n && text[p] == ',') {
            if (p + 1 == n) items.emplace_back();
            ++p;
            skipBlanks();
        }
    }
    return items;
}

}  // namespace zentabo
