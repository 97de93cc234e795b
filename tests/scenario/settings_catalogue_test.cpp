// The settings catalogue: the features' defaults and the table's own
// consistency.
#include <set>

#include "options/options_controls.h"
#include "settings/settings_files.h"
#include "settings/settings_catalogue.h"
#include "scenario/spine_fixture.h"

namespace {

using namespace tillwick;

class SettingsCatalogueTest : public spine::SpineTest {
protected:
    void SetUp() override {
        SpineTest::SetUp();
        tillwick::SetPluginFolder(spine::kPluginFolder);
    }
};

// The dialog shows others for some (OptionsDialog.AnEmptyFileIsAppliedAsEveryDialogDefault).
TEST_F(SettingsCatalogueTest, MissingKeysReadAsTheFeaturesDefaults) {
    for (auto [id, feature] : {std::pair{tillwick::Setting::HoverTime, "350"}, {tillwick::Setting::HideLastTab, "0"},
                               {tillwick::Setting::OpenGroupCount, "0"}, {tillwick::Setting::SortSearchOrder, ""},
                               {tillwick::Setting::ShowInMenu, "1"}, {tillwick::Setting::Done, "done"}})
        EXPECT_EQ(SettingText(id), feature) << CatalogueRow(id).key;
    Setting("HoverTime", "");  // an empty value reads as the default too
    EXPECT_EQ(SettingNumber(tillwick::Setting::HoverTime), 350);
    EXPECT_FALSE(StoredSetting(tillwick::Setting::StartPosition).has_value());
}

// Every key once; every setting the dialog shows has one control of its kind, on a page.
TEST_F(SettingsCatalogueTest, EveryDialogControlAndKeyIsNamedOnceAndOfItsKind) {
    std::set<std::string_view> keys, controls;
    std::size_t perPage[kOptionsPageCount] = {};
    for (const SettingRow& row : SettingsCatalogue()) {
        EXPECT_TRUE(keys.insert(row.key).second) << row.key;
        if (row.kind == SettingKind::Hidden) continue;
        EXPECT_TRUE(controls.insert(row.control).second) << row.control;
        ASSERT_LT(static_cast<std::size_t>(row.page), kOptionsPageCount) << row.key;
        ++perPage[static_cast<std::size_t>(row.page)];
        if (row.kind == SettingKind::OptionPair) EXPECT_FALSE(row.otherControl.empty()) << row.key;
        ASSERT_TRUE(FindControl(row.control)) << row.control;
        const ControlType type = ControlDefOf(*FindControl(row.control)).type;
        const std::set<ControlType> fits = row.kind == SettingKind::Switch       ? std::set{ControlType::Check}
                                           : row.kind == SettingKind::OptionPair ? std::set{ControlType::Option}
                                           : row.kind == SettingKind::Combo      ? std::set{ControlType::Combo}
                                           : row.kind == SettingKind::Colour     ? std::set{ControlType::Colour}
                                                                                 : std::set{ControlType::Text, ControlType::Block};
        EXPECT_TRUE(fits.count(type)) << row.control;
    }
    for (std::size_t n : perPage) EXPECT_GT(n, 0u);
}

}  // namespace
