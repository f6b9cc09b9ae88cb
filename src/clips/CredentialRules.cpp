#include "clips/CredentialRules.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

namespace clips {
namespace {

const std::size_t kLongestTokenCopy = 4096;  // a token is looked for in copies up to this long

bool IsTokenChar(char c, const char* more) {
    return std::isalnum(static_cast<unsigned char>(c)) || (c && std::strchr(more, c));
}

// prefix, then at least `least` characters of [A-Za-z0-9] and `more`.
bool Shaped(const std::string& word, const std::string& prefix, std::size_t least, const char* more) {
    if (word.compare(0, prefix.size(), prefix) != 0 || word.size() < prefix.size() + least) return false;
    for (std::size_t i = prefix.size(); i < word.size(); ++i)
        if (!IsTokenChar(word[i], more)) return false;
    return true;
}

bool IsJwt(const std::string& word) {
    if (word.compare(0, 3, "eyJ") != 0) return false;
    std::size_t dots = 0, part = 0;
    for (char c : word) {
        if (c == '.') {
            if (part < 4) return false;
            ++dots, part = 0;
        } else if (IsTokenChar(c, "-_=")) {
            ++part;
        } else {
            return false;
        }
    }
    return dots == 2 && part >= 4;
}

bool IsToken(const std::string& word) {
    for (const char* github : {"ghp_", "gho_", "ghu_", "ghs_", "ghr_", "github_pat_"})
        if (Shaped(word, github, 20, "_")) return true;
    for (const char* slack : {"xoxa-", "xoxb-", "xoxp-", "xoxo-", "xoxr-", "xoxs-"})
        if (Shaped(word, slack, 10, "-")) return true;
    return Shaped(word, "AKIA", 16, "") || Shaped(word, "ASIA", 16, "") || Shaped(word, "sk-", 20, "-_") ||
           Shaped(word, "sk_live_", 16, "") || Shaped(word, "rk_live_", 16, "") || Shaped(word, "AIza", 30, "-_") ||
           IsJwt(word);
}

// One word that reads like a generated password: 10 to 64 characters of at least three kinds (lower, upper,
// digit, other) spread widely, and not an address, a path or a file name.
bool IsPasswordLike(const std::string& word) {
    if (word.size() < 10 || word.size() > 64) return false;
    if (word.find("://") != std::string::npos || word.find('\\') != std::string::npos || word[0] == '/' ||
        word.find('@') != std::string::npos)
        return false;
    const std::size_t dot = word.rfind('.');
    if (dot != std::string::npos && word.size() - dot >= 3 && word.size() - dot <= 5) {
        bool letters = true;
        for (std::size_t i = dot + 1; i < word.size(); ++i)
            letters &= std::isalpha(static_cast<unsigned char>(word[i])) != 0;
        if (letters) return false;  // "Report_v2.docx"
    }
    bool lower = false, upper = false, digit = false, other = false;
    std::map<char, int> counts;
    for (char c : word) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x21 || u > 0x7E) return false;  // printable ASCII only: words of a language are not passwords
        lower |= std::islower(u) != 0, upper |= std::isupper(u) != 0, digit |= std::isdigit(u) != 0;
        other |= !std::isalnum(u);
        ++counts[c];
    }
    if (int(lower) + int(upper) + int(digit) + int(other) < 3) return false;
    double bits = 0;
    for (const auto& [c, n] : counts) {
        const double p = double(n) / double(word.size());
        bits -= p * std::log2(p);
    }
    return bits >= 3.0;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c)) || std::strchr("\"',;=()<>`", c)) {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

}  // namespace

std::string CredentialRule(const std::string& text) {
    if (text.find("-----BEGIN ") != std::string::npos && text.find("PRIVATE KEY") != std::string::npos)
        return "private key";
    if (text.size() > kLongestTokenCopy) return "";
    const std::vector<std::string> words = Words(text);
    for (const std::string& word : words)
        if (IsToken(word)) return "token";
    return words.size() == 1 && IsPasswordLike(words[0]) ? "password-like word" : "";
}

}  // namespace clips
