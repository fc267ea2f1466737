#include "shell/layout_apply.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "shell/layout_dialogs.h"
#include "shell/layout_rules.h"
#include "shell/shell_resources.h"

namespace velq {
namespace {

using layout_detail::LayoutEmitter;
using layout_detail::LayoutRules;

const LayoutRules& MainWindowRules() {
    static const LayoutRules rules = [] {
        LayoutRules r;
        layout_detail::AddFrameRules(r);
        layout_detail::AddAdvancedRules(r);
        layout_detail::AddLightRules(r);
        layout_detail::AddMacroRules(r);
        layout_detail::AddFireRules(r);
        layout_detail::AddLabelRules(r);
        return r;
    }();
    return rules;
}

// The picture control that shows the current page's picture, and that picture's number.
struct PagePicture {
    const char* control;
    int number;
};

PagePicture CurrentPagePicture(LayoutPage page) {
    switch (page) {
        case LayoutPage::kOffice:
        case LayoutPage::kGaming:
            return {"Img_P1", 1};
        case LayoutPage::kAdvanced:
            return {"Img_P2", 2};
        case LayoutPage::kLight:
            return {"Img_P3", 3};
        case LayoutPage::kMacro:
        case LayoutPage::kEngineering:
            return {"Img_P4", 4};
    }
    return {"Img_P1", 1};
}

void LoadPictures(LayoutEmitter& e, int language) {
    const std::string set = "L" + std::to_string(language) + "_";
    for (int i = 1; i <= 5; ++i) {
        e.Picture("Img_Base_" + std::to_string(i), set + "BackGround");
    }
    const PagePicture page = CurrentPagePicture(e.context().current_page);
    e.Picture(page.control, set + "Back" + std::to_string(page.number));
    e.Picture("Img_P5", set + "Back5");
}

// The engineering tab has no layout keys; it always sits in the top-left corner.
void PlaceEngineeringTab(LayoutEmitter& e) {
    for (const std::string& copy : layout_detail::FourCopies("Engineer_")) {
        e.Move("Img_" + copy, 10, 10);
        e.Move("Btn_" + copy, 10, 10);
    }
}

}  // namespace

std::string LayoutSectionName(int language) {
    return "org" + std::to_string(language);
}

LayoutResult<ConfigSection> LoadLayoutSection(int language) {
    if (language < 1 || language > 3) {
        return LayoutResult<ConfigSection>::Failure(
            LayoutError{"", "", "Language " + std::to_string(language) + " has no layout"});
    }
    const std::string name = LayoutSectionName(language);
    const auto bytes = ShellResource(name);
    if (bytes.empty()) {
        return LayoutResult<ConfigSection>::Failure(
            LayoutError{"", name, "Layout resource \"" + name + "\" is missing"});
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return ParseConfigText(text, name);
}

LayoutResult<LayoutPlan> ApplyLayout(const ConfigSection& section, const LayoutContext& context) {
    if (context.language < 1 || context.language > 3) {
        return LayoutResult<LayoutPlan>::Failure(LayoutError{
            "", section.name(), "Language " + std::to_string(context.language) + " has no layout"});
    }
    LayoutPlan plan;
    // A layout comes to some 1,500 steps: room for them at once rather than regrowing.
    plan.ops.reserve(2048);
    LayoutEmitter emitter(section, context, plan);
    LoadPictures(emitter, context.language);
    PlaceEngineeringTab(emitter);
    layout_detail::RunRules(MainWindowRules(), section, emitter);
    if (emitter.failed()) {
        return LayoutResult<LayoutPlan>::Failure(*emitter.error());
    }
    plan.keys_read = layout_detail::KeysRead(emitter);

    // The dialogs are laid out when they open; their steps are kept for then.
    for (const EditorDialog dialog : kEditorDialogs) {
        LayoutResult<DialogLayout> checked = EditorDialogLayout(section, dialog);
        if (!checked) {
            return LayoutResult<LayoutPlan>::Failure(std::move(checked.error));
        }
        plan.dialogs[static_cast<size_t>(dialog)] = std::move(checked.value->ops);
        std::move(checked.value->keys_read.begin(), checked.value->keys_read.end(),
                  std::back_inserter(plan.keys_read));
    }
    layout_detail::SortKeysRead(plan.keys_read);
    return LayoutResult<LayoutPlan>::Success(std::move(plan));
}

LayoutResult<LayoutPlan> ApplyLayout(const LayoutContext& context) {
    LayoutResult<ConfigSection> section = LoadLayoutSection(context.language);
    if (!section) {
        return LayoutResult<LayoutPlan>::Failure(std::move(section.error));
    }
    return ApplyLayout(*section.value, context);
}

}  // namespace velq
