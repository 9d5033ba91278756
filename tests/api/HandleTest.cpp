#include "TrackedObject.h"
#include "viewer/api/Application.h"
#include "viewer/api/document/AbsoluteFrame.h"
#include "viewer/api/document/Block.h"
#include "viewer/api/document/Cell.h"
#include "viewer/api/document/CellRange.h"
#include "viewer/api/document/ColorTransforms.h"
#include "viewer/api/document/Comments.h"
#include "viewer/api/document/Document.h"
#include "viewer/api/document/FiltersRange.h"
#include "viewer/api/document/Images.h"
#include "viewer/api/document/InlineFrame.h"
#include "viewer/api/document/MediaObject.h"
#include "viewer/api/document/MediaObjects.h"
#include "viewer/api/document/Paragraphs.h"
#include "viewer/api/document/PivotTable.h"
#include "viewer/api/document/PivotTableEditor.h"
#include "viewer/api/document/PivotTableFieldCategories.h"
#include "viewer/api/document/PivotTableFilter.h"
#include "viewer/api/document/PivotTableFilters.h"
#include "viewer/api/document/PivotTableItem.h"
#include "viewer/api/document/PivotTableItems.h"
#include "viewer/api/document/PivotTablesManager.h"
#include "viewer/api/document/Position.h"
#include "viewer/api/document/Range.h"
#include "viewer/api/document/StyledTableRange.h"
#include "viewer/api/document/Table.h"

#include <gtest/gtest.h>
#include <optional>
#include <utility>

using namespace KX::API::Document;

namespace {

template <typename Handle> class ApiHandle : public ::testing::Test {
protected:
    int _live = 0;
    Handle make() { return Handle(TrackedObject::make(_live)); }
};

// CellRange is left out: it has no move operations (see ApiHandleCellRange).
using MovableHandles =
    ::testing::Types<KX::API::Application, AbsoluteFrame, Block, Cell, ColorTransforms, Comments,
                     KX::API::Document::Document, FiltersRange, Images, InlineFrame, MediaObject,
                     MediaObjects, Paragraphs, PivotTable, PivotTableEditor, PivotTableFieldCategories,
                     PivotTableFilter, PivotTableFilters, PivotTableItem, PivotTableItems, PivotTablesManager,
                     Position, Range, StyledTableRange, Table>;
TYPED_TEST_SUITE(ApiHandle, MovableHandles);

TYPED_TEST(ApiHandle, CopiesShareTheObjectAndOutliveEachOther) {
    std::optional<TypeParam> first(this->make());
    {
        TypeParam copy(*first);
        EXPECT_EQ(copy.object(), first->object());
        EXPECT_EQ(first->object().use_count(), 2);
    }
    ASSERT_TRUE(*first);
    EXPECT_EQ(first->object().use_count(), 1);
    EXPECT_EQ(this->_live, 1);

    TypeParam second(*first);
    first.reset();
    EXPECT_TRUE(second);
    EXPECT_EQ(this->_live, 1);
    second = TypeParam();
    EXPECT_EQ(this->_live, 0);
}

TYPED_TEST(ApiHandle, CopyAssignmentSharesTheNewObjectAndReleasesTheOld) {
    TypeParam target = this->make();
    TypeParam source = this->make();
    ASSERT_EQ(this->_live, 2);
    target = source;
    EXPECT_EQ(this->_live, 1);
    EXPECT_EQ(target.object(), source.object());
    EXPECT_EQ(source.object().use_count(), 2);

    const TypeParam empty;
    target = empty;
    EXPECT_FALSE(target);
    EXPECT_EQ(source.object().use_count(), 1);
}

TYPED_TEST(ApiHandle, MovesHandTheObjectOverAndEmptyTheSource) {
    TypeParam source = this->make();
    const auto* object = source.object().get();

    TypeParam taken(std::move(source));
    EXPECT_FALSE(source);
    EXPECT_EQ(taken.object().get(), object);
    EXPECT_EQ(taken.object().use_count(), 1);

    TypeParam target = this->make();
    ASSERT_EQ(this->_live, 2);
    target = std::move(taken);
    EXPECT_EQ(this->_live, 1);
    EXPECT_FALSE(taken);
    EXPECT_EQ(target.object().get(), object);
    EXPECT_EQ(target.object().use_count(), 1);
}

TYPED_TEST(ApiHandle, SelfAssignmentKeepsTheObject) {
    TypeParam handle = this->make();
    const auto* object = handle.object().get();
    TypeParam& same = handle;
    handle = same;
    EXPECT_EQ(handle.object().get(), object);
    handle = std::move(same);
    EXPECT_EQ(handle.object().get(), object);
    EXPECT_EQ(handle.object().use_count(), 1);
    EXPECT_EQ(this->_live, 1);
}

TYPED_TEST(ApiHandle, DefaultConstructedHandlesAreEmpty) {
    const TypeParam handle;
    EXPECT_FALSE(handle);
    const TypeParam copy(handle);
    EXPECT_FALSE(copy);
}

TEST(ApiHandleCellRange, MovingSharesBecauseThereIsNoMove) {
    int live = 0;
    CellRange source(TrackedObject::make(live));
    CellRange target(std::move(source));
    EXPECT_TRUE(source);
    EXPECT_EQ(target.object(), source.object());

    CellRange other(TrackedObject::make(live));
    other = std::move(target);
    EXPECT_EQ(live, 1);
    EXPECT_EQ(source.object().use_count(), 3);
    CellRange& same = other;
    other = same;
    EXPECT_EQ(source.object().use_count(), 3);
}

} // namespace
