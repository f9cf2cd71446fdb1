#include "controls/property_bag.h"

namespace quenlo {

PropertyBag::Value PropertyBag::Read(std::string_view name, Value defaultValue) const {
    const auto found = values_.find(name);
    return found == values_.end() ? defaultValue : found->second;
}

void PropertyBag::Write(std::string_view name, Value value, Value defaultValue) {
    // A default is never stored, so a later change of default reaches old layouts.
    if (value == defaultValue) {
        if (const auto found = values_.find(name); found != values_.end()) {
            values_.erase(found);
        }
        return;
    }
    values_.insert_or_assign(std::string(name), value);
}

bool PropertyBag::Contains(std::string_view name) const {
    return values_.find(name) != values_.end();
}

void PropertyBag::PropertyChanged(std::string_view name) {
    if (onChanged) {
        onChanged(name);
    }
}

}  // namespace quenlo
