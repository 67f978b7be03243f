#pragma once

#include "xhtml/document/PropertyId.h"
#include "xhtml/document/StyleState.h"
#include "xhtml/document/StyleValue.h"

#include <array>
#include <map>

namespace xhtml {

// One ordered property map per interaction state. A state outside Normal to RightDown has no
// map: storing into it does nothing and lookups find nothing.
class StyleMaps {
public:
    using Map = std::map<PropertyId, StyleValue>;

    // An empty value removes the key.
    void set(PropertyId id, const StyleValue& value, StyleState state);
    // The map of the state only.
    const StyleValue* find(PropertyId id, StyleState state) const;
    // The map of the state, then the Normal map: other states list only what they change.
    const StyleValue* findWithFallback(PropertyId id, StyleState state) const;
    // Null for a state that has no map.
    const Map* map(StyleState state) const;

private:
    std::array<Map, kStyleStateCount> maps_;
};

} // namespace xhtml
