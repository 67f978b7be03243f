#include "xhtml/document/StyleValue.h"
#include "tests/xhtml/document/StyleTargets.h"
#include "xhtml/document/IPtrBase.h"
#include "xhtml/document/PropertyId.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace xhtml;

namespace {

using Kind = StyleValue::Kind;

TEST(StyleValueKinds, EachFactoryMakesItsKindAndPayload) {
    EXPECT_EQ(StyleValue().kind(), Kind::Empty);
    EXPECT_TRUE(StyleValue().isEmpty());
    EXPECT_EQ(StyleValue::string(u"Arial").kind(), Kind::String);
    EXPECT_EQ(StyleValue::string(u"Arial").stringValue(), u"Arial");
    EXPECT_EQ(StyleValue::boolean(true).kind(), Kind::Bool);
    EXPECT_TRUE(StyleValue::boolean(true).boolValue());
    EXPECT_EQ(StyleValue::integer(-5).intValue(), -5);
    EXPECT_EQ(StyleValue::number(2.5).doubleValue(), 2.5);
    EXPECT_EQ(StyleValue::color(0xFF000000).colorValue(), 0xFF000000u);
    // A payload is only handed out for its own kind.
    EXPECT_EQ(StyleValue::integer(7).doubleValue(), 0.0);
    EXPECT_TRUE(StyleValue::color(1).stringValue().isEmpty());
}

TEST(StyleValueKinds, FlagsSitAboveTheKindAndLeaveItAlone) {
    StyleValue value = StyleValue::integer(100);
    value.addFlag(StyleValue::kPercent);
    value.addFlag(StyleValue::kNumericPosition);
    EXPECT_EQ(value.kind(), Kind::Int);
    EXPECT_EQ(value.flags(), 48u);
    EXPECT_EQ(value.intValue(), 100);
    // Low bits given as a flag cannot turn the value into another kind.
    value.addFlag(0x3);
    EXPECT_EQ(value.kind(), Kind::Int);
}

TEST(StyleValueCopies, StringPayloadIsDeepCopiedAndFreedOnce) {
    auto original = std::make_unique<StyleValue>(StyleValue::string(u"images/bg.png"));
    StyleValue copy = *original;
    StyleValue assigned = StyleValue::string(u"old");
    assigned = *original;
    original.reset();
    EXPECT_EQ(copy.stringValue(), u"images/bg.png");
    EXPECT_EQ(assigned.stringValue(), u"images/bg.png");
    assigned = StyleValue::integer(3); // frees the string it held
    EXPECT_EQ(assigned.kind(), Kind::Int);
}

TEST(StyleValueCopies, SelfAssignmentAndMovesKeepTheValue) {
    StyleValue value = StyleValue::string(u"x");
    const StyleValue& same = value;
    value = same;
    EXPECT_EQ(value.stringValue(), u"x");
    StyleValue moved = std::move(value);
    EXPECT_EQ(moved.stringValue(), u"x");
    EXPECT_TRUE(value.isEmpty());
    StyleValue target = StyleValue::string(u"y");
    target = std::move(moved);
    EXPECT_EQ(target.stringValue(), u"x");
}

TEST(StyleValueEquality, NeedsTheSameTypeWordAndPayload) {
    EXPECT_EQ(StyleValue(), StyleValue());
    EXPECT_EQ(StyleValue::string(u"a"), StyleValue::string(u"a"));
    EXPECT_NE(StyleValue::string(u"a"), StyleValue::string(u"A"));
    EXPECT_NE(StyleValue::integer(1), StyleValue::number(1.0));
    EXPECT_NE(StyleValue::integer(1), StyleValue::boolean(true));
    EXPECT_NE(StyleValue::integer(0), StyleValue());
    EXPECT_EQ(StyleValue::number(0.5), StyleValue::number(0.5));
    EXPECT_NE(StyleValue::color(0x00FFFFFF), StyleValue::color(0x00FFFFFE));
    EXPECT_NE(StyleValue::integer(100), percent(100));
    EXPECT_EQ(percent(100), percent(100));
}

TEST(StyleValueToDouble, ConvertsEveryKind) {
    EXPECT_EQ(StyleValue().toDouble(), 0.0);
    EXPECT_EQ(StyleValue::string(u"2.5").toDouble(), 2.5);
    // The decimal separator is a point whatever the user's locale.
    EXPECT_EQ(StyleValue::string(u"1,5").toDouble(), 1.0);
    EXPECT_EQ(StyleValue::boolean(true).toDouble(), 1.0);
    EXPECT_EQ(StyleValue::boolean(false).toDouble(), 0.0);
    EXPECT_EQ(StyleValue::integer(-12).toDouble(), -12.0);
    EXPECT_EQ(StyleValue::number(0.25).toDouble(), 0.25);
    // All 32 bits, read unsigned.
    EXPECT_EQ(StyleValue::color(0xFF000000).toDouble(), 4278190080.0);
}

struct Counted : IPtrBase {
    explicit Counted(bool& deleted) : deleted(deleted) {}
    ~Counted() override { deleted = true; }
    bool& deleted;
};

TEST(CountedReferences, LastHolderDeletesThroughTheVirtualDestructor) {
    bool deleted = false;
    auto* object = new Counted(deleted);
    EXPECT_EQ(object->refCount(), 0);
    {
        IPtr<Counted> first(object);
        EXPECT_EQ(object->refCount(), 1);
        IPtr<Counted> second = first;
        EXPECT_EQ(object->refCount(), 2);
        IPtr<IPtrBase> asBase(object);
        EXPECT_EQ(object->refCount(), 3);
        IPtr<Counted> moved = std::move(second);
        EXPECT_EQ(object->refCount(), 3);
        EXPECT_FALSE(second);
        const IPtr<Counted>& alias = first;
        first = alias;
        EXPECT_EQ(object->refCount(), 3);
    }
    EXPECT_TRUE(deleted);
}

TEST(CountedReferences, AssigningReleasesTheFormerObject) {
    bool firstDeleted = false;
    bool secondDeleted = false;
    IPtr<Counted> holder(new Counted(firstDeleted));
    holder = IPtr<Counted>(new Counted(secondDeleted));
    EXPECT_TRUE(firstDeleted);
    EXPECT_FALSE(secondDeleted);
    holder = IPtr<Counted>();
    EXPECT_TRUE(secondDeleted);
}

TEST(CountedReferences, CountStaysExactUnderConcurrentHolders) {
    bool deleted = false;
    IPtr<Counted> shared(new Counted(deleted));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared] {
            for (int i = 0; i < 20000; ++i)
                IPtr<Counted> copy = shared;
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(shared->refCount(), 1);
    EXPECT_FALSE(deleted);
}

TEST(PropertyKeys, EveryKeyFrom0To98HasItsOwnName) {
    std::set<std::string> names;
    for (int id = 0; id < kPropertyIdCount; ++id) {
        const char* name = propertyName(static_cast<PropertyId>(id));
        ASSERT_NE(name, nullptr) << id;
        EXPECT_NE(std::strlen(name), 0u) << id;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 99u);
    EXPECT_STREQ(propertyName(PropertyId::TagName), "TagName");
    EXPECT_STREQ(propertyName(PropertyId::Width), "Width");
    EXPECT_STREQ(propertyName(PropertyId::BorderBottomColor), "BorderBottomColor");
    EXPECT_STREQ(propertyName(PropertyId::HideId), "HideId");
    EXPECT_EQ(static_cast<int>(PropertyId::VerticalAlignContent), 31);
    EXPECT_EQ(static_cast<int>(PropertyId::GradientMode), 77);
    EXPECT_EQ(static_cast<int>(PropertyId::Opacity), 95);
    EXPECT_STREQ(propertyName(static_cast<PropertyId>(99)), "");
    EXPECT_STREQ(propertyName(static_cast<PropertyId>(-1)), "");
}

} // namespace
