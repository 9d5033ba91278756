// The host side: this executable links the API objects with its exports enabled, like the viewer,
// and loads the test module, which only finds the API's members here.
#include "ModuleInterface.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <memory>
#include <utility>

#if defined(KX_API_WITH_FRAMEWORK)
#include "platform/brovik/document/EditorCoreFactory.h"
#endif

using namespace KX::API::Document;

namespace {

// Loaded once and never unloaded: objects made by the module may outlive any one test.
const ApiTestModule& testModule() {
    static const ApiTestModule* module = [] {
        void* library = dlopen(KX_API_TEST_MODULE, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            ADD_FAILURE() << "cannot load the test module: " << dlerror();
            return static_cast<const ApiTestModule*>(nullptr);
        }
        auto entry = reinterpret_cast<const ApiTestModule* (*)()>(dlsym(library, "kxApiTestModule"));
        return entry ? entry() : nullptr;
    }();
    if (!module) {
        throw std::runtime_error("test module unavailable");
    }
    return *module;
}

TEST(ApiModule, LoadsWithEveryMemberResolvedByTheHost) {
    // RTLD_NOW fails the load when any of the module's imports has no definition in the process.
    EXPECT_NO_THROW(testModule());
}

TEST(ApiModule, HandlesShareAndHandOverObjectsAcrossTheBoundary) {
    const auto& module = testModule();
    int live = 0;
    {
        Document document(module.makeObject(live));
        Document copy(document);
        EXPECT_EQ(module.countSharesWithCopy(document), 3);
        EXPECT_EQ(document.object().use_count(), 2);

        module.keep(std::move(copy));
        EXPECT_FALSE(copy);
        EXPECT_EQ(document.object().use_count(), 2);
        module.releaseKept();
        EXPECT_EQ(document.object().use_count(), 1);
        EXPECT_EQ(live, 1);
    }
    EXPECT_EQ(live, 0);
}

TEST(ApiModule, RecordsMadeInTheModuleArriveWhole) {
    const auto& module = testModule();
    const Hyperlink link = module.makeHyperlink("https://example.org/a-rather-long-address", "Example");
    EXPECT_EQ(link.address, "https://example.org/a-rather-long-address");
    EXPECT_TRUE(link.location.empty());
    EXPECT_EQ(link.tooltip, "Example");

    const PivotTableField field = module.makeField();
    EXPECT_FALSE(field.categories);
    EXPECT_FALSE(field.subtotalCaption);
    EXPECT_TRUE(field.properties.name.empty());

    const TextAnchoredPosition position = module.makeAnchoredPosition();
    EXPECT_FALSE(position.horizontal);
    EXPECT_FALSE(position.vertical);
}

TEST(ApiModule, MovesInTheModuleEmptyTheHostsRecord) {
    const auto& module = testModule();
    PivotTableValueField field;
    field.sourceName = "Revenue by quarter and by region";
    field.caption = "Sum of revenue by quarter and region";
    field.numberFormat = "#,##0.00";
    EXPECT_EQ(module.takeValueField(field), "Sum of revenue by quarter and region");
    EXPECT_TRUE(field.sourceName.empty());
    EXPECT_TRUE(field.caption.empty());
    ASSERT_TRUE(field.numberFormat);
    EXPECT_TRUE(field.numberFormat->empty());
}

TEST(ApiModule, CopiesInTheModuleShareTheHostsHandles) {
    const auto& module = testModule();
    int live = 0;
    {
        Color color(KX::API::ColorRGBA(200, 100, 50));
        color.setTransforms(ColorTransforms(module.makeObject(live)));
        const Color copy = module.copyColor(color);
        ASSERT_TRUE(copy.value());
        EXPECT_EQ(copy.value()->red, 200);
        ASSERT_TRUE(copy.transforms());
        EXPECT_EQ(copy.transforms()->object(), color.transforms()->object());
        EXPECT_EQ(color.transforms()->object().use_count(), 2);
    }
    EXPECT_EQ(live, 0);
}

#if defined(KX_API_WITH_FRAMEWORK)
TEST(ApiModule, SharedFromThisWorksAcrossTheBoundary) {
    const auto& module = testModule();
    const auto owned = std::make_shared<KX::Tovrin::EditorCoreFactory>();
    EXPECT_TRUE(module.isOwned(*owned));
    EXPECT_EQ(owned.use_count(), 1);
    const KX::Tovrin::EditorCoreFactory unowned;
    EXPECT_FALSE(module.isOwned(unowned));
}
#endif

} // namespace
