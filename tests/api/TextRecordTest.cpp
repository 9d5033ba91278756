#include "TrackedObject.h"
#include "viewer/api/UserInfo.h"
#include "viewer/api/document/Hyperlink.h"
#include "viewer/api/document/PivotTableCaptions.h"
#include "viewer/api/document/PivotTableCategoryField.h"
#include "viewer/api/document/PivotTableField.h"
#include "viewer/api/document/PivotTableFieldProperties.h"
#include "viewer/api/document/PivotTablePageField.h"
#include "viewer/api/document/PivotTableValueField.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace KX::API::Document;
using KX::API::UserInfo;

namespace {

// One text member of a record, plain or optional; lets one set of tests walk every record's texts.
struct TextSlot {
    std::string* text = nullptr;
    boost::optional<std::string>* optionalText = nullptr;
};
using Slots = std::vector<TextSlot>;

Slots slotsOf(UserInfo& v) {
    return {{&v.id}, {&v.displayName}};
}
Slots slotsOf(Hyperlink& v) {
    return {{&v.address}, {&v.location}, {&v.tooltip}};
}
Slots slotsOf(PivotTableCaptions& v) {
    return {{nullptr, &v.rowHeader}, {nullptr, &v.columnHeader},
            {&v.grandTotal},         {&v.values},
            {&v.errorValue},         {&v.emptyValue}};
}
Slots slotsOf(PivotTableFieldProperties& v) {
    return {{&v.name}, {nullptr, &v.caption}, {nullptr, &v.numberFormat}};
}
Slots slotsOf(PivotTablePageField& v) {
    return {{&v.name}, {nullptr, &v.caption}, {nullptr, &v.selectedItem}};
}
Slots slotsOf(PivotTableField& v) {
    auto slots = slotsOf(v.properties);
    slots.push_back({nullptr, &v.subtotalCaption});
    return slots;
}
Slots slotsOf(PivotTableCategoryField& v) {
    return slotsOf(v.properties);
}
Slots slotsOf(PivotTableValueField& v) {
    return {{&v.sourceName}, {&v.caption}, {nullptr, &v.numberFormat}};
}

// Long enough to live on the heap, so moves hand over buffers rather than copy in place.
std::string textFor(std::size_t slot, char tag) {
    return std::string(40, tag) + std::to_string(slot);
}

template <typename T> T filled(char tag) {
    T value;
    auto slots = slotsOf(value);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].text) {
            *slots[i].text = textFor(i, tag);
        } else {
            *slots[i].optionalText = textFor(i, tag);
        }
    }
    return value;
}

template <typename T> void expectFilled(T& value, char tag) {
    auto slots = slotsOf(value);
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].text) {
            EXPECT_EQ(*slots[i].text, textFor(i, tag)) << "text " << i;
        } else {
            ASSERT_TRUE(*slots[i].optionalText) << "optional text " << i;
            EXPECT_EQ(**slots[i].optionalText, textFor(i, tag)) << "optional text " << i;
        }
    }
}

template <typename T> class ApiTextRecord : public ::testing::Test {};
using TextRecords =
    ::testing::Types<UserInfo, Hyperlink, PivotTableCaptions, PivotTableFieldProperties, PivotTablePageField,
                     PivotTableField, PivotTableCategoryField, PivotTableValueField>;
TYPED_TEST_SUITE(ApiTextRecord, TextRecords);

TYPED_TEST(ApiTextRecord, DefaultHasEmptyTextsAndUnsetOptionals) {
    TypeParam value;
    for (const auto& slot : slotsOf(value)) {
        if (slot.text) {
            EXPECT_TRUE(slot.text->empty());
        } else {
            EXPECT_FALSE(*slot.optionalText);
        }
    }
}

TYPED_TEST(ApiTextRecord, CopiesAreEqualAndIndependent) {
    auto source = filled<TypeParam>('s');
    TypeParam copy(source);
    expectFilled(copy, 's');

    auto target = filled<TypeParam>('t');
    target = source;
    expectFilled(target, 's');

    // Unset optionals in the source unset them in the target.
    TypeParam blank;
    target = blank;
    for (const auto& slot : slotsOf(target)) {
        EXPECT_TRUE(slot.text ? slot.text->empty() : !*slot.optionalText);
    }
    expectFilled(source, 's');
    expectFilled(copy, 's');
}

TYPED_TEST(ApiTextRecord, MovesEmptyTheSourceTextsButKeepItsOptionalFlags) {
    auto source = filled<TypeParam>('m');
    TypeParam moved(std::move(source));
    expectFilled(moved, 'm');
    for (const auto& slot : slotsOf(source)) {
        if (slot.text) {
            EXPECT_TRUE(slot.text->empty());
        } else {
            ASSERT_TRUE(*slot.optionalText);
            EXPECT_TRUE((*slot.optionalText)->empty());
        }
    }

    auto target = filled<TypeParam>('t');
    target = std::move(moved);
    expectFilled(target, 'm');
    for (const auto& slot : slotsOf(moved)) {
        EXPECT_TRUE(slot.text ? slot.text->empty() : (*slot.optionalText && (*slot.optionalText)->empty()));
    }
}

TYPED_TEST(ApiTextRecord, SelfAssignmentChangesNothing) {
    auto value = filled<TypeParam>('x');
    TypeParam& same = value;
    value = same;
    expectFilled(value, 'x');
    value = std::move(same);
    expectFilled(value, 'x');
}

TEST(ApiPivotTableField, DefaultCategoriesComeFromTheFramework) {
    const PivotTableField field;
    EXPECT_FALSE(field.categories);
    EXPECT_FALSE(field.subtotalCaption);
}

TEST(ApiPivotTableField, CopiesShareAndMovesHandOverTheCategories) {
    int live = 0;
    PivotTableField field;
    field.categories = PivotTableFieldCategories(TrackedObject::make(live));
    PivotTableField copy(field);
    EXPECT_EQ(copy.categories.object(), field.categories.object());
    PivotTableField moved(std::move(field));
    EXPECT_FALSE(field.categories);
    EXPECT_EQ(moved.categories.object(), copy.categories.object());
    copy = PivotTableField();
    moved = PivotTableField();
    EXPECT_EQ(live, 0);
}

TEST(ApiPivotTableCategoryField, SubtotalsAreCopiedAndMoved) {
    PivotTableCategoryField field;
    field.subtotals = {PivotTableFunction::Sum, PivotTableFunction::Max, PivotTableFunction::VarP};
    PivotTableCategoryField copy;
    copy = field;
    EXPECT_EQ(copy.subtotals, field.subtotals);
    PivotTableCategoryField moved(std::move(field));
    EXPECT_EQ(moved.subtotals, copy.subtotals);
    EXPECT_TRUE(field.subtotals.empty());
}

TEST(ApiPivotTableValueField, DefaultSummaryIsAPlainSumAndCopiesKeepIt) {
    PivotTableValueField field;
    EXPECT_EQ(field.summary.function, PivotTableFunction::Sum);
    EXPECT_EQ(field.summary.showAs, PivotTableValueField::ShowAs::Normal);
    EXPECT_EQ(field.summary.baseField, -1);

    field.summary = {PivotTableFunction::Average, PivotTableValueField::ShowAs::DifferenceFrom, 2};
    PivotTableValueField copy;
    copy = field;
    EXPECT_EQ(copy.summary.function, PivotTableFunction::Average);
    EXPECT_EQ(copy.summary.baseField, 2);
    PivotTableValueField moved(std::move(copy));
    EXPECT_EQ(moved.summary.showAs, PivotTableValueField::ShowAs::DifferenceFrom);
}

} // namespace
