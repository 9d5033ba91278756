#include "viewer/api/EditorCoreFactoryFwd.h"

#include <gtest/gtest.h>
#include <memory>
#include <utility>

#if defined(KX_API_WITH_FRAMEWORK)
#include "platform/brovik/document/EditorCoreFactory.h"

using KX::Tovrin::EditorCoreFactory;

namespace {

TEST(ApiEditorCoreFactorySharing, UnownedFactoryHasNoOwnerToShare) {
    EditorCoreFactory factory;
    const EditorCoreFactory& constFactory = factory;
    EXPECT_THROW(factory.shared_from_this(), std::bad_weak_ptr);
    EXPECT_THROW(constFactory.shared_from_this(), std::bad_weak_ptr);
    EXPECT_TRUE(factory.weak_from_this().expired());
    EXPECT_TRUE(constFactory.weak_from_this().expired());
}

TEST(ApiEditorCoreFactorySharing, OwnedFactorySharesItsOwner) {
    const auto owner = std::make_shared<EditorCoreFactory>();
    const std::shared_ptr<const EditorCoreFactory> shared = std::as_const(*owner).shared_from_this();
    EXPECT_EQ(shared.get(), owner.get());
    EXPECT_EQ(owner.use_count(), 2);
    EXPECT_EQ(owner->weak_from_this().lock(), owner);
}

TEST(ApiEditorCoreFactorySharing, CopiesStartUnownedAndAssignmentKeepsTheOwner) {
    const auto first = std::make_shared<EditorCoreFactory>();
    const auto second = std::make_shared<EditorCoreFactory>();

    EditorCoreFactory copy(*first);
    EXPECT_TRUE(copy.weak_from_this().expired());
    EXPECT_THROW(copy.shared_from_this(), std::bad_weak_ptr);

    *first = *second;
    EXPECT_EQ(first->shared_from_this(), first);
    copy = *second;
    EXPECT_TRUE(copy.weak_from_this().expired());
}

} // namespace
#else
TEST(ApiEditorCoreFactorySharing, NeedsTheFrameworkHeader) {
    GTEST_SKIP() << "the framework's EditorCoreFactory header or Qt is not available";
}
#endif
