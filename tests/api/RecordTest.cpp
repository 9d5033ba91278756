#include "TrackedObject.h"
#include "viewer/api/ColorRGBA.h"
#include "viewer/api/document/CellPosition.h"
#include "viewer/api/document/CellRangePosition.h"
#include "viewer/api/document/Color.h"
#include "viewer/api/document/FrozenRangePosition.h"
#include "viewer/api/document/Insets.h"
#include "viewer/api/document/PageProperties.h"
#include "viewer/api/document/PivotTableLayoutSettings.h"
#include "viewer/api/document/TextAnchoredPosition.h"
#include "viewer/api/document/TextOrientation.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <new>
#include <utility>

using namespace KX::API::Document;
using KX::API::ColorRGBA;

namespace {

// Byte image of a value, for the records whose assignment must copy every byte.
template <typename T> std::array<unsigned char, sizeof(T)> bytesOf(const T& value) {
    std::array<unsigned char, sizeof(T)> bytes;
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

// Zeros and ones only, so that every byte is also a valid flag; each seed gives another pattern.
template <typename T> T filledWith(unsigned seed) {
    T value;
    auto* raw = reinterpret_cast<unsigned char*>(&value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        raw[i] = (i + seed) % 3 == 0 ? 1 : 0;
    }
    return value;
}

template <typename T> class ApiTrivialRecord : public ::testing::Test {};
// TextOrientation has padding, which member-wise assignment need not copy; it is tested on its own.
using TrivialRecords = ::testing::Types<ColorRGBA, CellPosition, CellRangePosition, FrozenRangePosition,
                                        PivotTableLayoutSettings>;
TYPED_TEST_SUITE(ApiTrivialRecord, TrivialRecords);

TYPED_TEST(ApiTrivialRecord, AssignmentsCopyEveryByte) {
    const auto source = filledWith<TypeParam>(0);
    auto copied = filledWith<TypeParam>(1);
    copied = source;
    EXPECT_EQ(bytesOf(copied), bytesOf(source));

    auto moved = filledWith<TypeParam>(2);
    auto temporary = source;
    moved = std::move(temporary);
    EXPECT_EQ(bytesOf(moved), bytesOf(source));
    EXPECT_EQ(bytesOf(temporary), bytesOf(source));
}

TEST(ApiTrivialRecordLayout, SizesMatchTheBinaryInterface) {
    EXPECT_EQ(sizeof(ColorRGBA), 4u);
    EXPECT_EQ(alignof(ColorRGBA), 1u);
    EXPECT_EQ(sizeof(CellPosition), 16u);
    EXPECT_EQ(sizeof(TextOrientation), 16u);
    EXPECT_EQ(sizeof(CellRangePosition), 32u);
    EXPECT_EQ(sizeof(FrozenRangePosition), 64u);
    EXPECT_EQ(sizeof(PivotTableLayoutSettings), 27u);
    EXPECT_EQ(alignof(PivotTableLayoutSettings), 1u);
    EXPECT_EQ(sizeof(PageProperties::Geometry), 32u);
    EXPECT_EQ(sizeof(TextAnchoredPosition::Placement), 16u);
}

TEST(ApiTextOrientation, DefaultConstructionSetsOnlyTheFlag) {
    alignas(TextOrientation) unsigned char storage[sizeof(TextOrientation)];
    std::memset(storage, 0xAB, sizeof storage);
    auto* orientation = new (storage) TextOrientation;
    EXPECT_FALSE(orientation->isRotated());
    EXPECT_EQ(orientation->angle(), 0.0);
    EXPECT_EQ(storage[0], 0);
    for (std::size_t i = 1; i < sizeof storage; ++i) {
        EXPECT_EQ(storage[i], 0xAB) << "byte " << i;
    }
}

TEST(ApiTextOrientation, AssignmentsCopyTheFlagAndTheAngle) {
    const TextOrientation rotated(90.0);
    TextOrientation target;
    target = rotated;
    EXPECT_TRUE(target.isRotated());
    EXPECT_EQ(target.angle(), 90.0);
    TextOrientation& same = target;
    target = same;
    EXPECT_EQ(target.angle(), 90.0);
    target = TextOrientation();
    EXPECT_FALSE(target.isRotated());
    EXPECT_EQ(target.angle(), 0.0);
}

TEST(ApiInsets, DefaultIsEmptyAndAssignmentCopiesOnlySetSides) {
    Insets insets;
    EXPECT_FALSE(insets.left || insets.top || insets.right || insets.bottom);

    Insets target;
    target.top = 3.0f;
    target.left = 5.0f;
    target = insets;
    EXPECT_FALSE(target.left || target.top || target.right || target.bottom);

    Insets some;
    some.right = 7.5f;
    target = std::move(some);
    EXPECT_FALSE(target.left);
    ASSERT_TRUE(target.right);
    EXPECT_EQ(*target.right, 7.5f);
}

TEST(ApiTextAnchoredPosition, DefaultIsEmptyAndCopiesStayEmpty) {
    const TextAnchoredPosition position;
    EXPECT_FALSE(position.horizontal);
    EXPECT_FALSE(position.vertical);

    TextAnchoredPosition target;
    target.vertical = TextAnchoredPosition::Placement{TextAnchoredPosition::Reference::Page,
                                                      TextAnchoredPosition::Alignment::Center, 0, 0};
    TextAnchoredPosition copy(position);
    target = copy;
    EXPECT_FALSE(copy.horizontal || copy.vertical);
    EXPECT_FALSE(target.horizontal || target.vertical);
}

TEST(ApiPageProperties, CopiesGeometryOnlyWhenSetAndMovingCopies) {
    PageProperties withPage;
    withPage.geometry = PageProperties::Geometry{595, 842, 72, 72, 72, 72, 36, 36};
    withPage.orientation = PageProperties::Orientation::Landscape;
    withPage.firstPageNumber = 3;

    PageProperties copy(withPage);
    ASSERT_TRUE(copy.geometry);
    EXPECT_EQ(copy.geometry->height, 842);
    EXPECT_EQ(copy.orientation, PageProperties::Orientation::Landscape);

    copy = PageProperties();
    EXPECT_FALSE(copy.geometry);
    EXPECT_EQ(copy.firstPageNumber, 1);

    PageProperties moved(std::move(withPage));
    ASSERT_TRUE(withPage.geometry);
    EXPECT_EQ(withPage.geometry->width, 595);
    EXPECT_EQ(moved.firstPageNumber, 3);
}

TEST(ApiColor, CopiesShareTheTransformsAndKeepEveryMember) {
    int live = 0;
    Color color(ColorRGBA(10, 20, 30));
    color.setTransforms(ColorTransforms(TrackedObject::make(live)));

    Color copy(color);
    ASSERT_TRUE(copy.value());
    EXPECT_EQ(copy.value()->green, 20);
    EXPECT_EQ(copy.value()->alpha, 255);
    ASSERT_TRUE(copy.transforms());
    EXPECT_EQ(copy.transforms()->object(), color.transforms()->object());
    EXPECT_EQ(color.transforms()->object().use_count(), 2);

    Color themed(Color::ThemeEntry{4, 2});
    copy = themed;
    EXPECT_FALSE(copy.value());
    EXPECT_FALSE(copy.transforms());
    EXPECT_EQ(copy.themeEntry().slot, 4);
    EXPECT_EQ(copy.themeEntry().step, 2);
    EXPECT_EQ(color.transforms()->object().use_count(), 1);

    Color& same = color;
    color = same;
    EXPECT_EQ(color.transforms()->object().use_count(), 1);
    EXPECT_EQ(color.value()->blue, 30);
}

TEST(ApiColor, MovingHandsTheTransformsOverAndDestructionReleasesThem) {
    int live = 0;
    {
        Color source(ColorRGBA(1, 2, 3, 4));
        source.setTransforms(ColorTransforms(TrackedObject::make(live)));
        Color moved(std::move(source));
        ASSERT_TRUE(source.transforms());
        EXPECT_FALSE(*source.transforms());
        ASSERT_TRUE(source.value());
        EXPECT_EQ(source.value()->alpha, 4);
        ASSERT_TRUE(moved.transforms());
        EXPECT_EQ(moved.transforms()->object().use_count(), 1);

        Color target;
        target = std::move(moved);
        EXPECT_FALSE(*moved.transforms());
        EXPECT_EQ(live, 1);
    }
    EXPECT_EQ(live, 0);
}

} // namespace
