// The persisted property sets of the program's controls: named, typed values kept as text, one
// "Name=Value" per line, in the order they were written. Lines starting with "#" are comments.
//   numbers    decimal, or hexadecimal after "0x"        BackNormal=0x80000005
//   booleans   True or False                              WordWrap=False
//   fonts      name;points;weight;italic;underline;strikethrough (the last three 0 or 1)
//                                                         Font=Arial;9;700;0;0;0
//   pictures   file:<path> (a picture file) or res:<id> (a resource of the program)
// A value that does not read as its type gives the default, as an absent key does.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace common {

struct FontSpec {
    std::string name = "Tahoma";
    double points = 8;
    int weight = 400;
    bool italic = false, underline = false, strikethrough = false;
    bool operator==(const FontSpec& o) const {
        return name == o.name && points == o.points && weight == o.weight && italic == o.italic &&
               underline == o.underline && strikethrough == o.strikethrough;
    }
};

class PropertyBag {
public:
    static PropertyBag Parse(const std::string& text);
    std::string Serialize() const;

    std::int16_t GetInt16(const std::string& key, std::int16_t defaultValue) const;
    std::int32_t GetInt32(const std::string& key, std::int32_t defaultValue) const;
    std::uint32_t GetColour(const std::string& key, std::uint32_t defaultValue) const;
    bool GetBool(const std::string& key, bool defaultValue) const;
    FontSpec GetFont(const std::string& key, const FontSpec& defaultValue) const;
    std::string GetPicture(const std::string& key) const;  // "" for none

    // A value equal to its default is not kept: the key is removed.
    void PutInt(const std::string& key, std::int64_t value, std::int64_t defaultValue);
    void PutColour(const std::string& key, std::uint32_t value, std::uint32_t defaultValue);
    void PutBool(const std::string& key, bool value, bool defaultValue);
    void PutFont(const std::string& key, const FontSpec& value, const FontSpec& defaultValue);
    void PutPicture(const std::string& key, const std::string& reference);

    bool Has(const std::string& key) const { return Find(key) != nullptr; }
    std::vector<std::string> Keys() const;

private:
    const std::string* Find(const std::string& key) const;
    void Put(const std::string& key, const std::string& value);
    void Remove(const std::string& key);

    std::vector<std::pair<std::string, std::string>> values_;
};

}  // namespace common
