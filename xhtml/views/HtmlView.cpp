#include "xhtml/views/HtmlView.h"

#include "xhtml/document/Cascade.h"
#include "xhtml/document/Colors.h"
#include "xhtml/document/Keywords.h"
#include "xhtml/document/MarkupParser.h"
#include "xhtml/views/FormViews.h"
#include "xhtml/views/ImageView.h"
#include "xhtml/views/InlineViews.h"
#include "xhtml/views/SelectView.h"
#include "xhtml/views/TableViews.h"
#include "xhtml/views/ViewContext.h"
#include "xhtml/views/WordView.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace xhtml {

namespace {

using P = PropertyId;

constexpr const char16_t* kBlockElements[] = {u"center", u"div", u"h1", u"h2", u"h3",
                                              u"h4",     u"h5",  u"h6", u"p",  u"body",
                                              u"table",  u"tr",  u"td"};
constexpr const char16_t* kReplacedElements[] = {u"img", u"input", u"select", u"textarea"};
constexpr const char16_t* kInlineElements[] = {u"a",      u"b",     u"big",  u"font",   u"i",
                                               u"select", u"small", u"span", u"strike", u"strong",
                                               u"sup",    u"sub",   u"u",    u"nowrap", u"nobr"};

template <size_t N> bool isIn(const char16_t* const (&names)[N], const ZString& name) {
    return std::any_of(std::begin(names), std::end(names),
                       [&](const char16_t* n) { return name.equals(n); });
}

StyleValue percent(int value) {
    StyleValue length = StyleValue::integer(value);
    length.addFlag(StyleValue::kPercent);
    return length;
}

// An element's attribute values as the builder reads them.
class Attributes {
public:
    explicit Attributes(const HtmlTagNode& element) : element_(element) {}

