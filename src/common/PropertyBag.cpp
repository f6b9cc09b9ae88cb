#include "common/PropertyBag.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace common {

namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool ParseInteger(const std::string& text, long long& value) {
    if (text.empty()) return false;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    errno = 0;
    value = hex ? static_cast<long long>(std::strtoull(text.c_str() + 2, &end, 16)) : std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && end && *end == '\0' && end != text.c_str() + (hex ? 2 : 0);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    return parts;
}

std::string FontText(const FontSpec& f) {
    std::ostringstream out;
    out << f.name << ';' << f.points << ';' << f.weight << ';' << f.italic << ';' << f.underline << ';'
        << f.strikethrough;
    return out.str();
}

}  // namespace

PropertyBag PropertyBag::Parse(const std::string& text) {
    PropertyBag bag;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trim(line);
        const auto eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos || eq == 0) continue;
        bag.Put(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }
    return bag;
}

std::string PropertyBag::Serialize() const {
    std::string text;
    for (const auto& kv : values_) text += kv.first + "=" + kv.second + "\n";
    return text;
}

const std::string* PropertyBag::Find(const std::string& key) const {
    for (const auto& kv : values_)
        if (kv.first == key) return &kv.second;
    return nullptr;
}

void PropertyBag::Put(const std::string& key, const std::string& value) {
    for (auto& kv : values_) {
        if (kv.first == key) {
            kv.second = value;
            return;
        }
    }
    values_.emplace_back(key, value);
}

void PropertyBag::Remove(const std::string& key) {
    for (auto it = values_.begin(); it != values_.end(); ++it) {
        if (it->first == key) {
            values_.erase(it);
            return;
        }
    }
}

std::vector<std::string> PropertyBag::Keys() const {
    std::vector<std::string> keys;
    for (const auto& kv : values_) keys.push_back(kv.first);
    return keys;
}

namespace {

// A stored number of type T: absent, unreadable or out of T's range gives the default.
template <typename T>
T ReadNumber(const std::string* text, T defaultValue) {
    long long value = 0;
    if (!text || !ParseInteger(*text, value) || value < static_cast<long long>(std::numeric_limits<T>::min()) ||
        value > static_cast<long long>(std::numeric_limits<T>::max()))
        return defaultValue;
    return T(value);
}

}  // namespace

std::int16_t PropertyBag::GetInt16(const std::string& key, std::int16_t defaultValue) const {
    return ReadNumber(Find(key), defaultValue);
}

std::int32_t PropertyBag::GetInt32(const std::string& key, std::int32_t defaultValue) const {
    return ReadNumber(Find(key), defaultValue);
}

std::uint32_t PropertyBag::GetColour(const std::string& key, std::uint32_t defaultValue) const {
    return ReadNumber(Find(key), defaultValue);
}

bool PropertyBag::GetBool(const std::string& key, bool defaultValue) const {
    const std::string* text = Find(key);
    if (!text) return defaultValue;
    if (*text == "True") return true;
    if (*text == "False") return false;
    return defaultValue;
}

FontSpec PropertyBag::GetFont(const std::string& key, const FontSpec& defaultValue) const {
    const std::string* text = Find(key);
    if (!text) return defaultValue;
    const std::vector<std::string> parts = Split(*text, ';');
    if (parts.size() != 6 || Trim(parts[0]).empty()) return defaultValue;
    FontSpec font;
    font.name = Trim(parts[0]);
    char* end = nullptr;
    font.points = std::strtod(parts[1].c_str(), &end);
    if (!end || *end != '\0' || !(font.points > 0 && font.points < 1000)) return defaultValue;
    long long weight = 0;
    if (!ParseInteger(parts[2], weight) || weight < 0 || weight > 1000) return defaultValue;
    font.weight = int(weight);
    bool* flags[] = {&font.italic, &font.underline, &font.strikethrough};
    for (int i = 0; i < 3; ++i) {
        if (parts[3 + i] != "0" && parts[3 + i] != "1") return defaultValue;
        *flags[i] = parts[3 + i] == "1";
    }
    return font;
}

std::string PropertyBag::GetPicture(const std::string& key) const {
    const std::string* text = Find(key);
    if (!text || (text->rfind("file:", 0) != 0 && text->rfind("res:", 0) != 0)) return "";
    return *text;
}

void PropertyBag::PutInt(const std::string& key, std::int64_t value, std::int64_t defaultValue) {
    if (value == defaultValue)
        Remove(key);
    else
        Put(key, std::to_string(value));
}

void PropertyBag::PutColour(const std::string& key, std::uint32_t value, std::uint32_t defaultValue) {
    if (value == defaultValue) {
        Remove(key);
        return;
    }
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(value));
    Put(key, text);
}

void PropertyBag::PutBool(const std::string& key, bool value, bool defaultValue) {
    if (value == defaultValue)
        Remove(key);
    else
        Put(key, value ? "True" : "False");
}

void PropertyBag::PutFont(const std::string& key, const FontSpec& value, const FontSpec& defaultValue) {
    if (value == defaultValue)
        Remove(key);
    else
        Put(key, FontText(value));
}

void PropertyBag::PutPicture(const std::string& key, const std::string& reference) {
    if (reference.empty())
        Remove(key);
    else
        Put(key, reference);
}

}  // namespace common
