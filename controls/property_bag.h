// The saved properties of one control instance, as the layout that hosts it keeps
// them: named values read and written with a default, where a value equal to its
// default is not stored at all.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace quenlo {

class PropertyBag {
public:
    using Value = std::int64_t;

    Value Read(std::string_view name, Value defaultValue) const;
    void Write(std::string_view name, Value value, Value defaultValue);
    bool Contains(std::string_view name) const;

    // A control reports a changed property so that its host saves the instance again.
    void PropertyChanged(std::string_view name);
    std::function<void(std::string_view name)> onChanged;

private:
    std::map<std::string, Value, std::less<>> values_;
};

}  // namespace quenlo