    const ZString* find(const char16_t* name) const { return getAttribute(&element_, name); }
    bool has(const char16_t* name) const { return find(name) != nullptr; }
    // The C runtime's reading with automatic base: "010" is 8, "0x20" is 32, "90%" is 90.
    std::optional<int> integer(const char16_t* name) const {
        const ZString* value = find(name);
        return value ? std::optional<int>(value->toInt()) : std::nullopt;
    }
    // A number with its percentage flag; counts as given only when the trimmed value starts
    // with a letter or digit.
    std::optional<StyleValue> length(const char16_t* name) const {
        const ZString* value = find(name);
        if (!value)
            return std::nullopt;
        ZString trimmed = *value;
        trimmed.trim();
        const char16_t first = trimmed.isEmpty() ? 0 : trimmed.getAt(0);
        if (!(digitValue(first) < 36))
            return std::nullopt;
        StyleValue length = StyleValue::integer(trimmed.toInt());
        if (trimmed.endsWith(u'%'))
            length.addFlag(StyleValue::kPercent);
        return length;
    }
    // The code of the keyword, for align and valign.
    std::optional<int> keyword(const char16_t* name, const KeywordTable& table) const {
        const ZString* value = find(name);
        return value ? std::optional<int>(lookupKeyword(table, *value)) : std::nullopt;
    }

private:
    const HtmlTagNode& element_;
};

void storeIf(View& view, PropertyId id, const std::optional<int>& value) {
    if (value)
        view.setProperty(id, StyleValue::integer(*value));
}

void storeIf(View& view, PropertyId id, const std::optional<StyleValue>& value) {
    if (value)
        view.setProperty(id, *value);
}

void storeString(View& view, PropertyId id, const ZString* value, StyleState state = Normal) {
    if (value)
        view.setProperty(id, StyleValue::string(*value), state);
}

int parentFontSize(const View& parent) {
    StyleValue size;
    return parent.getProperty(P::FontSize, size, Current) ? integerOf(size) : 13;
}

View* createInput(ViewContext* context, const HtmlTagNode& element) {
    // The last occurrence of an attribute wins here.
    ZString name, type, value, filter;
    std::optional<ZString> label;
    bool checked = false, readOnly = false;
    int size = 0;
    for (const auto& [key, text] : element.attributes) {
        if (key.equals(u"name"))
            name = text;
        else if (key.equals(u"type"))
            type = text;
        else if (key.equals(u"value"))
            value = text;
        else if (key.equals(u"filter"))
            filter = text;
        else if (key.equals(u"label"))
            label = text;
        else if (key.equals(u"checked"))
            checked = true;
        else if (key.equals(u"readonly"))
            readOnly = true;
        else if (key.equals(u"size") && digitValue(text.isEmpty() ? 0 : text.getAt(0)) < 10)
            size = text.toInt();
    }
    View* view = nullptr;
    if (type.equals(u"button")) {
        view = new ButtonView(context);
    } else if (type.equals(u"checkbox") || type.equals(u"radio")) {
        view = type.equals(u"radio") ? static_cast<View*>(new RadioView(context))
                                     : static_cast<View*>(new CheckView(context));
        view->setProperty(P::Checked, StyleValue::boolean(checked));
    } else if (type.equals(u"hidden")) {
        view = new HiddenInputView(context);
    } else if (type.equals(u"file")) {
        auto* file = new FileChooseView(context, label.value_or(ZString()));
        // Its text input shows the value.
        file->setValue(value);
        view = file;
        if (size > 0)
            view->setProperty(P::Size, StyleValue::integer(size));
        view->setProperty(P::FileFilter, StyleValue::string(filter));
        if (label)
            view->setProperty(P::FileLabel, StyleValue::string(*label));
    } else {
        view = new EditView(context);
        view->setProperty(P::ReadOnly, StyleValue::boolean(readOnly));
        if (size > 0)
            view->setProperty(P::Size, StyleValue::integer(size));
        ZString lowered = type;
        lowered.trim();
        lowered.toLower();
        if (lowered.equals(u"password"))
            view->setProperty(P::Password, StyleValue::boolean(true));
        type = u"text";
    }
    if (!name.isEmpty())
        view->setProperty(P::Name, StyleValue::string(name));
    view->setProperty(P::InputType, StyleValue::string(type));
    view->setProperty(P::Value, StyleValue::string(value));
    return view;
}

SelectView* createSelect(ViewContext* context, const HtmlTagNode& element) {
    auto* select = new SelectView(context);
    const Attributes attributes(element);
    storeString(*select, P::Name, attributes.find(u"name"));
    storeIf(*select, P::Size, attributes.integer(u"size"));
    for (auto [attribute, key] : {std::pair{u"multiple", P::Multiple}, std::pair{u"sort", P::Sort},
                                  std::pair{u"combo", P::Combo}}) {
        if (attributes.has(attribute))
            select->setProperty(key, StyleValue::boolean(true));
    }
    for (const auto& child : element.children) {
        if (child->kind != HtmlNode::Element)
            continue;
        const auto& option = static_cast<const HtmlTagNode&>(*child);
        if (!option.name.equals(u"option"))
            continue;
        const ZString* value = getAttribute(&option, u"value");
        ZString label;
        if (!option.children.empty() && option.children[0]->kind == HtmlNode::Text)
            label = static_cast<const HtmlTextNode&>(*option.children[0]).text;
        const ZString optionValue = value ? *value : ZString();
        select->addOption(label, optionValue);
        if (getAttribute(&option, u"selected"))
            select->selectValue(optionValue, false);
    }
    if (select->isSorted())
        select->sortOptions();
    return select;
}

// The cells of a bordered table look sunken, and take the table's cell padding.
void applyTableToCell(const CompositeView& row, View& cell) {
    const View* table = row.getParent();
    if (row.getKind() != RowKind || !table || table->getKind() != TableKind)
        return;
    StyleValue value;
    if (table->getOwnProperty(P::TableBorder, value) && integerOf(value) > 0) {
        cell.setProperty(P::BorderWidth, StyleValue::integer(1));
        cell.setProperty(P::BorderLeftColor, StyleValue::color(0x646464));
        cell.setProperty(P::BorderTopColor, StyleValue::color(0x646464));
        cell.setProperty(P::BorderRightColor, StyleValue::color(0xC8C8C8));
        cell.setProperty(P::BorderBottomColor, StyleValue::color(0xC8C8C8));
    }
    if (table->getOwnProperty(P::CellPadding, value))
        cell.setProperty(P::Padding, value);
}

// Appends the view; one the parent refuses (a table takes only rows, a row only cells) is
// deleted with whatever it would have held.
View* adopted(CompositeView* parent, View* view) {
    if (!view)
        return nullptr;
    parent->appendChild(view);
    if (view->getParent() == parent)
        return view;
    delete view;
    return nullptr;
}

} // namespace

