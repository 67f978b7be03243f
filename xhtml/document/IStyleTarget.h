#pragma once

#include "xhtml/document/PropertyId.h"
#include "xhtml/document/StyleState.h"
#include "xhtml/document/StyleValue.h"

namespace xhtml {

// What declarations and the cascade are applied to: something that keeps one property map per
// interaction state. Views implement it.
class IStyleTarget {
public:
    virtual ~IStyleTarget() = default;

    // Stores the value under the key in the map of the state; an empty value removes the key.
    virtual void setProperty(PropertyId id, const StyleValue& value, StyleState state) = 0;
    // The value the target answers for the key in that state, with whatever fallback it applies
    // (a view: its Normal map, then its ancestors). False when it has none.
    virtual bool getProperty(PropertyId id, StyleValue& out, StyleState state) const = 0;
    // Exactly what the map of the state holds: no fallback to Normal, no ancestors.
    virtual const StyleValue* findInStyleMap(PropertyId id, StyleState state) const = 0;
};

} // namespace xhtml
