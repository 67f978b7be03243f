#include "xhtml/document/StyleMaps.h"

namespace xhtml {

const StyleMaps::Map* StyleMaps::map(StyleState state) const {
    return state >= 0 && state < kStyleStateCount ? &maps_[state] : nullptr;
}

void StyleMaps::set(PropertyId id, const StyleValue& value, StyleState state) {
    if (!map(state))
        return;
    Map& target = maps_[state];
    if (value.isEmpty())
        target.erase(id);
    else
        target.insert_or_assign(id, value);
}

const StyleValue* StyleMaps::find(PropertyId id, StyleState state) const {
    const Map* values = map(state);
    if (!values)
        return nullptr;
    const auto found = values->find(id);
    return found != values->end() ? &found->second : nullptr;
}

const StyleValue* StyleMaps::findWithFallback(PropertyId id, StyleState state) const {
    if (!map(state))
        return nullptr;
    const StyleValue* value = find(id, state);
    return value || state == Normal ? value : find(id, Normal);
}

} // namespace xhtml