HtmlView::HtmlView(ViewContext* context) : BlockView(context) {
    setProperty(P::Width, percent(100));
    setProperty(P::Height, percent(100));
}

void HtmlView::setContent(const ZString& markup, const ZString* baseUrl) {
    if (baseUrl && getContext())
        getContext()->getLoader()->setBaseUrl(*baseUrl);
    removeAllChildren();
    // No cached layout describes the views of the new document.
    invalidateLayoutCache();
    root_ = std::make_unique<HtmlTagNode>(nullptr);
    parseContent(root_.get(), markup.c_str());
    buildChildren(this, *root_);
    ViewEvent changed{ViewEvent::ContentChanged, this};
    handleEvent(changed);
}

void HtmlView::load(const ZString& url) {
    ByteBuffer bytes;
    if (getContext())
        getContext()->getLoader()->load(url, bytes);
    const std::u16string text =
        fromUtf8(reinterpret_cast<const char*>(bytes.data()), bytes.length());
    setContent(ZString(text.c_str(), static_cast<int>(text.size())), &url);
}

void HtmlView::buildText(CompositeView* parent, const ZString& text) {
    if (text.isEmpty())
        return;
    pendingSpace_ = isWideSpace(text.getAt(0));
    const bool spaceAtEnd = isWideSpace(text.getAt(text.length() - 1));
    ZString t = text;
    t.trim();
    if (t.isEmpty())
        return;
    if (pendingSpace_ && !endsWithSpace_)
        t.insert(0, u" ");
    if (spaceAtEnd)
        t.append(u' ');
    adopted(parent, new TextView(getContext(), t));
    endsWithSpace_ = pendingSpace_ = spaceAtEnd;
}

void HtmlView::spaceBefore(CompositeView* parent, const ZString& name, bool& block) {
    if (isIn(kBlockElements, name) || name.equals(u"br")) {
        block = !name.equals(u"br");
        pendingSpace_ = endsWithSpace_ = afterReplaced_ = false;
    } else if (isIn(kReplacedElements, name)) {
        if (pendingSpace_ && !endsWithSpace_)
            adopted(parent, new WordView(getContext(), u" "));
        endsWithSpace_ = pendingSpace_ = false;
        afterReplaced_ = true;
    } else if (isIn(kInlineElements, name)) {
        if (afterReplaced_ && pendingSpace_ && !endsWithSpace_) {
            pendingSpace_ = endsWithSpace_ = true;
            adopted(parent, new WordView(getContext(), u" "));
        }
    }
}

void HtmlView::buildChildren(CompositeView* parent, const HtmlTagNode& element) {
    for (const auto& node : element.children) {
        if (node->kind == HtmlNode::Text) {
            buildText(parent, static_cast<const HtmlTextNode&>(*node).text);
            continue;
        }
        const auto& child = static_cast<const HtmlTagNode&>(*node);
        bool block = false;
        spaceBefore(parent, child.name, block);
        View* view = adopted(parent, createView(parent, child));
        if (view) {
            if (view->isContainer())
                buildChildren(static_cast<CompositeView*>(view), child);
        }
        if (block)
            pendingSpace_ = endsWithSpace_ = afterReplaced_ = false;
        if (view) {
            storeAttributes(*view, child);
            static const StyleRuleList noRules;
            const StyleRuleList& rules = getContext() ? getContext()->getStyleRules() : noRules;
            for (StyleState state : {Normal, Hover, LeftDown, RightDown})
                applyStyles(rules, *view, state);
        }
    }
}

void HtmlView::storeAttributes(View& view, const HtmlTagNode& element) const {
    const Attributes attributes(element);
    view.setProperty(P::TagName, StyleValue::string(element.name));
    storeString(view, P::Id, attributes.find(u"id"));
    storeString(view, P::Title, attributes.find(u"title"));
    storeString(view, P::Class, attributes.find(u"class"));
    storeString(view, P::HideId, attributes.find(u"hideid"));
    storeString(view, P::StyleText, attributes.find(u"style"), Normal);
    storeString(view, P::StyleText, attributes.find(u"mostyle"), Hover);
    storeString(view, P::StyleText, attributes.find(u"lbdstyle"), LeftDown);
    storeString(view, P::StyleText, attributes.find(u"rbdstyle"), RightDown);
    if (const ZString* use = attributes.find(u"useformvalues")) {
        ZString lowered = *use;
        lowered.toLower();
        view.setProperty(P::UseFormValues, StyleValue::boolean(lowered.equals(u"true")));
    }
    if (const ZString* disabled = attributes.find(u"disabled");
        disabled && disabled->equalsIgnoreCase(u"true"))
        view.setProperty(P::Disabled, StyleValue::boolean(true));
}

