#pragma once

#include "base/ZString.h"
#include "xhtml/document/IPtrBase.h"

#include <vector>

namespace xhtml {

struct StyleDeclaration {
    ZString name;
    ZString value;
};

// One parsed declaration list ("color:#333; padding:5px"): trimmed, lower-cased (name, value)
// pairs in text order, duplicates kept. A sheet rule's definition is shared by the entries of all
// its selectors; an inline style's is a temporary.
class StyleDef : public IPtrBase {
public:
    explicit StyleDef(const ZString& text);

    const std::vector<StyleDeclaration>& declarations() const { return declarations_; }

private:
    std::vector<StyleDeclaration> declarations_;
};

} // namespace xhtml
