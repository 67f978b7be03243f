#include "xhtml/document/StyleValue.h"
#include "tests/xhtml/document/StyleTargets.h"
#include "xhtml/document/Colors.h"
#include "xhtml/document/IPtrBase.h"
#include "xhtml/document/Lengths.h"
#include "xhtml/document/StyleDef.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace xhtml;

namespace {

TEST(StyleValue, StringPayloadIsDeepCopiedAndFreedOnce) {
    auto original = std::make_unique<StyleValue>(StyleValue::string(u"images/bg.png"));
    StyleValue copy = *original;
    StyleValue assigned = StyleValue::string(u"old");
    assigned = *original;
    original.reset();
    const StyleValue& same = assigned;
    assigned = same;
    StyleValue moved = std::move(copy);
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(moved, assigned);
    EXPECT_EQ(assigned.stringValue(), u"images/bg.png");
    assigned = StyleValue::integer(3);
}

TEST(StyleValue, ComparesAndConvertsByKind) {
    EXPECT_NE(StyleValue::string(u"a"), StyleValue::string(u"A"));
    EXPECT_NE(StyleValue::integer(1), StyleValue::number(1.0));
    EXPECT_NE(StyleValue::integer(0), StyleValue());
    EXPECT_NE(StyleValue::integer(100), percent(100));
    // Low bits given as a flag cannot turn the value into another kind.
    StyleValue value = percent(100);
    value.addFlag(0x3);
    EXPECT_EQ(value, percent(100));
    // The decimal separator is a point whatever the locale; a colour is read unsigned.
    EXPECT_EQ(StyleValue::string(u"1,5").toDouble(), 1.0);
    EXPECT_EQ(StyleValue::color(0xFF000000).toDouble(), 4278190080.0);
}

struct Counted : IPtrBase {
    explicit Counted(bool& deleted) : deleted(deleted) {}
    ~Counted() override { deleted = true; }
    bool& deleted;
};

TEST(CountedReferences, CountStaysExactUnderConcurrentHoldersAndTheLastDeletes) {
    bool deleted = false;
    IPtr<Counted> shared(new Counted(deleted));
    IPtr<IPtrBase> asBase(shared.get());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared] {
            for (int i = 0; i < 20000; ++i)
                IPtr<Counted> copy = shared;
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(shared->refCount(), 2);
    IPtr<Counted> moved = std::move(shared);
    EXPECT_FALSE(shared);
    moved = IPtr<Counted>();
    EXPECT_FALSE(deleted);
    // The last holder deletes through the virtual destructor.
    asBase = IPtr<IPtrBase>();
    EXPECT_TRUE(deleted);
}

// The committed xhtml-dump sheet cases hold a ";" inside a name and a declaration without ":".
TEST(DeclarationList, SplitsAtTheFirstColonTrimsLowerCasesAndDropsNamelessOnes) {
    const StyleDef definition(u":red; \tCOLOR :\r\n RED \v\f;B:url(file://x);color:a");
    std::vector<std::pair<std::string, std::string>> read;
    for (const StyleDeclaration& declaration : definition.declarations())
        read.emplace_back(toUtf8(declaration.name), toUtf8(declaration.value));
    EXPECT_EQ(read, (std::vector<std::pair<std::string, std::string>>{
                        {"color", "red"}, {"b", "url(file://x)"}, {"color", "a"}}));
}

TEST(Colors, HexFormsAndNames) {
    const std::pair<const char16_t*, uint32_t> cases[] = {
        {u"#00Ff00", 0x0000FF00},   {u"#12345678", 0x78563412},     {u"#1234", 0x44332211},
        {u"#1g3456", 0x00563401},   {u"#g13456", 0x00563400},       {u"#ggg", 0},
        {u"aliceblue", 0x00FFF8F0}, {u"YellowGreen", 0x0032CD9A},   {u"gray", 0x00808080},
        {u"lightgrey", 0x00D3D3D3}, {u"Transparent", kTransparent},
    };
    for (const auto& [text, color] : cases)
        EXPECT_EQ(parseColor(text), color) << toUtf8(text);
    // Each grey has one spelling only.
    for (const char16_t* text : {u"", u"#", u"#12345", u"#1234567", u"#123456789", u" red",
                                 u"123456", u"lightgray", u"grey", u"rebeccapurple"})
        EXPECT_EQ(parseColor(text), kTransparent) << toUtf8(text);
}

TEST(Lengths, LeadingNumberWithPercentageAndClamping) {
    const auto integer = &StyleValue::integer;
    const auto number = &StyleValue::number;
    const std::pair<const char16_t*, StyleValue> cases[] = {
        {u"  7pt \t", integer(7)}, {u"1px 2px", integer(1)},      {u"+4", integer(4)},
        {u"0xfg", integer(15)},    {u".5", number(0.5)},          {u"5.", integer(5)},
        {u"2.0", integer(2)},      {u"1.5e1px", integer(15)},     {u"2e+", integer(2)},
        {u"1e-999", integer(0)},   {u"50 %", percent(50)},        {u"50%px", integer(50)},
        {u"auto%", percent(0)},    {u"-1e999", integer(INT_MIN)},
    };
    for (const auto& [text, length] : cases)
        EXPECT_EQ(parseLength(text), length) << toUtf8(text);
    for (const char16_t* text : {u"", u"auto", u"-", u".", u"inf", u"nan", u"e5", u"- 5", u"-0"})
        EXPECT_EQ(parseLength(text), integer(0)) << toUtf8(text);
    // A whole number outside the int range would be undefined behaviour to convert.
    for (const char16_t* text : {u"3000000000", u"1e99999999999999999999", u"0xffffffffffff"})
        EXPECT_EQ(parseLength(text), integer(INT_MAX)) << toUtf8(text);
    EXPECT_EQ(parseLength(u"3000000000.5"), number(3000000000.5));
    EXPECT_EQ(clampToInt(-2.9), -2);
    EXPECT_EQ(clampToInt(-1e300), INT_MIN);
    EXPECT_EQ(clampToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

} // namespace