View* HtmlView::createView(CompositeView* parent, const HtmlTagNode& element) {
    ViewContext* context = getContext();
    const ZString& name = element.name;
    const Attributes attributes(element);
    const auto inlineWith = [&](PropertyId id, const StyleValue& value) {
        auto* view = new InlineView(context);
        view->setProperty(id, value);
        return view;
    };
    const auto alignedBlock = [&](BlockView* view) {
        storeIf(*view, P::TextAlign, attributes.keyword(u"align", textAlignKeywords));
        return view;
    };

    if (name.equals(u"b"))
        return inlineWith(P::FontWeight, StyleValue::integer(700));
    if (name.equals(u"i"))
        return inlineWith(P::Italic, StyleValue::boolean(true));
    if (name.equals(u"br"))
        return new BreakView(context, 15);
    if (name.equals(u"nowrap") || name.equals(u"nobr"))
        return inlineWith(P::NoWrap, StyleValue::boolean(true));
    if (name.equals(u"strike"))
        return inlineWith(P::LineThrough, StyleValue::boolean(true));
    if (name.equals(u"u"))
        return inlineWith(P::Underline, StyleValue::boolean(true));
    if (name.equals(u"small") || name.equals(u"big")) {
        const int step = name.equals(u"big") ? 2 : -2;
        return inlineWith(P::FontSize,
                          StyleValue::integer(addSaturated(parentFontSize(*parent), step)));
    }
    if (name.equals(u"sub"))
        return inlineWith(P::Subscript, StyleValue::boolean(true));
    if (name.equals(u"sup"))
        return inlineWith(P::Superscript, StyleValue::boolean(true));
    if (name.equals(u"span"))
        return new InlineView(context);
    if (name.equals(u"font")) {
        auto* view = new InlineView(context);
        storeString(*view, P::FontFamily, attributes.find(u"face"));
        if (const ZString* size = attributes.find(u"size")) {
            const bool relative = size->startsWith(u'+') || size->startsWith(u'-');
            const int value =
                relative ? addSaturated(parentFontSize(*parent), size->toInt()) : size->toInt();
            view->setProperty(P::FontSize, StyleValue::integer(value));
        }
        if (const ZString* color = attributes.find(u"color"))
            view->setProperty(P::Color, StyleValue::color(parseColor(*color)));
        return view;
    }
    if (name.equals(u"center")) {
        auto* view = new CenterView(context);
        view->setProperty(P::TextAlign, StyleValue::integer(2));
        return view;
    }
    if (name.equals(u"hr")) {
        auto* view = new HRView(context);
        view->setProperty(P::Height, StyleValue::integer(2));
        view->setProperty(P::BorderWidth, StyleValue::integer(1));
        view->setProperty(P::BorderColor, StyleValue::color(0x808080));
        if (const ZString* size = attributes.find(u"size");
            size && !size->isEmpty() && digitValue(size->getAt(0)) < 10)
            view->setProperty(P::Size, StyleValue::integer(size->toInt()));
        if (attributes.has(u"width"))
            view->setProperty(P::Width,
                              attributes.length(u"width").value_or(StyleValue::integer(2)));
        return alignedBlock(view);
    }
    if (name.equals(u"p"))
        return alignedBlock(new ParagraphView(context));
    if (name.length() == 2 && name.getAt(0) == u'h' && name.getAt(1) >= u'1' &&
        name.getAt(1) <= u'6') {
        static constexpr int sizes[] = {25, 20, 16, 13, 10, 8};
        auto* view = new ParagraphView(context);
        view->setProperty(P::FontSize, StyleValue::integer(sizes[name.getAt(1) - u'1']));
        view->setProperty(P::FontWeight, StyleValue::integer(700));
        return view;
    }
    if (name.equals(u"img")) {
        auto* view = new ImageView(context);
        storeString(*view, P::ImageSource, attributes.find(u"src"));
        storeIf(*view, P::Width, attributes.integer(u"width"));
        storeIf(*view, P::Height, attributes.integer(u"height"));
        if (const ZString* alt = attributes.find(u"alt"))
            view->setAlt(*alt);
        return view;
    }
    if (name.equals(u"body")) {
        auto* view = new BodyView(context);
        view->setProperty(P::Width, percent(100));
        view->setProperty(P::Height, percent(100));
        if (const ZString* color = attributes.find(u"bgcolor"))
            view->setProperty(P::BackgroundColor, StyleValue::color(parseColor(*color)));
        return view;
    }
    if (name.equals(u"div"))
        return alignedBlock(new BlockView(context));
    if (name.equals(u"a")) {
        auto* view = new LinkView(context);
        view->setProperty(P::Cursor, StyleValue::integer(1));
        view->setProperty(P::Color, StyleValue::color(0x800000));
        view->setProperty(P::Underline, StyleValue::boolean(true));
        storeString(*view, P::Href, attributes.find(u"href"));
        return view;
    }
    if (name.equals(u"table")) {
        auto* view = new TableView(context);
        storeIf(*view, P::Width, attributes.length(u"width"));
        storeIf(*view, P::Height, attributes.length(u"height"));
        if (const auto border = attributes.integer(u"border")) {
            view->setProperty(P::TableBorder, StyleValue::integer(*border));
            view->setProperty(P::BorderWidth, StyleValue::integer(*border));
            view->setProperty(P::BorderLeftColor, StyleValue::color(0xC8C8C8));
            view->setProperty(P::BorderTopColor, StyleValue::color(0xC8C8C8));
            view->setProperty(P::BorderRightColor, StyleValue::color(0x646464));
            view->setProperty(P::BorderBottomColor, StyleValue::color(0x646464));
        }
        storeIf(*view, P::CellSpacing, attributes.integer(u"cellspacing"));
        storeIf(*view, P::CellPadding, attributes.integer(u"cellpadding"));
        storeIf(*view, P::TableAlign, attributes.keyword(u"align", textAlignKeywords));
        return view;
    }
    if (name.equals(u"tr"))
        return new RowView(context);
    if (name.equals(u"td")) {
        auto* view = new CellView(context);
        applyTableToCell(*parent, *view);
        storeIf(*view, P::ColSpan, attributes.integer(u"colspan"));
        storeIf(*view, P::RowSpan, attributes.integer(u"rowspan"));
        storeIf(*view, P::Width, attributes.length(u"width"));
        storeIf(*view, P::Height, attributes.length(u"height"));
        storeIf(*view, P::VerticalAlignContent,
                attributes.keyword(u"valign", verticalAlignKeywords));
        storeIf(*view, P::TextAlign, attributes.keyword(u"align", textAlignKeywords));
        return view;
    }
    if (name.equals(u"input"))
        return createInput(context, element);
    if (name.equals(u"textarea")) {
        auto* view = new TextAreaView(context);
        if (element.children.size() == 1 && element.children[0]->kind == HtmlNode::Text)
            view->setProperty(
                P::Value,
                StyleValue::string(static_cast<const HtmlTextNode&>(*element.children[0]).text));
        storeIf(*view, P::Rows, attributes.integer(u"rows"));
        storeIf(*view, P::Cols, attributes.integer(u"cols"));
        if (attributes.has(u"readonly"))
            view->setProperty(P::ReadOnly, StyleValue::boolean(true));
        storeString(*view, P::Name, attributes.find(u"name"));
        return view;
    }
    if (name.equals(u"select"))
        return createSelect(context, element);
    if (name.equals(u"object")) {
        auto* view = new ObjectView(context);
        storeIf(*view, P::Width, attributes.length(u"width"));
        storeIf(*view, P::Height, attributes.length(u"height"));
        return view;
    }
    if (name.equals(u"style")) {
        if (context && !element.children.empty() && element.children[0]->kind == HtmlNode::Text)
            parseStyleSheet(context->getStyleRules(),
                            static_cast<const HtmlTextNode&>(*element.children[0]).text);
        return nullptr;
    }
    return new CompositeView(context);
}

} // namespace xhtml
